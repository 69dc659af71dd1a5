// The widget-free content of the documents: the design file's cells and the
// check made before an open changes anything, the command-line name, and the
// cell maps and value forms of the parameter tables.
#include "documents/cell_maps.h"

#include <gtest/gtest.h>

#include <QMap>

using namespace tpworm;
using namespace tpworm::documents;

namespace {

CellReader reader(const QMap<QString, QString>& cells)
{
    return [cells](int column, int row) { return cells.value(cellName(column, row)); };
}

QMap<QString, QString> asMap(const QList<CellText>& cells)
{
    QMap<QString, QString> map;
    for (const CellText& c : cells)
        map.insert(cellName(c.column, c.row), c.text);
    return map;
}

QStringList names(const QList<CellText>& cells)
{
    QStringList list;
    for (const CellText& c : cells)
        list << cellName(c.column, c.row);
    return list;
}

} // namespace

TEST(CellNames, ConvertBothWays)
{
    struct Case { int column, row; const char* name; };
    for (const Case& c : {Case{0, 0, "A1"}, Case{2, 1, "C2"}, Case{25, 9, "Z10"}, Case{26, 0, "AA1"}, Case{255, 65535, "IV65536"}}) {
        EXPECT_EQ(cellName(c.column, c.row), c.name);
        const CellText parsed = parseCellName(QString::fromLatin1(c.name));
        EXPECT_EQ(parsed.column, c.column) << c.name;
        EXPECT_EQ(parsed.row, c.row) << c.name;
    }
    EXPECT_EQ(parseCellName("d13").column, 3);
    for (const char* bad : {"", "C", "12", "C0", "C-1", "C 2", "C2x", "ÄB1", "IW1", "A65537", "C02"})
        EXPECT_THROW(parseCellName(QString::fromUtf8(bad)), DocumentError) << bad;
}

TEST(DesignFile, SavedCellsReadBackUnchanged)
{
    FieldTexts fields;
    const QStringList texts{"250", "22.5", "45", "2", "162.5", "0", "83.123", "0.2", "7j(GB/T16445-1996)", "左旋",
                            "0.3 * 25", "0.2 * 20", "0.5"};
    for (int i = 0; i < 13; ++i)
        fields.edits[i] = texts[i];
    for (bool whole : {false, true}) {
        fields.wholeTeeth = whole;
        const QList<CellText> cells = designFileCells(fields);
        ASSERT_EQ(cells.size(), kDesignFileCells);
        EXPECT_EQ(names(cells).join(','), "A1,A2,A3,A4,A5,A6,A7,A8,A9,A10,A11,A12,A13,A14");
        EXPECT_EQ(cells.last().text, whole ? "zhengshu" : "");
        const DesignFileContent content = readDesignFile(reader(asMap(cells)));
        for (int i = 0; i < 13; ++i)
            EXPECT_EQ(content.edits[i], texts[i]) << "A" << i + 1;
        EXPECT_EQ(content.wholeTeeth(), whole);
        EXPECT_EQ(content.grade, 7);
        EXPECT_EQ(content.gradeIndex(), 1);
        EXPECT_TRUE(content.standardBacklash);
    }
}

TEST(DesignFile, GradeTextDecidesGradeAndBacklash)
{
    struct Case {
        const char* a9;
        int grade, index;
        bool standard;
        const char* why;
    };
    const Case cases[] = {
        {"8j(GB/T16445-1996)", 8, 2, true, "standard backlash in force"},
        {"8级(GB/T16445-1996)", 8, 2, false, "backlash as stored"},
        {"6j(GB/T16445-1996)", 6, 0, true, "lowest grade"},
        {"7", 7, 1, false, "a text of one character has no 'j'"},
        {"7J(GB/T16445-1996)", 7, 1, false, "only a small j counts"},
        {"9级(GB/T16445-1996)", 9, -1, false, "a digit outside 6...8 selects no grade"},
        {"0j", 0, -1, true, "digit zero"},
        {"5j(GB/T16445-1996)", 5, -1, true, "below the list"},
    };
    for (const Case& c : cases) {
        const DesignFileContent content = readDesignFile(reader({{"A9", QString::fromUtf8(c.a9)}}));
        EXPECT_EQ(content.grade, c.grade) << c.why;
        EXPECT_EQ(content.gradeIndex(), c.index) << c.why;
        EXPECT_EQ(content.standardBacklash, c.standard) << c.why;
    }
}

