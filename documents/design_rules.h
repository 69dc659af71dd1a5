// The rules a design was saved under. A design file stores only the input
// texts, so the same file gives other results under other rules; it also
// records the sixteen rule coefficients in force when it was saved (and the
// rules database's provenance, where the database carries one), so that
// opening it can say when the rules in force now differ. The design still
// opens and calculates with the rules in force.
//
// The record lies below the input rows, in column A like them, with its
// captions in column B as the template's input rows have them: A16 ... A31
// hold N[0] ... N[15], A32 the provenance text. Files written before the
// record existed have these cells empty and open as before; no cell of
// A1 ... A14 changes.
#pragma once

#include "documents/cell_maps.h"

#include <array>
#include <optional>

namespace tpworm::documents {

inline constexpr int kRuleRecordColumn = 0;    // column A
inline constexpr int kRuleRecordFirstRow = 15; // A16 holds N[0]
inline constexpr int kRuleProvenanceRow = kRuleRecordFirstRow + 16; // A32

using Coefficients = std::array<double, 16>;

// A coefficient as the file stores it: the shortest decimal text that reads
// back as the same double ("0.65", "1.5e-05").
QString coefficientText(double value);

// The record's cells in the order written: the sixteen coefficients, then the
// provenance (an empty text when there is none, so an older provenance of an
// overwritten file never stays behind).
QList<CellText> ruleRecordCells(const Coefficients& coefficients, const QString& provenance);

struct RuleRecord {
    enum class State { Absent, Readable, Unreadable };
    State state = State::Absent; // Absent: a file from before the record
    Coefficients coefficients{};
    QString provenance;
};

// Reads A16 ... A32. All sixteen cells empty: Absent. A number cell that a
// spreadsheet program wrote back reads with either decimal separator.
RuleRecord readRuleRecord(const CellReader& get);

// What opening says about the record, or an empty text when there is nothing
// to say (no record, or the same coefficients as in force).
QString ruleRecordMessage(const RuleRecord& record, const Coefficients& inForce);

// The provenance text of the rules database at path, for A32. The rules
// database does not yet carry one: empty until it does.
QString rulesProvenance(const QString& rulesDatabasePath);

} // namespace tpworm::documents
