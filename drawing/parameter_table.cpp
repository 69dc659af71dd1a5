#include "drawing/parameter_table.h"

#include <QFile>
#include <QHash>

namespace tpworm::drawing {

namespace {

QString sourceName(documents::ParameterTable table)
{
    switch (table) {
    case documents::ParameterTable::Worm: return QStringLiteral(":/tables/worm.tsv");
    case documents::ParameterTable::Wheel: return QStringLiteral(":/tables/wheel.tsv");
    case documents::ParameterTable::Hob: return QStringLiteral(":/tables/hob.tsv");
    }
    return QString();
}

} // namespace

ParameterTableText parameterTable(documents::ParameterTable table, const DesignRecord& design,
                                  const documents::FieldTexts& fields)
{
    QFile file(sourceName(table));
    if (!file.open(QIODevice::ReadOnly))
        throw documents::DocumentError(QStringLiteral("the table source %1 is missing from the program").arg(file.fileName()));
    QHash<QString, QString> cells;
    for (const documents::CellText& cell : documents::tableCells(table, design, fields))
        cells.insert(documents::cellName(cell.column, cell.row), cell.text);

    ParameterTableText out;
    for (const QString& line : QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'))) {
        if (line.isEmpty() || line.startsWith(QLatin1Char('#')))
            continue;
        const QStringList f = line.split(QLatin1Char('\t'));
        const QString kind = f.value(0);
        if (kind == QLatin1String("title")) {
            out.title = f.value(1);
        } else if (kind == QLatin1String("heading")) {
            TableRow row;
            row.caption = f.value(2);
            row.heading = true;
            out.rows.append(row);
        } else if (kind == QLatin1String("note")) {
            out.notes << f.value(2);
        } else if (kind == QLatin1String("row")) {
            const int number = f.value(1).toInt();
            const QString valueColumn = f.value(4);
            // A value over two lines has its deviation on one of them: the
            // lower deviations of worm and wheel on the second, the hob's upper
            // deviation on the first.
            const bool twoLines = f.value(6).startsWith(QLatin1Char('2'));
            const QString beside = QStringLiteral("D") + QString::number(number);
            const QString below = QStringLiteral("D") + QString::number(number + 1);
            TableRow row;
            row.caption = f.value(2);
            row.symbol = f.value(3);
            row.value = cells.value((valueColumn == QLatin1String("B:C") ? QStringLiteral("B") : QStringLiteral("C"))
                                    + QString::number(number));
            row.deviation = cells.contains(beside) || !twoLines ? cells.value(beside) : cells.value(below);
            row.unit = f.value(5);
            out.rows.append(row);
        }
    }
    return out;
}

} // namespace tpworm::drawing
