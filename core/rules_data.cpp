#include "core/rules_data.h"

#include "core/numeric.h"

#include <algorithm>

namespace tpworm::rules {

RulesError::RulesError(const QString& message) : std::runtime_error(message.toStdString()) {}

namespace {

bool isNumericType(const QVariant& value)
{
    switch (value.typeId()) {
    case QMetaType::Double:
    case QMetaType::Float:
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
        return true;
    default:
        return false;
    }
}

} // namespace

QVariant TableData::Field(int row, int column) const
{
    if (row < 0 || row >= rows.size())
        throw RulesError(QStringLiteral("数据表 %1 没有第 %2 行").arg(name).arg(row + 1));
    if (column < 0 || column >= columnNames.size())
        throw RulesError(QStringLiteral("数据表 %1 只有 %2 列，缺少第 %3 列（从 0 数起）")
                             .arg(name)
                             .arg(columnNames.size())
                             .arg(column));
    // A row shorter than the header reads as empty past its end.
    return rows[row].value(column);
}

const TableData::PreparedCell* TableData::prepared(int row, int column) const
{
    if (prepared_.empty() || row < 0 || row >= rows.size() || column < 0 || column >= columnNames.size()
        || preparedSeparator_ != decimalSeparator())
        return nullptr;
    return &prepared_[std::size_t(row) * std::size_t(columnNames.size()) + std::size_t(column)];
}

void TableData::prepare()
{
    prepared_.clear();
    const int columns = ColumnCount();
    std::vector<PreparedCell> cells(std::size_t(RowCount()) * std::size_t(columns));
    for (int row = 0; row < RowCount(); ++row)
        for (int column = 0; column < columns; ++column) {
            PreparedCell& cell = cells[std::size_t(row) * std::size_t(columns) + std::size_t(column)];
            cell.text = Text(row, column);
            // What Number() and StrToFloat(Text()) give, tried without
            // exceptions: a table has many cells that are no numbers, and
            // an exception per cell was a tenth of a one-design run.
            const QVariant value = Field(row, column);
            if (isNumericType(value)) {
                cell.number = value.toDouble();
                cell.hasNumber = true;
            } else {
                cell.hasNumber = TryStrToFloat(value.isNull() ? QString() : value.toString(), cell.number);
            }
            cell.hasTextNumber = TryStrToFloat(cell.text, cell.textNumber);
        }
    prepared_ = std::move(cells);
    preparedSeparator_ = decimalSeparator();
}

QString TableData::Text(int row, int column) const
{
    if (const PreparedCell* cell = prepared(row, column))
        return cell->text;
    const QVariant value = Field(row, column);
    if (value.isNull())
        return QString();
    if (value.typeId() == QMetaType::Double)
        return FloatToStr(value.toDouble());
    return value.toString();
}

long double TableData::Number(int row, int column) const
{
    if (const PreparedCell* cell = prepared(row, column); cell && cell->hasNumber)
        return cell->number;
    const QVariant value = Field(row, column);
    if (isNumericType(value))
        return value.toDouble();
    const QString text = value.isNull() ? QString() : value.toString();
    try {
        return StrToFloat(text);
    } catch (const ConvertError&) {
        throw RulesError(QStringLiteral("数据表 %1 第 %2 行第 %3 列的值“%4”不是数字")
                             .arg(name)
                             .arg(row + 1)
                             .arg(column)
                             .arg(text));
    }
}

int TableData::RangeSearch(long double key) const
{
    if (RowCount() == 0)
        throw RulesError(QStringLiteral("数据表 %1 没有数据").arg(name));
    int row = 0;
    while (row < RowCount() - 1 && Number(row, column::kRangeTo) < key)
        ++row;
    return row;
}

long double TableData::TextNumber(int row, int column) const
{
    if (const PreparedCell* cell = prepared(row, column); cell && cell->hasTextNumber)
        return cell->textNumber;
    return StrToFloat(Text(row, column));
}

const TableData& LoadedTable::get() const
{
    if (!error.isEmpty())
        throw RulesError(error);
    return data;
}

const TableData& RulesData::table(const QString& name) const
{
    for (const LoadedTable* t : {&grade6, &grade7, &grade8, &reliefAmounts, &reliefLengths})
        if (t->data.name == name)
            return t->get();
    throw RulesError(QStringLiteral("无法读取数据表 %1").arg(name));
}

void loadCoefficients(const TableData& nzhi, Coefficients& coefficients, bool& anyDiffers)
{
    if (nzhi.RowCount() == 0)
        throw RulesError(QStringLiteral("数据表 %1 没有数据").arg(nzhi.name));
    for (int k = 0; k < kCoefficientCount; ++k) {
        // Moving on from the last row stays on it.
        const int row = std::min(k, nzhi.RowCount() - 1);
        const long double current = nzhi.Number(row, column::kCoefficientValue);
        coefficients[k] = double(current);
        if (current != nzhi.Number(row, column::kCoefficientDefault))
            anyDiffers = true;
    }
}

} // namespace tpworm::rules
