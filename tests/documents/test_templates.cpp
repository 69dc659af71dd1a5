// The template workbooks as the build writes them into the program
// directory: readable by python3-xlrd and LibreOffice, with captions beside
// every row the exports fill and no caption where either export set writes.
#include "documents/cell_maps.h"
#include "readers.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QSet>

using namespace tpworm;
using namespace tpworm::documents;
using tpworm::testing::MergedRange;
using tpworm::testing::ReadBook;
using tpworm::testing::ReadSheet;

namespace {

QString programFile(const QString& name) { return QDir(QStringLiteral(TPWORM_PROGRAM_DIR)).filePath(name); }

// Non-empty values everywhere, so that every cell of every map is written.
DesignRecord filledDesign()
{
    DesignRecord d;
    d.GeneratingPlaneTiltText = "1";
    d.GradeTolerance3 = d.GradeTolerance4 = d.GradeTolerance8 = "1";
    d.GradeTolerance9 = d.GradeTolerance10 = d.GradeTolerance11 = "1";
    return d;
}

FieldTexts filledFields()
{
    FieldTexts f;
    for (QString& e : f.edits)
        e = "1";
    return f;
}

const MergedRange* mergeCovering(const ReadSheet& sheet, int column, int row)
{
    for (const MergedRange& m : sheet.merged)
        if (m.covers(column, row))
            return &m;
    return nullptr;
}

// The caption of a row: column A's text, or that of the merged range over it.
QString captionOf(const ReadSheet& sheet, int row)
{
    if (const MergedRange* m = mergeCovering(sheet, 0, row))
        return sheet.text(cellName(m->firstColumn, m->firstRow));
    return sheet.text(cellName(0, row));
}

struct TableCase {
    ParameterTable table;
    const char* title;
};

const TableCase kTables[] = {
    {ParameterTable::Worm, "平面二次包络环面蜗杆参数表"},
    {ParameterTable::Wheel, "平面二次包络环面蜗轮参数表"},
    {ParameterTable::Hob, "平面二次包络环面蜗轮滚刀参数表"},
};

} // namespace

TEST(Templates, WrittenCellsAreEmptyVisibleTextCells)
{
    for (const TableCase& t : kTables) {
        const QString name = tableFiles(t.table).templateName;
        const ReadBook book = tpworm::testing::readWithXlrd(programFile(name));
        ASSERT_TRUE(book.error.isEmpty()) << name.toStdString() << ": " << book.error.toStdString();
        ASSERT_FALSE(book.sheets.isEmpty());
        const ReadSheet& sheet = book.sheets.first();
        EXPECT_EQ(sheet.text("A1"), QString::fromUtf8(t.title)) << name.toStdString();

        const QList<CellText> toolBar = tableCells(t.table, filledDesign(), filledFields());
        // The menu exports write the same map (documents/automation_cells.h).
        for (const QList<CellText>* map : {&toolBar}) {
            for (const CellText& c : *map) {
                const QString cell = cellName(c.column, c.row);
                const std::string where = name.toStdString() + " " + cell.toStdString();
                // An export never overwrites template text...
                EXPECT_TRUE(sheet.cells.value(cell).type.isEmpty() || sheet.cells.value(cell).type == "blank") << where;
                // ...and never writes where a merge hides the value.
                if (const MergedRange* m = mergeCovering(sheet, c.column, c.row)) {
                    EXPECT_TRUE(m->firstColumn == c.column && m->firstRow == c.row) << where << " lies inside a merge";
                }
            }
        }
        for (const CellText& c : toolBar) {
            const QString cell = cellName(c.column, c.row);
            const std::string where = name.toStdString() + " " + cell.toStdString();
            // Text format, so that a number typed over it in a spreadsheet
            // program stays the text the program reads.
            EXPECT_EQ(sheet.cells.value(cell).format, "@") << where;
            EXPECT_FALSE(captionOf(sheet, c.row).isEmpty()) << where << " has no caption in column A";
        }
    }
}