TEST(DesignFile, RefusedWhenGradeTextDoesNotStartWithADigit)
{
    // Each of these would have ended the program half-way through an open;
    // now the file is refused before any field changes.
    for (const char* a9 : {"", "j7", " 7j(GB/T16445-1996)", "+7", "$7", "七级", "７j(GB/T16445-1996)", "-"}) {
        EXPECT_THROW(readDesignFile(reader({{"A1", "250"}, {"A9", QString::fromUtf8(a9)}})), DocumentError) << a9;
    }
}

TEST(DesignFile, WholeTeethOnlyForTheExactMark)
{
    for (const char* a14 : {"zhengshu", "", "Zhengshu", "zhengshu ", "1", "TRUE"}) {
        const DesignFileContent content = readDesignFile(reader({{"A9", "7j"}, {"A14", a14}}));
        EXPECT_EQ(content.wholeTeeth(), QString::fromUtf8(a14) == "zhengshu") << a14;
    }
}

TEST(DesignFile, NamesProposedAndChosen)
{
    EXPECT_EQ(proposedDesignName("200", "40"), "200-40");
    EXPECT_EQ(proposedDesignName("250", "22.5"), "250-22.5");
    EXPECT_EQ(proposedDesignName("", ""), "-");
    // The suffix is appended whatever the chosen name already ends with.
    EXPECT_EQ(designFileTarget("D:/a"), "D:/a.wpx");
    EXPECT_EQ(designFileTarget("D:/a.wpx"), "D:/a.wpx.wpx");
    EXPECT_EQ(designFileTarget("/home/x/design.xls"), "/home/x/design.xls.wpx");
}

