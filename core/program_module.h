// The parts of the program that need large libraries only a few commands use
// (the LibreOffice UNO libraries of the spreadsheet automation, libgsf with
// GObject for reading compound documents) are shared modules beside the
// programs, loaded on first use: a start maps only the libraries of what it
// runs, and a batch of one row does not pay for the export back ends.
//
// A module is looked for in the executable's folder (the build folder), then
// in the installed module folder beside the executable (<prefix>/lib/tpworm
// from <prefix>/bin), and, for the tests, benchmarks and tools that run from
// folders inside the build folder, in the build folder.
#pragma once

#include <QString>

namespace tpworm {

// The address of the function `symbol` of module `file` (a file name such as
// "tpworm-libgsf.so"), the module loaded on the first call and kept for the
// run; nullptr with the reason in error when the module cannot be found or
// loaded or does not have the symbol.
void* programModuleSymbol(const char* file, const char* symbol, QString& error);

} // namespace tpworm
