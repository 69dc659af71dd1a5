// The parts of the manual that come from data: tables of the rules database
// and of the worked design, filled into the readable sources in place of
// their {{placeholders}}.
#pragma once

#include "example_design.h"
#include "rules_snapshot.h"

#include <QString>

namespace tpworm::manual {

struct ContentData {
    const RulesSnapshot& rules;
    const ExampleDesign& example;
};

// Replaces every {{name}} and {{name:argument}} of a source; ManualError for
// a placeholder it does not know, so none can reach a reader unfilled.
QString fillPlaceholders(const QString& source, const ContentData& data);

// What a column of the grade tables holds, by the column's name in the
// database; empty for a name it does not know.
QString gradeColumnMeaning(const QString& columnName);

} // namespace tpworm::manual
