// The rows of a batch: the header names the columns, each data row becomes one
// design request, given as `tpworm-cli design` takes it on its command line.
#pragma once

#include "core/design_form.h"

#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>

#include <stdexcept>
#include <vector>

namespace tpworm::batch {

// One design as `tpworm-cli design` is asked for it: its request, with the
// overrides (Edit5 ... Edit13) in the order of the header, set between the
// edit and the confirm command as design's FIELD=TEXT pairs.
using RowRequest = core::DesignRequest;

// A header that no row can be read by (unknown, repeated or missing column).
class HeaderError : public std::runtime_error {
public:
    explicit HeaderError(const QString& message) : std::runtime_error(message.toStdString()) {}
};

// Where each column of the input is, found from the header row.
class InputLayout {
public:
    // Throws HeaderError for a column name that is not one of the batch's,
    // a name given twice, or a missing centre_distance or teeth column.
    static InputLayout fromHeader(const std::vector<QString>& header);

    // Maps one data row. Returns false, with the reasons in problems, when
    // the row cannot be run: a missing or extra field, a grade other than 6,
    // 7 or 8, a yes/no column with another text. row is the 1-based number of
    // the data row and line the physical line it starts on; both name the
    // row in the messages, with the column by its header name.
    bool map(const std::vector<QString>& record, long long row, long long line, RowRequest& request,
             QStringList& problems) const;

    // The columns as the header names them.
    const QStringList& names() const { return names_; }

    // The columns the batch knows, in the order the docs list them.
    static QStringList knownColumns();

private:
    enum class Role { CentreDistance, Teeth, Starts, Grade, StandardBacklash, WholeTeeth, Field };
    struct Column {
        Role role;
        core::Field field; // Edit5 ... Edit13 for Role::Field
    };
    std::vector<Column> columns_;
    QStringList names_;
};

// "row 3 (line 4), column grade: " — the start of every row message.
QString rowPlace(long long row, long long line, const QString& column = QString());
// A value as messages quote it: at most 40 characters, then an ellipsis.
QString quoted(const QString& value);

} // namespace tpworm::batch