TEST(DesignFile, CommandLineJoinsUpToFourArguments)
{
    struct Case {
        QStringList arguments;
        const char* name;
        const char* why;
    };
    const Case cases[] = {
        {{"/data/x.wpx"}, "/data/x.wpx", "one argument"},
        {{"D:\\my", "designs\\x.wpx"}, "D:\\my designs\\x.wpx", "a path with a blank, unquoted"},
        {{"/a", "b", "c", "d.wpx"}, "/a b c d.wpx", "four parts"},
        {{"/a", "b", "c", "d", "e.wpx"}, "/a b c d", "a fifth argument is dropped"},
        {{"/a", "", "b.wpx"}, "/a  b.wpx", "an empty argument keeps its blanks"},
        {{" /a/x.wpx "}, "/a/x.wpx", "blanks at either end are removed"},
        {{"/a/x.wpx", "", ""}, "/a/x.wpx", "trailing empty arguments"},
        {{}, "", "no argument"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(commandLineDesignFile(c.arguments), QString::fromUtf8(c.name)) << c.why;
}

namespace {

// A design whose values tell the value forms apart: results with more
// digits than a label shows after rounding, halves that RoundTo keeps below.
DesignRecord sampleDesign()
{
    DesignRecord d;
    d.TransverseModule = 11.1111111111111;
    d.EnclosedTeeth = 4.5;
    d.GeneratingPlaneTiltText = "12.345";
    d.WorkingHalfAngle = 16.5;
    d.ThroatLeadAngle = 4.7636416907262;
    d.ProfileAngle = 22.0;
    d.WormNormalChordalThickness = 15.123;
    d.WormNormalChordalHeight = 10.1;
    d.ModifiedCentreDistance = 250.1875;           // RoundTo keeps 250.187
    d.ModifiedRatio = 22.4545454545455;            // written unrounded
    d.ModifiedMainBaseDiameter = 162.4996;         // 162.5
    d.ModifiedGeneratingPlaneTilt = 12.34449999;   // 12.344
    d.Backlash = 0.2;
    d.WheelNormalChordalHeight = 9.876;
    d.WheelNormalChordalThickness = 17.05;
    d.HobEnclosedTeeth = 5;
    d.HobNormalChordalHeight = 12.34;
    d.MainBaseDiameter = 162.5;
    d.GradeTolerance3 = "0.016";
    d.GradeTolerance4 = "0.028";
    d.GradeTolerance8 = "0.09";
    d.GradeTolerance9 = "0.08";
    d.GradeTolerance10 = "0.025";
    d.GradeTolerance11 = "0.12";
    return d;
}

FieldTexts sampleFields()
{
    FieldTexts f;
    const QStringList texts{"250", "22.5", "45", "2", "162.5", "0", "83", "0.20", "7j(GB/T16445-1996)", "左旋",
                            "0.3 * 25", "0.2 * 20", "0.5"};
    for (int i = 0; i < 13; ++i)
        f.edits[i] = texts[i];
    return f;
}

using Expected = QList<QPair<const char*, const char*>>;

void expectCells(const QList<CellText>& cells, const Expected& expected)
{
    ASSERT_EQ(cells.size(), expected.size());
    for (int i = 0; i < cells.size(); ++i) {
        EXPECT_EQ(cellName(cells[i].column, cells[i].row), expected[i].first) << "cell " << i;
        EXPECT_EQ(cells[i].text, QString::fromUtf8(expected[i].second)) << expected[i].first;
    }
}

} // namespace

TEST(ParameterTables, WormCellsInOrder)
{
    expectCells(tableCells(ParameterTable::Worm, sampleDesign(), sampleFields()),
                {{"C2", "2"}, {"C3", "45"}, {"C4", "11.1111111111111"}, {"C5", "4.5"}, {"C6", "12.345"},
                 {"C7", "16.5"}, {"C8", "4.7636416907262"}, {"C9", "22"}, {"B10", "左旋"},
                 {"B11", "7j(GB/T16445-1996)"}, {"C12", "15.123"}, {"D13", "-0.09"}, {"C14", "10.1"},
                 {"C15", "0.3 * 25"}, {"C16", "0.2 * 20"}, {"C17", "0.016"}, {"C18", "0.028"}, {"C20", "0.5"},
                 {"C21", "250.187"}, {"C22", "22.4545454545455"}, {"C23", "162.5"}, {"C24", "12.344"}});
}

TEST(ParameterTables, WheelCellsInOrder)
{
    // C8 is the difference of two results; C12 the backlash as last read
    // (0.2), not the field's "0.20".
    expectCells(tableCells(ParameterTable::Wheel, sampleDesign(), sampleFields()),
                {{"C2", "2"}, {"C3", "45"}, {"C4", "11.1111111111111"}, {"C5", "4.7636416907262"}, {"C6", "22"},
                 {"C7", "16.5"}, {"C8", "5.5"}, {"C9", "12.345"}, {"B10", "左旋"}, {"C11", "4.5"},
                 {"C12", "0.2"}, {"C13", "9.876"}, {"C14", "17.05"}, {"D15", "-0.12"}, {"C16", "250"},
                 {"C17", "0.08"}, {"C18", "0.025"}});
}

TEST(ParameterTables, HobCellsInOrder)
{
    expectCells(tableCells(ParameterTable::Hob, sampleDesign(), sampleFields()),
                {{"C2", "2"}, {"C3", "45"}, {"C4", "11.1111111111111"}, {"C5", "5"}, {"C6", "12.345"},
                 {"C7", "16.5"}, {"C8", "4.7636416907262"}, {"C9", "22"}, {"B10", "左旋"}, {"C11", "15.323"},
                 {"D11", "+0.12"}, {"C13", "12.34"}});
}

TEST(ParameterTables, FilesAndProposedNames)
{
    struct Case { ParameterTable table; const char* templ; const char* name; const char* bare; };
    for (const Case& c : {Case{ParameterTable::Worm, "1.xls", "wogan.xls", "wogan"},
                          Case{ParameterTable::Wheel, "1111.xls", "wolun.xls", "wolun"},
                          Case{ParameterTable::Hob, "11.xls", "gundao.xls", "gundao"}}) {
        EXPECT_EQ(tableFiles(c.table).templateName, c.templ);
        EXPECT_EQ(tableFiles(c.table).proposedName, c.name);
        EXPECT_EQ(automationTableFiles(c.table).templateName, c.templ);
        EXPECT_EQ(automationTableFiles(c.table).proposedName, c.bare);
    }
}

TEST(ParameterTables, EmptyToleranceLeavesTheSignAlone)
{
    // Before the first grade look-up the tolerance texts are empty.
    const QMap<QString, QString> worm = asMap(tableCells(ParameterTable::Worm, DesignRecord{}, FieldTexts{}));
    EXPECT_EQ(worm.value("D13"), "-");
    EXPECT_EQ(worm.value("C17"), "");
    const QMap<QString, QString> hob = asMap(tableCells(ParameterTable::Hob, DesignRecord{}, FieldTexts{}));
    EXPECT_EQ(hob.value("D11"), "+");
    EXPECT_EQ(hob.value("C4"), "0");
}

TEST(ValueForms, NumbersAsTheirLabelsShowThem)
{
    struct Case { double value; const char* general; const char* thousandths; };
    const Case cases[] = {
        {0.1875, "0.1875", "0.187"},   // the rounding unit lies above 0.001
        {7.6875, "7.6875", "7.687"},
        {12.3455, "12.3455", "12.345"},
        {-0.0004, "-0.0004", "0"},
        {0.00009, "9E-5", "0"},
        {123456.789, "123456.789", "123456.789"},
        {5, "5", "5"},
        {2.0004999, "2.0004999", "2"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(numberText(c.value), c.general) << c.value;
        EXPECT_EQ(number3Text(c.value), c.thousandths) << c.value;
    }
}
