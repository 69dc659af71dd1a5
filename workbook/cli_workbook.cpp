#include "workbook/cli_workbook.h"

#include "workbook/workbook.h"

namespace tpworm::workbook {

namespace {

QString escaped(const QString& text)
{
    QString out;
    out.reserve(text.size());
    for (QChar c : text) {
        if (c == u'\\') out += QStringLiteral("\\\\");
        else if (c == u'\t') out += QStringLiteral("\\t");
        else if (c == u'\n') out += QStringLiteral("\\n");
        else out += c;
    }
    return out;
}

struct Assignment {
    int column = 0;
    int row = 0;
    QString text;
};

} // namespace

bool parseCellName(const QString& name, int& column, int& row)
{
    const std::optional<CellAddress> cell = CellAddress::parse(name);
    if (!cell) return false;
    column = cell->column;
    row = cell->row;
    return true;
}

int workbookCat(const QString& file, QTextStream& out, QTextStream& err)
{
    Workbook book;
    book.SetFileName(file);
    try {
        book.Load();
    } catch (const WorkbookError& error) {
        err << error.message() << Qt::endl;
        return 1;
    }
    for (const CellText& cell : book.NonEmptyCells())
        out << CellName(cell.column, cell.row) << '\t' << escaped(cell.text) << '\n';
    out.flush();
    return 0;
}

int workbookSet(const QString& file, const QString& output, const QStringList& cellAssignments,
                QTextStream& out, QTextStream& err)
{
    (void)out;
    std::vector<Assignment> assignments;
    for (const QString& argument : cellAssignments) {
        const qsizetype equals = argument.indexOf(u'=');
        Assignment a;
        if (equals <= 0 || !parseCellName(argument.left(equals), a.column, a.row)) {
            err << QStringLiteral("\"%1\" is not a cell assignment of the form A1=TEXT (columns A to IV, rows 1 to 65536).")
                       .arg(argument)
                << Qt::endl;
            // The command was complete; one of its values names no cell.
            return 1;
        }
        a.text = argument.mid(equals + 1);
        assignments.push_back(a);
    }
    Workbook book;
    book.SetFileName(file);
    try {
        book.Load();
        for (const Assignment& a : assignments)
            book.SetCellText(a.column, a.row, a.text);
        book.SetFileName(output);
        book.Save();
    } catch (const WorkbookError& error) {
        err << error.message() << Qt::endl;
        return 1;
    }
    return 0;
}

} // namespace tpworm::workbook