TEST(Templates, CaptionsOfTheToolBarRows)
{
    // A sample of the rows whose caption names the value written beside it.
    struct Case { ParameterTable table; int row; const char* caption; };
    const Case cases[] = {
        {ParameterTable::Worm, 2, "蜗杆头数"},         {ParameterTable::Worm, 4, "端面模数"},
        {ParameterTable::Worm, 10, "旋向"},            {ParameterTable::Worm, 11, "精度等级"},
        {ParameterTable::Worm, 12, "法向弦齿厚"},      {ParameterTable::Worm, 13, "法向弦齿厚"},
        {ParameterTable::Worm, 14, "法向弦齿高"},      {ParameterTable::Worm, 15, "入口修缘"},
        {ParameterTable::Worm, 20, "磨齿增量"},        {ParameterTable::Worm, 24, "修形母面倾斜角"},
        {ParameterTable::Wheel, 8, "分度圆齿形角减工作半包角"}, {ParameterTable::Wheel, 12, "侧隙"},
        {ParameterTable::Wheel, 15, "蜗轮法向弦齿厚"}, {ParameterTable::Wheel, 16, "中心距"},
        {ParameterTable::Hob, 5, "滚刀包围齿数"},      {ParameterTable::Hob, 11, "滚刀法向弦齿厚 sn0"},
        {ParameterTable::Hob, 13, "滚刀法向弦齿高"},
    };
    QMap<ParameterTable, ReadBook> books;
    for (const TableCase& t : kTables)
        books.insert(t.table, tpworm::testing::readWithXlrd(programFile(tableFiles(t.table).templateName)));
    for (const Case& c : cases) {
        const ReadBook& book = books[c.table];
        ASSERT_FALSE(book.sheets.isEmpty()) << book.error.toStdString();
        EXPECT_EQ(captionOf(book.sheets.first(), c.row - 1), QString::fromUtf8(c.caption)) << "row " << c.row;
    }
}

TEST(Templates, DesignFileTemplateHasEmptyTextCellsInColumnA)
{
    const ReadBook book = tpworm::testing::readWithXlrd(programFile("111.xls"));
    ASSERT_TRUE(book.error.isEmpty()) << book.error.toStdString();
    ASSERT_FALSE(book.sheets.isEmpty());
    const ReadSheet& sheet = book.sheets.first();
    for (int row = 0; row < kDesignFileCells; ++row) {
        const QString cell = cellName(0, row);
        EXPECT_EQ(sheet.cells.value(cell).type, "blank") << cell.toStdString();
        EXPECT_EQ(sheet.cells.value(cell).format, "@") << cell.toStdString();
        EXPECT_FALSE(sheet.text(cellName(1, row)).isEmpty()) << "row " << row + 1 << " has no caption";
    }
    EXPECT_TRUE(sheet.merged.isEmpty());
}

TEST(Templates, LibreOfficeReadsWhatXlrdReads)
{
    const QStringList names{"111.xls", "1.xls", "1111.xls", "11.xls"};
    QStringList paths;
    for (const QString& n : names)
        paths << programFile(n);
    const QList<ReadBook> office = tpworm::testing::readWithLibreOffice(paths);
    ASSERT_EQ(office.size(), names.size());
    for (int i = 0; i < names.size(); ++i) {
        const std::string name = names[i].toStdString();
        ASSERT_TRUE(office[i].error.isEmpty()) << name << ": " << office[i].error.toStdString();
        const ReadBook xlrd = tpworm::testing::readWithXlrd(paths[i]);
        ASSERT_FALSE(office[i].sheets.isEmpty()) << name;
        ASSERT_FALSE(xlrd.sheets.isEmpty()) << name;
        const ReadSheet& lo = office[i].sheets.first();
        const ReadSheet& x = xlrd.sheets.first();
        EXPECT_EQ(lo.name, x.name) << name;
        int texts = 0;
        for (auto it = x.cells.begin(); it != x.cells.end(); ++it) {
            if (it->type != "text")
                continue;
            ++texts;
            EXPECT_EQ(lo.cells.value(it.key()).type, "string") << name << " " << it.key().toStdString();
            EXPECT_EQ(lo.text(it.key()), it->text) << name << " " << it.key().toStdString();
        }
        EXPECT_GT(texts, 10) << name;
        EXPECT_EQ(lo.merged.size(), x.merged.size()) << name;
        EXPECT_TRUE(office[i].fitsOnePage) << name << " does not print on one page";
    }
}
