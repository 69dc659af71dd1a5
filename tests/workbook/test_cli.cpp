// `workbook cat` and `workbook set` as tpworm-cli runs them.
#include "corpus.h"

#include "workbook/cli_workbook.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

using namespace tpworm::workbook;
using namespace tpworm::workbook::testing;

namespace {

struct CliRun {
    int status;
    QString out;
    QString err;
};

CliRun cat(const QString& file)
{
    QString out, err;
    QTextStream o(&out), e(&err);
    const int status = workbookCat(file, o, e);
    o.flush();
    e.flush();
    return {status, out, err};
}

CliRun set(const QString& file, const QString& output, const QStringList& assignments)
{
    QString out, err;
    QTextStream o(&out), e(&err);
    const int status = workbookSet(file, output, assignments, o, e);
    e.flush();
    return {status, out, err};
}

TEST(WorkbookCli, CatListsCellsInRowThenColumnOrderWithEscapes)
{
    QTemporaryDir dir;
    const QString output = dir.filePath(QStringLiteral("out.wpx"));
    const CliRun s = set(corpusDir() + QStringLiteral("/poi-Simple.xls"), output,
                      {QStringLiteral("B3=tab\there"), QStringLiteral("a2=line\nbreak \\ back"),
                       QStringLiteral("C1=x=y 设计"), QStringLiteral("IV65536=last")});
    ASSERT_EQ(s.status, 0) << s.err.toStdString();
    const CliRun c = cat(output);
    ASSERT_EQ(c.status, 0) << c.err.toStdString();
    EXPECT_EQ(c.out.toStdString(),
              "A1\treplaceMe\n"
              "C1\tx=y 设计\n"
              "A2\tline\\nbreak \\\\ back\n"
              "B3\ttab\\there\n"
              "IV65536\tlast\n");
}

TEST(WorkbookCli, FailuresAndUsageErrors)
{
    QTemporaryDir dir;
    const QString simple = corpusDir() + QStringLiteral("/poi-Simple.xls");
    const QString output = dir.filePath(QStringLiteral("out.xls"));
    const struct {
        QStringList assignments;
        int status;
        const char* why;
    } cases[] = {
        {{QStringLiteral("A1")}, 1, "no ="},
        {{QStringLiteral("=x")}, 1, "no cell"},
        {{QStringLiteral("IW1=x")}, 1, "column past IV"},
        {{QStringLiteral("A0=x")}, 1, "row 0"},
        {{QStringLiteral("A65537=x")}, 1, "row past 65536"},
        {{QStringLiteral("A1=") + QString(32768, u'x')}, 1, "text longer than a cell holds"},
    };
    for (const auto& c : cases) {
        const CliRun r = set(simple, output, c.assignments);
        EXPECT_EQ(r.status, c.status) << c.why;
        EXPECT_FALSE(r.err.isEmpty()) << c.why;
        EXPECT_FALSE(QFile::exists(output)) << c.why;
    }
    const CliRun missing = cat(dir.filePath(QStringLiteral("none.xls")));
    EXPECT_EQ(missing.status, 1);
    EXPECT_TRUE(missing.err.contains(QStringLiteral("does not exist"))) << missing.err.toStdString();
    const CliRun bad = cat(corpusDir() + QStringLiteral("/bad/poi-password-rc4.xls"));
    EXPECT_EQ(bad.status, 1);
    EXPECT_TRUE(bad.out.isEmpty());
    const CliRun unwritable = set(simple, dir.filePath(QStringLiteral("no/such/folder/out.xls")), {QStringLiteral("A1=x")});
    EXPECT_EQ(unwritable.status, 1);
    EXPECT_TRUE(unwritable.err.contains(QStringLiteral("cannot be saved"))) << unwritable.err.toStdString();
}

} // namespace
