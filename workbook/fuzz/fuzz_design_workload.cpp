#include "workbook/fuzz/fuzz_workload.h"

#include "documents/cell_maps.h"
#include "workbook/workbook.h"

namespace tpworm::workbook::fuzz {

QString runDesignOpen(const QByteArray& input)
{
    Workbook book;
    try {
        book.LoadFromBuffer(input);
    } catch (const WorkbookError&) {
        return QString();
    }
    documents::DesignFileContent content;
    try {
        content = documents::readDesignFile([&book](int column, int row) { return book.GetCellText(column, row); });
    } catch (const documents::DocumentError&) {
        return QString(); // not a design file this program wrote
    }
    for (int i = 0; i < 13; ++i)
        if (content.edits[std::size_t(i)] != book.GetCellText(0, i))
            return QStringLiteral("a field does not hold its cell's text");
    if (content.grade < 0 || content.grade > 9)
        return QStringLiteral("the grade is not the digit A9 starts with");
    if (content.gradeIndex() < -1 || content.gradeIndex() > 2)
        return QStringLiteral("the grade index lies outside the grade list");
    return QString();
}

} // namespace tpworm::workbook::fuzz
