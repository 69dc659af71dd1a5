// Helpers of the automation tests: templates and readings through python3's
// xlwt and xlrd, a temporary folder that catches the server's profile, and the
// process list.
#pragma once

#include <QByteArray>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <map>
#include <optional>
#include <utility>

namespace tpworm::testing {

// Cell name -> (kind, value) of the first sheet; empty cells are absent.
using Sheet = std::map<QString, std::pair<QString, QString>>;

inline QByteArray runXlsTool(const QString& command, const QString& path)
{
    QProcess python;
    python.start(QStringLiteral(TPWORM_PYTHON3),
                 {QStringLiteral(TPWORM_SOURCE_DIR "/tests/automation/xls_tool.py"), command, path});
    python.waitForFinished(60000);
    EXPECT_EQ(python.exitCode(), 0) << python.readAllStandardError().toStdString();
    return python.readAllStandardOutput();
}

inline void makeTemplate(const QString& path) { runXlsTool(QStringLiteral("template"), path); }

inline Sheet readSheet(const QString& path)
{
    Sheet sheet;
    const QJsonObject cells = QJsonDocument::fromJson(runXlsTool(QStringLiteral("dump"), path)).object();
    for (auto it = cells.begin(); it != cells.end(); ++it) {
        const QJsonArray cell = it.value().toArray();
        sheet[it.key()] = {cell.at(0).toString(), cell.at(1).toString()};
    }
    return sheet;
}

// Command lines of the running processes that mention `marker`.
inline QStringList processesMentioning(const QString& marker)
{
    QStringList found;
    const QString self = QString::number(QCoreApplication::applicationPid());
    for (const QString& pid : QDir(QStringLiteral("/proc")).entryList(QDir::Dirs)) {
        if (pid.isEmpty() || !pid[0].isDigit() || pid == self)
            continue;
        QFile file(QStringLiteral("/proc/%1/cmdline").arg(pid));
        if (!file.open(QIODevice::ReadOnly))
            continue;
        QByteArray line = file.readAll();
        line.replace('\0', ' ');
        if (line.contains(marker.toUtf8()))
            found << pid + QLatin1Char(' ') + QString::fromUtf8(line);
    }
    return found;
}

// An environment variable set for the life of the object.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const QString& value) : name_(name)
    {
        if (qEnvironmentVariableIsSet(name))
            old_ = qgetenv(name);
        qputenv(name, value.toUtf8());
    }
    ~ScopedEnv()
    {
        if (old_)
            qputenv(name_, *old_);
        else
            qunsetenv(name_);
    }

private:
    const char* name_;
    std::optional<QByteArray> old_;
};

// A scratch folder that is also TMPDIR, so every server profile and temporary
// file of a test lands inside it and can be found in the process list.
class Scratch {
public:
    Scratch() : tmp_(dir.path() + QStringLiteral("/tmp")), env_("TMPDIR", tmp_)
    {
        QDir().mkpath(tmp_);
    }
    QString path(const QString& name) const { return dir.filePath(name); }
    // The server processes whose profile lies in this scratch folder.
    QStringList servers() const { return processesMentioning(dir.path()); }
    // Server profiles left in the temporary folder.
    QStringList leftovers() const { return QDir(tmp_).entryList({QStringLiteral("tpworm-lo-*")}, QDir::AllEntries | QDir::Hidden); }

    QTemporaryDir dir;

private:
    QString tmp_;
    ScopedEnv env_;
};

} // namespace tpworm::testing
