// Helpers of the automation tests: templates and readings through python3's
// xlwt and xlrd, a temporary folder that catches the server's profile and
// temporary files, and the process list.
#pragma once

#include <QByteArray>
#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QThread>
#include <QUrl>
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

#include <sys/stat.h>
#include <unistd.h>

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

// The parent of a process, from /proc; 0 when it is gone.
inline qint64 parentOf(qint64 pid)
{
    QFile file(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!file.open(QIODevice::ReadOnly))
        return 0;
    const QByteArray line = file.readAll();
    return line.mid(line.lastIndexOf(')') + 2).split(' ').value(1).toLongLong();
}

inline QByteArray contentOf(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

#ifdef TPWORM_LO_PROGRAM_DIR
// A LibreOffice installation in `folder` whose soffice.bin is `script` (a
// shell script): every other file is the real installation's, which the UNO
// runtime of this process needs. A second call over the same folder replaces
// the script. Returns the program's path.
inline QString makeFakeInstallation(const QString& folder, const QString& script)
{
    const QDir real(QStringLiteral(TPWORM_LO_PROGRAM_DIR));
    QDir().mkpath(folder);
    for (const QString& name : real.entryList(QDir::AllEntries | QDir::NoDotAndDotDot))
        if (name != QLatin1String("soffice.bin") && !QFileInfo(folder + QLatin1Char('/') + name).isSymLink())
            EXPECT_TRUE(QFile::link(real.filePath(name), folder + QLatin1Char('/') + name)) << name.toStdString();
    const QString program = folder + QStringLiteral("/soffice.bin");
    QFile file(program);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write("#!/bin/sh\n" + script.toUtf8());
    file.close();
    QFile::setPermissions(program, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    return program;
}
#endif

// A scratch folder that is also TMPDIR and the cache folder, so that every
// server profile and temporary file of a test lands inside it and can be
// found in the process list.
class Scratch {
public:
    Scratch()
        : tmp_(dir.path() + QStringLiteral("/tmp")), cache_(dir.path() + QStringLiteral("/cache")),
          tmpEnv_("TMPDIR", tmp_), cacheEnv_("XDG_CACHE_HOME", cache_)
    {
        QDir().mkpath(tmp_);
    }
    QString path(const QString& name) const { return dir.filePath(name); }
    // The server processes whose profile lies in this scratch folder.
    QStringList servers() const
    {
        return processesMentioning(QStringLiteral("-env:UserInstallation=") +
                                   QUrl::fromLocalFile(dir.path()).toString(QUrl::FullyEncoded));
    }
    // Their process numbers.
    QList<qint64> serverPids() const
    {
        QList<qint64> pids;
        for (const QString& line : servers())
            pids << line.section(QLatin1Char(' '), 0, 0).toLongLong();
        return pids;
    }
    // The servers' homes below the cache folder, whatever the application's
    // name (the program's, or a test program's).
    QStringList homes() const
    {
        QStringList found;
        for (const QString& program : QDir(cache_).entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
            const QString base = cache_ + QLatin1Char('/') + program + QStringLiteral("/libreoffice");
            for (const QString& slot : QDir(base).entryList(QDir::Dirs | QDir::NoDotAndDotDot))
                found << base + QLatin1Char('/') + slot;
        }
        return found;
    }
    // What servers and exports left in the temporary folder (LibreOffice's
    // lu*.tmp folders, profiles) and the servers' own temporary folders that
    // outlived them.
    QStringList leftovers() const
    {
        QStringList left = QDir(tmp_).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);
        for (const QString& home : homes())
            if (QFileInfo::exists(home + QStringLiteral("/tmp")))
                left << home + QStringLiteral("/tmp");
        return left;
    }
    // The pipes in /tmp that the servers of process `pid` listened on, and
    // the pipes by which LibreOffice finds the process holding one of the
    // homes' profiles (named after the MD5 of the profile's URL in UTF-16):
    // a server that was ended leaves none.
    QStringList pipesOf(qint64 pid) const
    {
        QStringList names = {QStringLiteral("OSL_PIPE_%1_tpworm-%2-*").arg(::getuid()).arg(pid)};
        for (const QString& home : homes()) {
            const QString url = QUrl::fromLocalFile(home + QStringLiteral("/profile")).toString(QUrl::FullyEncoded);
            const QByteArray utf16(reinterpret_cast<const char*>(url.utf16()), url.size() * 2);
            names << QStringLiteral("OSL_PIPE_%1_SingleOfficeIPC_%2")
                         .arg(::getuid())
                         .arg(QString::fromLatin1(QCryptographicHash::hash(utf16, QCryptographicHash::Md5).toHex()));
        }
        QStringList left;
        for (const QString& name : QDir(QStringLiteral("/tmp")).entryList(names, QDir::System | QDir::Hidden)) {
            struct stat st {};
            if (::lstat(QFile::encodeName(QStringLiteral("/tmp/") + name).constData(), &st) == 0 &&
                S_ISSOCK(st.st_mode))
                left << name;
        }
        return left;
    }
    // Waits up to `ms` for the servers to be gone; those still there.
    QStringList serversAfter(int ms) const
    {
        QElapsedTimer clock;
        clock.start();
        while (!servers().isEmpty() && clock.elapsed() < ms)
            QThread::msleep(20);
        return servers();
    }

    QTemporaryDir dir;

private:
    QString tmp_;
    QString cache_;
    ScopedEnv tmpEnv_;
    ScopedEnv cacheEnv_;
};

} // namespace tpworm::testing
