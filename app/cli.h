// tpworm-cli: the window's handlers without a screen.
#pragma once

#include <QStringList>

namespace tpworm::cli {

// Runs one command line (arguments after the program name); returns the exit
// status.
int run(const QStringList& arguments);

// `export`: with --automation the menu exports through the spreadsheet
// application (app/cli_export_automation.cpp), otherwise run().
int runExportCommand(const QStringList& arguments);

} // namespace tpworm::cli
