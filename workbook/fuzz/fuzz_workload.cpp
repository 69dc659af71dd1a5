#include "workbook/fuzz/fuzz_workload.h"

#include "workbook/workbook.h"

#include <QMap>

#include <algorithm>

#include <vector>

namespace tpworm::workbook::fuzz {

namespace {

struct Edit {
    int column;
    int row;
    QString text;
};

using Texts = QMap<std::pair<int, int>, QString>;

Texts textsOf(const Workbook& book)
{
    Texts texts;
    for (const CellText& cell : book.NonEmptyCells())
        texts.insert({cell.row, cell.column}, cell.text);
    return texts;
}

// Cells chosen from the input itself, so the fuzzer steers them too: an
// existing cell, one in or next to the used range, a long CJK text and an
// empty text.
std::vector<Edit> editsFor(const QByteArray& input, const Texts& texts)
{
    auto byte = [&](qsizetype i) { return input.isEmpty() ? 0 : static_cast<unsigned char>(input[i % input.size()]); };
    std::vector<Edit> edits;
    if (!texts.isEmpty()) {
        const auto cell = std::next(texts.begin(), byte(7) % texts.size()).key();
        edits.push_back({cell.second, cell.first, QStringLiteral("设计 %1").arg(byte(9))});
    }
    edits.push_back({byte(11) % 16, byte(13) % 40, QStringLiteral("Zürich")});
    edits.push_back({byte(17) % 256, (byte(19) << 8 | byte(23)) % 65536, QString(9000 + byte(29), QChar(u'蜗'))});
    edits.push_back({byte(31) % 8, byte(37) % 8, QString()});
    return edits;
}

// Loads, checks the two ways of reading against each other and makes the
// edits; expected receives the cells the book must show afterwards.
QString loadAndEdit(const QByteArray& input, Workbook& book, Texts& expected, bool& usable)
{
    usable = false;
    try {
        book.LoadFromBuffer(input);
    } catch (const WorkbookError&) {
        return book.IsLoaded() ? QStringLiteral("a refused input left a workbook loaded") : QString();
    }
    expected = textsOf(book);
    for (auto it = expected.begin(); it != expected.end(); ++it)
        if (book.GetCellText(it.key().second, it.key().first) != it.value())
            return QStringLiteral("GetCellText disagrees with NonEmptyCells");

    const std::vector<Edit> edits = editsFor(input, expected);
    try {
        for (const Edit& e : edits) {
            book.SetCellText(e.column, e.row, e.text);
            expected.remove({e.row, e.column});
            if (!e.text.isEmpty()) expected.insert({e.row, e.column}, e.text);
        }
    } catch (const WorkbookError&) {
        return QString(); // a first sheet that is no worksheet
    }
    // The last of several edits of one cell wins.
    for (const Edit& e : edits)
        if (book.GetCellText(e.column, e.row) != expected.value({e.row, e.column}))
            return QStringLiteral("a cell does not read back the text just written");
    usable = true;
    return QString();
}

} // namespace

QString runLoad(const QByteArray& input)
{
    // Lean on purpose, so that the fuzzer runs it often: the listing once, a
    // spread of cells read both ways, the edits read back; the whole
    // comparison is runCycle's.
    Workbook book;
    try {
        book.LoadFromBuffer(input);
    } catch (const WorkbookError&) {
        return book.IsLoaded() ? QStringLiteral("a refused input left a workbook loaded") : QString();
    }
    const std::vector<CellText> cells = book.NonEmptyCells();
    const std::size_t stride = std::max<std::size_t>(1, cells.size() / 256);
    for (std::size_t i = 0; i < cells.size(); i += stride)
        if (book.GetCellText(cells[i].column, cells[i].row) != cells[i].text)
            return QStringLiteral("GetCellText disagrees with NonEmptyCells");
    for (std::size_t i = 1; i < cells.size(); ++i)
        if (std::make_pair(cells[i - 1].row, cells[i - 1].column) >= std::make_pair(cells[i].row, cells[i].column))
            return QStringLiteral("NonEmptyCells is not in row, then column order");

    Texts texts;
    if (!cells.empty()) {
        const CellText& some = cells[static_cast<std::size_t>(input.size()) % cells.size()];
        texts.insert({some.row, some.column}, some.text);
    }
    Texts expected;
    const std::vector<Edit> edits = editsFor(input, texts);
    try {
        for (const Edit& e : edits) {
            book.SetCellText(e.column, e.row, e.text);
            expected.insert({e.row, e.column}, e.text);
        }
    } catch (const WorkbookError&) {
        return QString(); // a first sheet that is no worksheet
    }
    for (auto it = expected.begin(); it != expected.end(); ++it)
        if (book.GetCellText(it.key().second, it.key().first) != it.value())
            return QStringLiteral("a cell does not read back the text just written");
    // The cells no edit touched read as before.
    for (std::size_t i = 0; i < cells.size(); i += stride)
        if (!expected.contains({cells[i].row, cells[i].column})
            && book.GetCellText(cells[i].column, cells[i].row) != cells[i].text)
            return QStringLiteral("an edit changed a cell it did not name");
    return QString();
}

QString runCycle(const QByteArray& input)
{
    Workbook book;
    Texts expected;
    bool usable = false;
    const QString failure = loadAndEdit(input, book, expected, usable);
    if (!failure.isEmpty() || !usable) return failure;

    QByteArray saved;
    try {
        saved = book.SaveToBuffer();
    } catch (const WorkbookError&) {
        return QString(); // the workbook would exceed the format's limits
    }
    Workbook again;
    try {
        again.LoadFromBuffer(saved);
    } catch (const WorkbookError& error) {
        return QStringLiteral("the saved workbook cannot be loaded: ") + error.message();
    }
    if (textsOf(again) != expected)
        return QStringLiteral("the saved workbook does not show the cells as set and kept");
    if (again.SaveToBuffer().isEmpty())
        return QStringLiteral("the reloaded workbook cannot be saved");
    return QString();
}

} // namespace tpworm::workbook::fuzz
