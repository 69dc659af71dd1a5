// The design options that rating, drawing and report commands take: parsed
// out of their command line, calculated on the core with the shipped rules.
#include "app/cli_commands.h"
#include "app/cli_design.h"

#include "core/design_form.h"
#include "documents/cell_maps.h"
#include "workbook/workbook.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace tpworm;

namespace {

const QString kProgramDir = QStringLiteral(TPWORM_PROGRAM_DIR);
const QString kExampleCoefficients = QStringLiteral("0.875,1.2,1,0.5,0,0.55,2,0,0.15,0.5,0.5,1,0.5,1,0.9,9");

TEST(CliDesignOptions, TheCommandsOwnOptionsAreLeftInOrder)
{
    QStringList rest;
    const cli::DesignOptions o = cli::parseDesignOptions(
        {"--format", "pdf", "--centre-distance", "250", "--teeth", "45", "--starts", "2", "--grade", "8", "out.pdf",
         "Edit5=160", "--no-standard-backlash", "--whole-teeth"},
        rest);
    EXPECT_EQ(rest, (QStringList{"--format", "pdf", "out.pdf"}));
    EXPECT_EQ(o.request.centreDistance, "250");
    EXPECT_EQ(o.request.grade, "8");
    EXPECT_FALSE(o.request.standardBacklash);
    EXPECT_TRUE(o.request.wholeTeeth);
    ASSERT_EQ(o.request.overrides.size(), 1);
    EXPECT_EQ(o.request.overrides[0].first, core::Field::MainBase);

    for (const QStringList& wrong : {QStringList{"--teeth", "45"}, QStringList{},
                                     QStringList{"--file", "a.wpx", "--centre-distance", "250", "--teeth", "45"},
                                     QStringList{"--centre-distance", "250", "--teeth", "45", "--grade", "9"},
                                     QStringList{"--centre-distance", "250", "--teeth", "45", "Edit99=1"},
                                     QStringList{"--centre-distance"}}) {
        QStringList left;
        EXPECT_THROW(cli::parseDesignOptions(wrong, left), cli::UsageError) << wrong.join(' ').toStdString();
    }
}

TEST(CliDesignOptions, DriveDataAndADesignFileGiveTheSameCalculatedDesign)
{
    QStringList rest;
    const core::DesignForm typed = cli::designFromArguments(
        {"--coefficients", kExampleCoefficients, "--centre-distance", "250", "--teeth", "45", "--starts", "2",
         "Edit5=160", "Edit6=2", "Edit7=90", "Edit8=0.3", "Edit13=0.5"},
        rest, kProgramDir);
    ASSERT_TRUE(typed.calculated()) << typed.messages().join('|').toStdString();
    EXPECT_EQ(typed.label(8).caption, "215.933-----蜗杆齿根圆弧半径");

    // The design saved as the save command writes it, then named by --file.
    QTemporaryDir dir;
    const QString file = dir.filePath("d.wpx");
    workbook::Workbook book;
    book.SetFileName(kProgramDir + "/111.xls");
    book.Load();
    documents::FieldTexts fields;
    fields.edits = typed.texts();
    for (const documents::CellText& cell : documents::designFileCells(fields))
        book.SetCellText(cell.column, cell.row, cell.text);
    book.SetFileName(file);
    book.Save();

    const core::DesignForm opened
        = cli::designFromArguments({"--coefficients", kExampleCoefficients, "--file", file}, rest, kProgramDir);
    ASSERT_TRUE(opened.calculated()) << opened.messages().join('|').toStdString();
    QJsonObject a = core::designJsonObject(typed), b = core::designJsonObject(opened);
    EXPECT_EQ(a["labels"], b["labels"]);
    EXPECT_EQ(a["fields"], b["fields"]);
    EXPECT_FALSE(opened.driveDataEnabled()) << "an opened design's drive data are fixed";

    const core::DesignForm missing
        = cli::designFromArguments({"--file", dir.filePath("none.wpx")}, rest, kProgramDir);
    EXPECT_FALSE(missing.calculated());
    EXPECT_EQ(missing.messages(), QStringList{"文件打开错误,或者您还没安装EXCEL........."});
}

} // namespace
