// The commands of tpworm-cli: one table, so that each command lives in a file
// of its own and the entry point knows, before anything starts, how much of
// Qt the command needs (a batch run must never load the widgets).
#pragma once

#include <QStringList>

#include <span>
#include <stdexcept>

namespace tpworm::cli {

// What a command needs of Qt: Plain (Qt Core without an application object:
// no event loop, which a command that only reads, computes and writes does
// not use, and whose start it does not pay), Core (an application object with
// its event loop, no display, no fonts), Gui (painting, fonts, PDF and SVG
// writers on the offscreen platform), Widgets (windows).
enum class Needs { Plain, Core, Gui, Widgets };

struct Command {
    const char* name;
    Needs needs;
    // The whole command line after the program name (arguments[0] is the
    // command's name); returns the exit status.
    int (*run)(const QStringList& arguments);
    // Lines for the usage text, each starting with "tpworm-cli ".
    const char* usage;
};

// A wrong command line: the entry point prints the reason and the usage and
// exits with 2.
class UsageError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Every command, in the order the usage lists them.
std::span<const Command> commands();
const Command* findCommand(const QString& name);
// What the command needs for this command line (arguments[0] is its name):
// its row's needs, except where an option asks for more (`export
// --automation` drives the spreadsheet application's process).
Needs needsOf(const Command& command, const QStringList& arguments);
// The usage text: every command's lines and the common options.
QString usageText();

} // namespace tpworm::cli
