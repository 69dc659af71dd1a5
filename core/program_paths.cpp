#include "core/program_paths.h"

#include "core/safe_file.h"

#include <QCoreApplication>
#include <QDir>
#include <QStandardPaths>
#include <QFileInfo>

namespace tpworm {

namespace {

const QString kRulesDatabase = QStringLiteral("db1.mdb");
// The rules database is small; anything far larger is not ours.
constexpr qint64 kRulesDatabaseLimit = 64ll << 20;

QString installedShareDir(const QString& executableDir)
{
    const QDir bin(executableDir);
    if (bin.dirName() != QLatin1String("bin"))
        return {};
    const QString share = QDir::cleanPath(bin.absoluteFilePath(QStringLiteral("../share/tpworm")));
    return QFileInfo(QDir(share).filePath(kRulesDatabase)).isFile() ? share : QString();
}

bool writableFolder(const QString& dir)
{
    const QFileInfo info(dir);
    return info.isDir() && info.isWritable();
}

} // namespace

QString executableDir()
{
    if (QCoreApplication::instance())
        return QCoreApplication::applicationDirPath();
    // What Qt reads on Linux: the link to the running executable, resolved.
    static const QString dir = QFileInfo(QFileInfo(QStringLiteral("/proc/self/exe")).canonicalFilePath()).path();
    return dir;
}

bool isInstalledLayout(const QString& executableDir) { return !installedShareDir(executableDir).isEmpty(); }

QString resolveProgramDir(const QString& executableDir)
{
    const QString share = installedShareDir(executableDir);
    return share.isEmpty() ? executableDir : share;
}

ProgramPaths resolveProgramPaths(const QString& executableDir, const QString& userDataLocation)
{
    ProgramPaths paths;
    paths.programDir = resolveProgramDir(executableDir);
    paths.userDir = paths.programDir;
    if (!isInstalledLayout(executableDir) && writableFolder(paths.programDir))
        return paths;

    paths.userDir = userDataLocation;
    if (!QDir().mkpath(paths.userDir)) {
        paths.error = QStringLiteral("cannot create the data folder %1").arg(QDir::toNativeSeparators(paths.userDir));
        return paths;
    }
    const QString userRules = QDir(paths.userDir).filePath(kRulesDatabase);
    if (QFileInfo::exists(userRules))
        return paths;
    QByteArray shipped;
    WriteOutcome outcome = readRegularFile(QDir(paths.programDir).filePath(kRulesDatabase), kRulesDatabaseLimit, shipped);
    if (outcome.ok())
        outcome = writeFileAtomically(userRules, shipped);
    if (!outcome.ok())
        paths.error = outcome.error;
    return paths;
}

const ProgramPaths& runningProgramPaths()
{
    static const ProgramPaths paths = resolveProgramPaths(
        executableDir(), QStandardPaths::writableLocation(QStandardPaths::AppDataLocation));
    return paths;
}

QString rulesDatabaseFor(const QString& programDir)
{
    const ProgramPaths& running = runningProgramPaths();
    if (QDir(programDir) == QDir(running.programDir) || QDir(programDir) == QDir(executableDir()))
        return QDir(running.userDir).filePath(kRulesDatabase);
    return QDir(programDir).filePath(kRulesDatabase);
}

} // namespace tpworm
