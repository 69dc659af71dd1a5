// The engine against real workbooks made by Excel, LibreOffice and others.
#include "corpus.h"

#include "workbook/cli_workbook.h"
#include "workbook/workbook.h"

#include <gtest/gtest.h>

#include <QFileInfo>

using namespace tpworm::workbook;
using namespace tpworm::workbook::testing;

namespace {

QMap<QString, QString> engineTexts(const Workbook& book)
{
    QMap<QString, QString> texts;
    for (const CellText& cell : book.NonEmptyCells())
        texts.insert(CellName(cell.column, cell.row), cell.text);
    return texts;
}

TEST(Corpus, EveryCellOfTheFirstSheetReadsAsTheIndependentReaderSeesIt)
{
    ASSERT_EQ(validCorpusFiles().size(), 37);
    for (const QString& name : validCorpusFiles()) {
        SCOPED_TRACE(name.toStdString());
        Workbook book;
        book.SetFileName(corpusDir() + u'/' + name);
        try {
            book.Load();
        } catch (const WorkbookError& error) {
            ADD_FAILURE() << "refused: " << error.what();
            continue;
        }
        const QMap<QString, QString> expected = expectedTexts(name);
        const QMap<QString, QString> actual = engineTexts(book);
        for (auto it = expected.begin(); it != expected.end(); ++it)
            EXPECT_EQ(actual.value(it.key()).toStdString(), it.value().toStdString()) << it.key().toStdString();
        for (auto it = actual.begin(); it != actual.end(); ++it)
            EXPECT_TRUE(expected.contains(it.key())) << "unexpected " << it.key().toStdString() << " = "
                                                     << it.value().toStdString();
        // GetCellText agrees with the listing.
        for (auto it = expected.begin(); it != expected.end(); ++it) {
            int column = 0, row = 0;
            ASSERT_TRUE(parseCellName(it.key(), column, row));
            EXPECT_EQ(book.GetCellText(column, row).toStdString(), it.value().toStdString()) << it.key().toStdString();
        }
        EXPECT_EQ(book.GetCellText(255, 65535), QString());
        EXPECT_EQ(book.GetCellText(-1, 0), QString());
    }
}

TEST(Corpus, EveryBadFileIsRefusedWithAReason)
{
    ASSERT_FALSE(badCorpusFiles().isEmpty());
    for (const QString& path : badCorpusFiles()) {
        SCOPED_TRACE(path.toStdString());
        Workbook book;
        book.SetFileName(path);
        try {
            book.Load();
            ADD_FAILURE() << "loaded";
        } catch (const WorkbookError& error) {
            EXPECT_TRUE(error.message().contains(QFileInfo(path).fileName())) << error.what();
            std::printf("  %s: %s\n", QFileInfo(path).fileName().toUtf8().constData(), error.what());
        }
        EXPECT_FALSE(book.IsLoaded());
    }
}

} // namespace
