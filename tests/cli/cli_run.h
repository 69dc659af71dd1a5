// tpworm-cli run as a separate process, as a script would run it: its exit
// status, what it wrote to standard output and error, and that output read
// as a JSON object (empty when it is none). Shared by the CLI tests.
#pragma once

#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QString>
#include <QStringList>

#include <gtest/gtest.h>

namespace clitest {

struct CliResult {
    int exitCode = -1;
    QJsonObject json;
    QString out;
    QString err;
};

inline CliResult cli(const QStringList& arguments)
{
    QProcess p;
    p.start(QStringLiteral(TPWORM_CLI), arguments);
    EXPECT_TRUE(p.waitForFinished(60000));
    CliResult r;
    r.exitCode = p.exitCode();
    r.out = QString::fromUtf8(p.readAllStandardOutput());
    r.err = QString::fromUtf8(p.readAllStandardError());
    r.json = QJsonDocument::fromJson(r.out.toUtf8()).object();
    return r;
}

} // namespace clitest
