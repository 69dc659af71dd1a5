// LibreOffice headless reads workbooks the engine saved: every sheet converted
// to CSV matches the conversion of the original, apart from the set cells.
#include "corpus.h"

#include "workbook/cli_workbook.h"
#include "workbook/workbook.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

using namespace tpworm::workbook;
using namespace tpworm::workbook::testing;

namespace {

using Grid = std::vector<QStringList>;

Grid parseCsv(const QString& text)
{
    Grid rows;
    QStringList row;
    QString field;
    bool quoted = false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (quoted) {
            if (c == u'"' && i + 1 < text.size() && text[i + 1] == u'"') { field += u'"'; ++i; }
            else if (c == u'"') quoted = false;
            else field += c;
        } else if (c == u'"') {
            quoted = true;
        } else if (c == u',') {
            row << field;
            field.clear();
        } else if (c == u'\n') {
            row << field;
            field.clear();
            rows.push_back(row);
            row.clear();
        } else if (c != u'\r') {
            field += c;
        }
    }
    if (!field.isEmpty() || !row.isEmpty()) { row << field; rows.push_back(row); }
    return rows;
}

QString at(const Grid& grid, int column, int row)
{
    if (row >= int(grid.size()) || column >= grid[row].size()) return QString();
    return grid[row][column];
}

void put(Grid& grid, int column, int row, const QString& text)
{
    if (row >= int(grid.size())) grid.resize(row + 1);
    while (grid[row].size() <= column) grid[row] << QString();
    grid[row][column] = text;
}

Grid readCsv(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return {};
    return parseCsv(QString::fromUtf8(file.readAll()));
}

// One soffice run converting every sheet of every file to CSV in outDir.
bool convertAll(const QStringList& files, const QString& outDir, const QString& profile)
{
    QProcess soffice;
    soffice.start(QStringLiteral("soffice"),
                  QStringList{QStringLiteral("-env:UserInstallation=file://") + profile, QStringLiteral("--headless"),
                              QStringLiteral("--convert-to"),
                              QStringLiteral("csv:Text - txt - csv (StarCalc):44,34,76,1,,0,false,true,false,false,false,-1"),
                              QStringLiteral("--outdir"), outDir}
                      + files);
    return soffice.waitForFinished(900000) && soffice.exitStatus() == QProcess::NormalExit;
}

// Sheets of every kind: Chinese with charts and 23 sheets, LibreOffice and
// Gnumeric files, LABEL cells without an SST, an empty first sheet, formulas,
// hidden sheets with VBA, a large SST.
const char* const kFiles[] = {
    "poi-12843-1.xls", "gen-lo-mixed.xls", "gen-gnumeric-dsf.xls", "poi-61045-govdocs.xls",
    "poi-SimpleWithImages.xls", "xlrd-formula_test_sjmachin.xls", "calamine-any_sheets.xls",
    "poi-19599-2.xls", "poi-44235.xls",
};

TEST(LibreOffice, ConvertsSavedWorkbooksWithTheSetCellsAndEveryOtherCellUnchanged)
{
    ASSERT_FALSE(QStandardPaths::findExecutable(QStringLiteral("soffice")).isEmpty())
        << "LibreOffice (libreoffice-calc-nogui) is not installed";
    QTemporaryDir dir;
    const QString saved = dir.filePath(QStringLiteral("saved"));
    QDir().mkpath(saved);
    const QStringList texts = {QStringLiteral("设计 A1"), QStringLiteral("Zürich ünïcode"),
                               QString(9000, QChar(u'蜗')), QStringLiteral("new row block")};
    // A1 and cells outside the used range, which no formula of the file refers
    // to (LibreOffice recalculates formulas whose inputs change).
    auto cellsOf = [](const char* name) {
        const QJsonObject info = expectedSheets().value(QLatin1String(name)).toObject();
        const int rows = info.value(QStringLiteral("nrows")).toInt();
        const int columns = info.value(QStringLiteral("ncols")).toInt();
        return std::vector<std::pair<int, int>>{
            {0, 0}, {std::min(columns + 1, 255), 2}, {1, rows + 30}, {4, rows + 200}};
    };
    QStringList originals, outputs;
    for (const char* name : kFiles) {
        const auto cells = cellsOf(name);
        Workbook book;
        book.SetFileName(corpusDir() + u'/' + QLatin1String(name));
        book.Load();
        for (std::size_t k = 0; k < cells.size(); ++k)
            book.SetCellText(cells[k].first, cells[k].second, texts[qsizetype(k)]);
        book.SetFileName(saved + u'/' + QLatin1String(name));
        book.Save();
        originals << corpusDir() + u'/' + QLatin1String(name);
        outputs << saved + u'/' + QLatin1String(name);
    }
    const QString profile = dir.filePath(QStringLiteral("profile"));
    ASSERT_TRUE(convertAll(originals, dir.filePath(QStringLiteral("csv-before")), profile));
    ASSERT_TRUE(convertAll(outputs, dir.filePath(QStringLiteral("csv-after")), profile));

    for (const char* name : kFiles) {
        SCOPED_TRACE(name);
        const auto cells = cellsOf(name);
        const QString base = QString::fromLatin1(name).chopped(4);
        const QString firstSheet = expectedSheets().value(QLatin1String(name)).toObject()
                                       .value(QStringLiteral("sheet_name")).toString();
        const QStringList sheets = QDir(dir.filePath(QStringLiteral("csv-before")))
                                       .entryList({base + QStringLiteral("-*.csv")}, QDir::Files);
        ASSERT_FALSE(sheets.isEmpty());
        for (const QString& sheet : sheets) {
            Grid expected = readCsv(dir.filePath(QStringLiteral("csv-before/")) + sheet);
            const Grid actual = readCsv(dir.filePath(QStringLiteral("csv-after/")) + sheet);
            if (sheet == base + u'-' + firstSheet + QStringLiteral(".csv"))
                for (std::size_t k = 0; k < cells.size(); ++k)
                    put(expected, cells[k].first, cells[k].second, texts[qsizetype(k)]);
            const std::size_t rows = std::max(expected.size(), actual.size());
            for (std::size_t r = 0; r < rows; ++r) {
                const int columns = std::max(r < expected.size() ? int(expected[r].size()) : 0,
                                             r < actual.size() ? int(actual[r].size()) : 0);
                for (int c = 0; c < columns; ++c)
                    EXPECT_EQ(at(actual, c, int(r)).toStdString(), at(expected, c, int(r)).toStdString())
                        << sheet.toStdString() << " " << CellName(c, int(r)).toStdString();
            }
        }
    }
}

} // namespace
