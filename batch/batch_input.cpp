#include "batch/batch_input.h"

#include <QSet>

namespace tpworm::batch {

namespace {

const QString kCentreDistance = QStringLiteral("centre_distance");
const QString kTeeth = QStringLiteral("teeth");
const QString kStarts = QStringLiteral("starts");
const QString kGrade = QStringLiteral("grade");
const QString kStandardBacklash = QStringLiteral("standard_backlash");
const QString kWholeTeeth = QStringLiteral("whole_teeth");

// Edit5 ... Edit13, named exactly so: the fields `design` takes as
// FIELD=TEXT pairs after the drive data (Edit1 ... Edit4 are the drive-data
// columns).
std::optional<core::Field> overrideField(const QString& name)
{
    const std::optional<core::Field> field = core::fieldOfControlName(name);
    if (!field || int(*field) < int(core::Field::MainBase) || name != core::fieldControlName(*field))
        return std::nullopt;
    return field;
}

// yes/no columns; an empty cell keeps the default.
bool readYesNo(const QString& cell, bool& value)
{
    const QString t = cell.trimmed().toLower();
    if (t.isEmpty())
        return true;
    if (t == QLatin1String("yes")) {
        value = true;
        return true;
    }
    if (t == QLatin1String("no")) {
        value = false;
        return true;
    }
    return false;
}

} // namespace

QString rowPlace(long long row, long long line, const QString& column)
{
    QString place = QStringLiteral("row %1 (line %2)").arg(row).arg(line);
    if (!column.isEmpty())
        place += QStringLiteral(", column ") + column;
    return place + QStringLiteral(": ");
}

QString quoted(const QString& value)
{
    constexpr int kShown = 40;
    if (value.size() <= kShown)
        return QLatin1Char('"') + value + QLatin1Char('"');
    return QLatin1Char('"') + value.left(kShown) + QStringLiteral("…\" (%1 characters)").arg(value.size());
}

QStringList InputLayout::knownColumns()
{
    QStringList names{kCentreDistance, kTeeth, kStarts, kGrade, kStandardBacklash, kWholeTeeth};
    for (int n = 5; n <= 13; ++n)
        names << QStringLiteral("Edit%1").arg(n);
    return names;
}

InputLayout InputLayout::fromHeader(const std::vector<QString>& header)
{
    InputLayout layout;
    QSet<QString> seen;
    for (std::size_t k = 0; k < header.size(); ++k) {
        const QString name = header[k].trimmed();
        const QString place = QStringLiteral("header, column %1: ").arg(k + 1);
        if (name.isEmpty())
            throw HeaderError(place + QStringLiteral("the column has no name"));
        if (seen.contains(name))
            throw HeaderError(place + QStringLiteral("%1 is named twice").arg(name));
        seen.insert(name);
        Column column{Role::Field, core::Field::MainBase};
        if (name == kCentreDistance) column.role = Role::CentreDistance;
        else if (name == kTeeth) column.role = Role::Teeth;
        else if (name == kStarts) column.role = Role::Starts;
        else if (name == kGrade) column.role = Role::Grade;
        else if (name == kStandardBacklash) column.role = Role::StandardBacklash;
        else if (name == kWholeTeeth) column.role = Role::WholeTeeth;
        else if (const std::optional<core::Field> field = overrideField(name)) column.field = *field;
        else
            throw HeaderError(place + QStringLiteral("unknown column %1 (known: %2)")
                                          .arg(quoted(name), knownColumns().join(QStringLiteral(", "))));
        layout.columns_.push_back(column);
        layout.names_ << name;
    }
    for (const QString& required : {kCentreDistance, kTeeth})
        if (!seen.contains(required))
            throw HeaderError(QStringLiteral("header: the column %1 is missing").arg(required));
    return layout;
}

bool InputLayout::map(const std::vector<QString>& record, long long row, long long line, RowRequest& request,
                      QStringList& problems) const
{
    request = RowRequest();
    const std::size_t expected = columns_.size();
    bool sound = true;
    if (record.size() < expected) {
        problems << rowPlace(row, line, names_[static_cast<int>(record.size())])
                        + QStringLiteral("missing: the row has %1 fields, the header %2").arg(record.size()).arg(expected);
        sound = false;
    } else if (record.size() > expected) {
        problems << rowPlace(row, line, QString::number(expected + 1))
                        + QStringLiteral("extra field: the row has %1 fields, the header %2").arg(record.size()).arg(expected);
        sound = false;
    }
    const std::size_t n = std::min(record.size(), expected);
    for (std::size_t k = 0; k < n; ++k) {
        const QString& cell = record[k];
        const QString& name = names_[static_cast<int>(k)];
        switch (columns_[k].role) {
        case Role::CentreDistance: request.centreDistance = cell; break;
        case Role::Teeth: request.teeth = cell; break;
        case Role::Starts:
            if (!cell.isEmpty())
                request.starts = cell;
            break;
        case Role::Grade: {
            const QString grade = cell.trimmed();
            if (grade.isEmpty())
                break;
            if (grade == QLatin1String("6") || grade == QLatin1String("7") || grade == QLatin1String("8")) {
                request.grade = grade;
            } else {
                problems << rowPlace(row, line, name) + QStringLiteral("%1 is not a grade (6, 7 or 8)").arg(quoted(cell));
                sound = false;
            }
            break;
        }
        case Role::StandardBacklash:
        case Role::WholeTeeth: {
            bool& flag = columns_[k].role == Role::WholeTeeth ? request.wholeTeeth : request.standardBacklash;
            if (!readYesNo(cell, flag)) {
                problems << rowPlace(row, line, name) + QStringLiteral("%1 is neither yes nor no").arg(quoted(cell));
                sound = false;
            }
            break;
        }
        case Role::Field:
            // An empty cell: the field is not given, the program's own text stands.
            if (!cell.isEmpty())
                request.overrides.append({columns_[k].field, cell});
            break;
        }
    }
    return sound;
}

} // namespace tpworm::batch
