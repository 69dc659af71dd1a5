// What a run of the program is given from outside: its directory, its command
// line and the seams through which it meets the user and the desktop. The
// window program, tpworm-cli and the tests each fill one in.
#pragma once

#include <QString>
#include <QStringList>

#include <array>
#include <memory>
#include <optional>

namespace tpworm {

class DialogSeam;
class Desktop;
class TForm1;

struct ProgramContext {
    QString programDir;          // directory of the executable and its data files
    QString userDir;             // where the files the program writes live; empty: programDir
    QStringList arguments;       // command-line arguments after the program name
    DialogSeam* dialogs = nullptr;
    Desktop* desktop = nullptr;
    QString rulesOverride;       // read the rules from this file instead of db1.mdb
    QString updateAddress;       // base of the update address; empty: the built-in one
    QString executablePath;      // the program's own executable (new design starts it again)
    // Replaces the sixteen rule coefficients after every load (tpworm-cli).
    std::optional<std::array<double, 16>> coefficientOverride;
};

// Creates the windows in their fixed order (TForm1, whose creation may already
// open the design named on the command line, then TForm2, TForm5, TForm6 and
// TForm7). The caller shows the main window and runs the event loop.
std::unique_ptr<TForm1> createWindows(const ProgramContext& context);

} // namespace tpworm
