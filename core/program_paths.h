// Where the program finds its data files and where it keeps the files it
// writes. Run from its build folder, both are that folder. Installed (the
// executables in <prefix>/bin, the data in <prefix>/share/tpworm), the
// shipped data are read from the share folder, which a user cannot write,
// and the files the program changes — the rules database and the update
// check's files — live in the user's data folder, where the rules database
// is copied on first use.
#pragma once

#include <QString>

namespace tpworm {

struct ProgramPaths {
    QString programDir; // the shipped data files: templates, db1.wrx, manual, help
    QString userDir;    // the files the program writes: db1.mdb, gg, v-up.txt
    QString error;      // why the user folder could not be prepared; empty when all is well
};

// The running executable's folder, as QCoreApplication::applicationDirPath()
// gives it, also where no application object is made (tpworm-cli's commands
// that need no event loop start without one).
QString executableDir();

// The data folder of an installed program: <prefix>/share/tpworm beside
// <prefix>/bin; otherwise the executable's own folder.
QString resolveProgramDir(const QString& executableDir);

// True when programDir is an installed share folder rather than a build
// folder.
bool isInstalledLayout(const QString& executableDir);

// Resolves both folders. userDataLocation is the user's data folder
// (QStandardPaths::AppDataLocation in the programs; a test passes its own).
// An installed program, or a build folder that cannot be written, keeps its
// changing files in userDataLocation and copies the shipped db1.mdb there
// when it is not there yet.
ProgramPaths resolveProgramPaths(const QString& executableDir, const QString& userDataLocation);

// The folders of the running program, resolved once from its executable's
// folder and the user's data location (the application's name must be set).
const ProgramPaths& runningProgramPaths();

// The rules database a program with its data in programDir reads: for the
// running program the user's copy when it keeps one, otherwise
// programDir/db1.mdb.
QString rulesDatabaseFor(const QString& programDir);

} // namespace tpworm
