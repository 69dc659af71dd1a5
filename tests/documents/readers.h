// Independent readers of the workbooks the program writes: python3-xlrd and
// LibreOffice headless. Both see a workbook as sheets of named cells.
#pragma once

#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>

namespace tpworm::testing {

struct ReadCell {
    QString type;   // xlrd: text, number, blank, ...; LibreOffice: string, float, ... ("" when empty)
    QString text;   // the cell's text (xlrd: numbers in Python's repr)
    QString format; // xlrd only: the number format string ("@" for text)
};

struct MergedRange {
    int firstRow = 0, lastRow = 0, firstColumn = 0, lastColumn = 0; // 0-based, inclusive
    bool covers(int column, int row) const
    {
        return row >= firstRow && row <= lastRow && column >= firstColumn && column <= lastColumn;
    }
};

struct ReadSheet {
    QString name;
    QMap<QString, ReadCell> cells; // "A1" -> cell; cells that hold nothing are left out by LibreOffice
    QList<MergedRange> merged;
    QString text(const QString& cell) const { return cells.value(cell).text; }
};

struct ReadBook {
    QList<ReadSheet> sheets;
    // LibreOffice only: the page layout of the first sheet fits one page.
    bool fitsOnePage = false;
    QString error; // why the reader failed; empty on success
};

// python3-xlrd with formatting information.
ReadBook readWithXlrd(const QString& path);

// LibreOffice headless: converts every file to flat OpenDocument in one run,
// with a private profile, and reads the results (in the order of paths).
QList<ReadBook> readWithLibreOffice(const QStringList& paths);

// Runs LibreOffice headless to convert one file (filter as for --convert-to,
// e.g. "fods" or "xls:MS Excel 97") into outputDir; returns the output path,
// empty on failure (message in *error).
QString convertWithLibreOffice(const QString& path, const QString& filter, const QString& extension,
                               const QString& outputDir, QString* error);

// Runs /usr/bin/python3 (the one with xlrd) on a script of this folder.
bool runTestScript(const QString& script, const QStringList& arguments, QByteArray* output, QString* error);

} // namespace tpworm::testing
