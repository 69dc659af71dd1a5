// Load, set a handful of cells, save: the saved workbook read back by the engine
// and by python3-xlrd shows the set cells as set and every other cell unchanged.
#include "corpus.h"

#include "workbook/cli_workbook.h"
#include "workbook/workbook.h"

#include <gtest/gtest.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QProcess>
#include <QTemporaryDir>

#include <algorithm>

using namespace tpworm::workbook;
using namespace tpworm::workbook::testing;

namespace {

struct Edit {
    int column;
    int row;
    QString text;
};

QString longText()
{
    // 15000 UTF-16 characters: far more than one record holds, so the string
    // is continued over CONTINUE records.
    QString text;
    for (int i = 0; i < 5000; ++i) text += QStringLiteral("蜗杆α");
    return text;
}

// Existing cells (one rewritten, one emptied), new cells in an existing row, past
// the used range, in a new row block, a long string and one outside the BMP.
std::vector<Edit> editsFor(const QString& name)
{
    const QJsonObject info = expectedSheets().value(name).toObject();
    const int rows = info.value(QStringLiteral("nrows")).toInt();
    const int columns = info.value(QStringLiteral("ncols")).toInt();
    std::vector<Edit> edits;
    const QStringList existing = expectedTexts(name).keys();
    int column = 0, row = 0;
    if (existing.size() >= 1 && parseCellName(existing[0], column, row))
        edits.push_back({column, row, QStringLiteral("Existing 已改 ✓")});
    if (existing.size() >= 2 && parseCellName(existing[1], column, row))
        edits.push_back({column, row, QString()});
    edits.push_back({std::min(columns + 1, 255), std::min(rows + 2, 65535), QStringLiteral("New cell: Zürich 蜗杆")});
    edits.push_back({std::min(columns, 255), 0, QStringLiteral("Row one gap 中")});
    edits.push_back({0, std::min(rows + 40, 65535), QStringLiteral("第二块 new block")});
    edits.push_back({1, std::min(rows + 41, 65535), longText()});
    edits.push_back({2, std::min(rows + 41, 65535), QStringLiteral("𝄞 outside the BMP")});
    return edits;
}

QMap<QString, QString> withEdits(QMap<QString, QString> texts, const std::vector<Edit>& edits)
{
    for (const Edit& e : edits) {
        texts.remove(CellName(e.column, e.row));
        if (!e.text.isEmpty()) texts.insert(CellName(e.column, e.row), e.text);
    }
    return texts;
}

QMap<QString, QString> engineTexts(const Workbook& book)
{
    QMap<QString, QString> texts;
    for (const CellText& cell : book.NonEmptyCells())
        texts.insert(CellName(cell.column, cell.row), cell.text);
    return texts;
}

QJsonObject xlrdDump(const QStringList& files)
{
    QProcess python;
    python.start(QStringLiteral(TPWORM_PYTHON3),
                 QStringList{QStringLiteral(TPWORM_SOURCE_DIR "/tests/workbook/dump_sheets.py")} + files);
    if (!python.waitForFinished(600000)) return {};
    return QJsonDocument::fromJson(python.readAllStandardOutput()).object();
}

class RoundTrip : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        dir = new QTemporaryDir;
        for (const QString& name : validCorpusFiles()) {
            Workbook book;
            book.SetFileName(corpusDir() + u'/' + name);
            book.Load();
            for (const Edit& e : editsFor(name)) book.SetCellText(e.column, e.row, e.text);
            book.SetFileName(dir->filePath(name));
            book.Save();
        }
    }
    static void TearDownTestSuite()
    {
        delete dir;
        dir = nullptr;
    }
    static QTemporaryDir* dir;
};
QTemporaryDir* RoundTrip::dir = nullptr;

TEST_F(RoundTrip, TheEngineReadsBackTheSetCellsAndEveryOtherCellUnchanged)
{
    for (const QString& name : validCorpusFiles()) {
        SCOPED_TRACE(name.toStdString());
        Workbook book;
        book.SetFileName(dir->filePath(name));
        ASSERT_NO_THROW(book.Load());
        const std::vector<Edit> edits = editsFor(name);
        for (const Edit& e : edits)
            EXPECT_EQ(book.GetCellText(e.column, e.row), e.text) << CellName(e.column, e.row).toStdString();
        EXPECT_TRUE(engineTexts(book) == withEdits(expectedTexts(name), edits));
    }
}

TEST_F(RoundTrip, XlrdReadsEverySheetUnchangedApartFromTheSetCells)
{
    QStringList files;
    for (const QString& name : validCorpusFiles())
        files << corpusDir() + u'/' + name << dir->filePath(name);
    const QJsonObject dump = xlrdDump(files);
    ASSERT_FALSE(dump.isEmpty()) << "python3-xlrd did not run";
    for (const QString& name : validCorpusFiles()) {
        SCOPED_TRACE(name.toStdString());
        const QJsonObject before = dump.value(corpusDir() + u'/' + name).toObject();
        const QJsonObject after = dump.value(dir->filePath(name)).toObject();
        ASSERT_FALSE(after.contains(QStringLiteral("error"))) << after.value(QStringLiteral("error")).toString().toStdString();
        const QJsonArray sheetsBefore = before.value(QStringLiteral("sheets")).toArray();
        const QJsonArray sheetsAfter = after.value(QStringLiteral("sheets")).toArray();
        ASSERT_EQ(sheetsBefore.size(), sheetsAfter.size());
        for (qsizetype s = 0; s < sheetsBefore.size(); ++s) {
            const QJsonObject a = sheetsBefore[s].toObject();
            const QJsonObject b = sheetsAfter[s].toObject();
            EXPECT_EQ(a.value(QStringLiteral("name")), b.value(QStringLiteral("name")));
            QJsonObject cells = a.value(QStringLiteral("cells")).toObject();
            if (s == 0) {
                for (const Edit& e : editsFor(name))
                    cells.insert(CellName(e.column, e.row), QJsonArray{1, e.text}); // xlrd's XL_CELL_TEXT
            }
            const QJsonObject got = b.value(QStringLiteral("cells")).toObject();
            EXPECT_EQ(cells.size(), got.size()) << "sheet " << s;
            for (auto it = cells.begin(); it != cells.end(); ++it)
                EXPECT_EQ(it.value(), got.value(it.key())) << "sheet " << s << " " << it.key().toStdString();
        }
    }
}

} // namespace
