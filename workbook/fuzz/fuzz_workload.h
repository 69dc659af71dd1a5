// One run of the engine's whole cycle over an arbitrary input: load, read every
// cell, write cells, save, load the saved bytes again. Shared by the libFuzzer
// target and by the test that replays the kept inputs.
#pragma once

#include <QByteArray>
#include <QString>

namespace tpworm::workbook::fuzz {

// Empty when the engine kept its promises on this input (refusing it with a
// WorkbookError is one of them); otherwise what went wrong.
QString runCycle(const QByteArray& input);

} // namespace tpworm::workbook::fuzz
