// The workloads of the fuzz targets, one per thing a hostile file reaches:
// the engine's load and read, its save cycle, the design-file open and the
// rules database reader. Shared by the libFuzzer targets and by the test that
// replays the kept inputs.
#pragma once

#include <QByteArray>
#include <QString>

namespace tpworm::workbook::fuzz {

// Each returns an empty text when the code kept its promises on this input
// (refusing it with its own error type is one of them); otherwise what went wrong.

// Load from memory, read every cell two ways, write a few cells; no save.
QString runLoad(const QByteArray& input);
// runLoad's edits, then save, load the saved bytes again and compare.
QString runCycle(const QByteArray& input);
// The design-file open: the workbook's cells A1 ... A14 read into the fields.
QString runDesignOpen(const QByteArray& input);
// The rules database reader on an SQLite file of these bytes.
QString runRulesDatabase(const QByteArray& input);

} // namespace tpworm::workbook::fuzz
