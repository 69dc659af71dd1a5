// The short lines in the main window's grade area that keep the rules honest:
// one while a table in force still carries the reference values shipped with
// the program, one while the centre distance lies beyond the range that the
// grade table's source covers. The tooltip holds the details. Nothing here
// stops a calculation.
#pragma once

#include "rules/rules_sources.h"

#include <QLabel>

namespace tpworm {

class TForm1;

namespace rules {

class RulesNotice final : public QLabel {
    Q_OBJECT
public:
    // Placed in the grade area of the main window, below the calculate button.
    explicit RulesNotice(TForm1& form);

    // Reads the sources of the rules database in use again; run by every
    // reload of the rules.
    void reload();
    // Puts the lines for the cached sources, the centre distance and the grade.
    void refresh();

    const Notice& referenceLine() const { return reference_; }
    const Notice& rangeLine() const { return range_; }

private:
    TForm1& form_;
    QList<TableSource> sources_;
    Notice reference_;
    Notice range_;
};

// Creates the notice of the main window (once, after its layout).
RulesNotice* createRulesNotice(TForm1& form);
// The main window's notice, or null before it is created.
RulesNotice* rulesNotice(const TForm1& form);

} // namespace rules
} // namespace tpworm
