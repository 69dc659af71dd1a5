// What the workbook engine makes of a set of files: for each file, the load
// error or its non-empty cells, and for each of a few edit sets the saved
// bytes (or the error). Built once against an earlier engine and once against
// the current one (identity.sh), the two output folders must be identical:
// a change meant to make the engine faster must not change what it writes.
//
//   edit_outputs OUT-DIR FILE...
#include "workbook/workbook.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cstdio>
#include <functional>
#include <vector>

using namespace tpworm::workbook;

namespace {

struct Edit {
    int column;
    int row;
    QString text;
};

QString longText()
{
    QString text; // more than one record holds: continued over CONTINUE records
    for (int i = 0; i < 4000; ++i) text += QStringLiteral("蜗杆α");
    return text;
}

// The edit sets, made from the cells the file holds, so that existing cells,
// the middle of runs, rows as they were read and new rows are all reached.
std::vector<std::vector<Edit>> editSets(const std::vector<CellText>& cells)
{
    std::vector<std::vector<Edit>> sets;
    sets.push_back({}); // saved untouched
    std::vector<Edit> bench;
    for (int k = 0; k < 25; ++k) bench.push_back({2, 2 + k, QStringLiteral("value %1 设计").arg(k)});
    sets.push_back(bench);
    int lastRow = 0, lastColumn = 0;
    for (const CellText& c : cells) {
        lastRow = std::max(lastRow, c.row);
        lastColumn = std::max(lastColumn, c.column);
    }
    std::vector<Edit> mixed;
    if (!cells.empty()) mixed.push_back({cells.front().column, cells.front().row, QStringLiteral("Existing 已改 ✓")});
    if (cells.size() > 1) mixed.push_back({cells[1].column, cells[1].row, QString()});
    if (cells.size() > 2) mixed.push_back({cells[cells.size() / 2].column, cells[cells.size() / 2].row, cells[0].text});
    if (cells.size() > 3) mixed.push_back({cells.back().column, cells.back().row, QStringLiteral("last 末")});
    mixed.push_back({std::min(lastColumn + 1, 255), std::min(lastRow + 2, 65535), QStringLiteral("New cell: Zürich 蜗杆")});
    mixed.push_back({std::min(lastColumn, 255), 0, QStringLiteral("Row one gap 中")});
    mixed.push_back({0, std::min(lastRow + 40, 65535), QStringLiteral("第二块 new block")});
    mixed.push_back({1, std::min(lastRow + 41, 65535), longText()});
    mixed.push_back({2, std::min(lastRow + 41, 65535), QStringLiteral("𝄞 outside the BMP")});
    sets.push_back(mixed);
    // Every column of the first rows, empty cells and runs included, and a
    // text set twice.
    std::vector<Edit> block;
    for (int row = 0; row < 4; ++row)
        for (int column = 0; column < 12; ++column)
            block.push_back({column, row, QStringLiteral("b%1").arg(row * 12 + column)});
    block.push_back({5, 1, QStringLiteral("b0")});
    sets.push_back(block);
    return sets;
}

bool writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

QByteArray cellDump(const std::vector<CellText>& cells)
{
    QString out;
    for (const CellText& c : cells) out += CellName(c.column, c.row) + u'\t' + c.text + u'\n';
    return out.toUtf8();
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 3) {
        std::fprintf(stderr, "usage: edit_outputs OUT-DIR FILE...\n");
        return 2;
    }
    const QDir out(args[1]);
    QDir().mkpath(out.path());
    bool ok = true;
    for (const QString& path : args.mid(2)) {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly)) {
            std::fprintf(stderr, "cannot read %s\n", qPrintable(path));
            return 2;
        }
        const QByteArray bytes = file.readAll();
        const QString base = out.filePath(QFileInfo(path).fileName());
        std::vector<CellText> cells;
        try {
            Workbook book;
            book.LoadFromBuffer(bytes);
            cells = book.NonEmptyCells();
        } catch (const WorkbookError& error) {
            ok &= writeFile(base + QStringLiteral(".load-error"), error.message().toUtf8());
            continue;
        }
        ok &= writeFile(base + QStringLiteral(".cells"), cellDump(cells));
        const auto sets = editSets(cells);
        for (std::size_t k = 0; k < sets.size(); ++k) {
            const QString name = base + QStringLiteral(".edit%1").arg(k);
            try {
                Workbook book;
                book.LoadFromBuffer(bytes);
                for (const Edit& e : sets[k]) book.SetCellText(e.column, e.row, e.text);
                ok &= writeFile(name + QStringLiteral(".xls"), book.SaveToBuffer());
                // What a reader of the saved file then sees.
                Workbook again;
                again.LoadFromBuffer(book.SaveToBuffer());
                ok &= writeFile(name + QStringLiteral(".cells"), cellDump(again.NonEmptyCells()));
            } catch (const WorkbookError& error) {
                ok &= writeFile(name + QStringLiteral(".error"), error.message().toUtf8());
            }
        }
    }
    return ok ? 0 : 1;
}
