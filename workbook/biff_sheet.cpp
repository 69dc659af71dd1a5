#include "workbook/biff_sheet.h"

#include "core/numeric.h"

#include <algorithm>
#include <cmath>
#include <utility>
#include <cstring>

namespace tpworm::workbook::biff {

namespace {

// BIFF8 sheets have 256 columns (A ... IV).
constexpr std::uint16_t kLastColumn = 255;
// ROW option bit: the row has a default cell format, in bits 16 to 27.
constexpr std::uint32_t kRowHasFormat = 0x00000080;
// ROW option bit that must always be set.
constexpr std::uint32_t kRowReservedOne = 0x00000100;
// DEFAULTROWHEIGHT flag: rows are hidden by default (the height field is then unused).
constexpr std::uint16_t kDefaultRowsHidden = 0x0002;
// Excel's standard row height in twips.
constexpr std::uint16_t kStandardRowHeight = 0x00FF;
constexpr qsizetype kRowRecordSize = 16;
// The format marks a FORMULA result that is not a number by 0xFFFF in its top bytes.
constexpr std::uint16_t kNonNumericResult = 0xFFFF;
enum FormulaResult : std::uint8_t { kResultString = 0, kResultBool = 1, kResultError = 2, kResultEmpty = 3 };

bool isCellTableRecord(std::uint16_t id)
{
    switch (id) {
    case kRow: case kDbCell: case kBlank: case kMulBlank: case kNumber: case kRk: case kMulRk:
    case kLabel: case kLabelSst: case kRString: case kBoolErr: case kFormula:
    case kString: case kArray: case kShrFmla: case kTable:
        return true;
    default:
        return false;
    }
}

bool isTrailingRecord(std::uint16_t id)
{
    return id == kString || id == kArray || id == kShrFmla || id == kTable;
}

const char* recordName(std::uint16_t id)
{
    switch (id) {
    case kBlank: return "BLANK";
    case kMulBlank: return "MULBLANK";
    case kNumber: return "NUMBER";
    case kRk: return "RK";
    case kMulRk: return "MULRK";
    case kLabel: return "LABEL";
    case kLabelSst: return "LABELSST";
    case kRString: return "RSTRING";
    case kBoolErr: return "BOOLERR";
    case kFormula: return "FORMULA";
    default: return "cell";
    }
}

// Fixed part of each single-cell record: row, column, format and the value.
qsizetype minimumCellSize(std::uint16_t id)
{
    switch (id) {
    case kBlank: return 6;
    case kBoolErr: return 8;
    case kRk: case kLabelSst: return 10;
    case kNumber: return 14;
    case kFormula: return 20;
    case kLabel: case kRString: return 9;
    default: return 6;
    }
}

[[noreturn]] void throwColumnOutOfRange()
{
    throw BiffError(QStringLiteral(
        "The workbook is damaged: a cell of the first sheet lies beyond the last column (IV)."));
}

// The number of cells of a MULRK or MULBLANK record, checked against its last-column field.
std::uint16_t runLength(const Record& record, qsizetype bytesPerCell)
{
    const qsizetype body = record.data.size() - 6;
    if (body < bytesPerCell || body % bytesPerCell != 0)
        throwTooShort(recordName(record.id));
    const qsizetype count = body / bytesPerCell;
    const std::uint16_t first = peekU16(record.data, 2);
    const std::uint16_t last = peekU16(record.data, record.data.size() - 2);
    if (last < first || last - first + 1 != count)
        throw BiffError(QStringLiteral("The workbook is damaged: a %1 record's cells do not match its columns.")
                            .arg(QLatin1String(recordName(record.id))));
    return static_cast<std::uint16_t>(count);
}

QByteArray cellHeader(std::uint16_t row, std::uint16_t column)
{
    QByteArray data;
    appendU16(data, row);
    appendU16(data, column);
    return data;
}

} // namespace

QString errorText(std::uint8_t code)
{
    switch (code) {
    case 0x00: return QStringLiteral("#NULL!");
    case 0x07: return QStringLiteral("#DIV/0!");
    case 0x0F: return QStringLiteral("#VALUE!");
    case 0x17: return QStringLiteral("#REF!");
    case 0x1D: return QStringLiteral("#NAME?");
    case 0x24: return QStringLiteral("#NUM!");
    case 0x2A: return QStringLiteral("#N/A");
    case 0x2B: return QStringLiteral("#GETTING_DATA");
    default: return QStringLiteral("#ERR%1").arg(code);
    }
}

double rkValue(std::uint32_t rk)
{
    double value;
    if (rk & 0x02) {
        value = static_cast<double>(static_cast<std::int32_t>(rk) >> 2);
    } else {
        const std::uint64_t bits = static_cast<std::uint64_t>(rk & 0xFFFFFFFCu) << 32;
        std::memcpy(&value, &bits, sizeof value);
    }
    if (rk & 0x01)
        value /= 100.0;
    return value;
}

QString numberText(double value)
{
    // No spreadsheet stores infinities or NaNs; a damaged file might.
    if (!std::isfinite(value))
        return QStringLiteral("#NUM!");
    return FloatToStr(value);
}

void FirstSheet::load(std::vector<Record> records, const SharedStrings& strings)
{
    records_ = std::move(records);
    prefix_.clear();
    between_.clear();
    suffix_.clear();
    trailing_.clear();
    rows_.clear();
    lastRow_ = rows_.end();
    index_.reset();
    dimensions_.reset();
    writeDbCells_ = false;
    modified_ = false;
    lastCell_.reset();

    // Depth 1 is the sheet itself; deeper records belong to embedded charts.
    std::vector<int> depth(records_.size());
    int level = 0;
    std::optional<std::size_t> first, last;
    for (std::size_t i = 0; i < records_.size(); ++i) {
        if (records_[i].id == kBof) ++level;
        depth[i] = level;
        if (records_[i].id == kEof) --level;
        if (depth[i] == 1 && isCellTableRecord(records_[i].id)) {
            if (!first) first = i;
            last = i;
        }
    }

    std::size_t prefixEnd = records_.size() - 1;
    std::size_t suffixStart = prefixEnd;
    if (first) {
        prefixEnd = *first;
        suffixStart = *last + 1;
    } else {
        // An empty sheet: cells will go where the format wants the cell table,
        // after DIMENSIONS (or before WINDOW2).
        for (std::size_t i = 0; i < records_.size(); ++i) {
            if (depth[i] != 1) continue;
            if (records_[i].id == kDimensions) { prefixEnd = suffixStart = i + 1; break; }
            if (records_[i].id == kWindow2) { prefixEnd = suffixStart = i; break; }
        }
    }

    for (std::size_t i = 0; i < prefixEnd; ++i)
        prefix_.push_back(static_cast<std::uint32_t>(i));
    for (std::size_t i = prefixEnd; i < suffixStart; ++i) {
        const Record& record = records_[i];
        const auto at = static_cast<std::uint32_t>(i);
        if (depth[i] != 1 || !isCellTableRecord(record.id)) {
            between_.push_back(at);
        } else if (record.id == kRow) {
            if (record.data.size() < kRowRecordSize) throwTooShort("ROW");
            rowAt(peekU16(record.data, 0)).rowRecord = at;
        } else if (record.id == kDbCell) {
            writeDbCells_ = true; // recomputed when the sheet is written
        } else if (isTrailingRecord(record.id)) {
            addTrailing(at);
        } else {
            addCellRecord(at, strings);
        }
    }
    for (std::size_t i = suffixStart; i < records_.size(); ++i)
        suffix_.push_back(static_cast<std::uint32_t>(i));

    for (std::size_t i = 0; i < prefix_.size(); ++i) {
        const Record& record = records_[prefix_[i]];
        if (record.id == kIndex && !index_) {
            const qsizetype size = record.data.size();
            if (size < 16 || (size - 16) % 4 != 0) throwTooShort("INDEX");
            index_ = i;
            writeDbCells_ = true;
        } else if (record.id == kDimensions && !dimensions_) {
            dimensions_ = i;
        }
    }
}

std::uint32_t FirstSheet::addRecord(Record record)
{
    records_.push_back(std::move(record));
    return static_cast<std::uint32_t>(records_.size() - 1);
}

void FirstSheet::addCellRecord(std::uint32_t at, const SharedStrings& strings)
{
    const Record& record = records_[at];
    const char* name = recordName(record.id);
    FieldReader fields(record.data, name);
    const std::uint16_t row = fields.u16();
    const std::uint16_t column = fields.u16();
    CellRef cell;
    cell.record = at;
    cell.firstColumn = column;
    cell.lastColumn = column;
    if (record.id == kMulRk) {
        cell.lastColumn = static_cast<std::uint16_t>(column + runLength(record, 6) - 1);
    } else if (record.id == kMulBlank) {
        cell.lastColumn = static_cast<std::uint16_t>(column + runLength(record, 2) - 1);
    } else if (record.data.size() < minimumCellSize(record.id)) {
        throwTooShort(name);
    }
    if (cell.lastColumn > kLastColumn)
        throwColumnOutOfRange();
    if (record.id == kLabelSst && peekU32(record.data, 6) >= static_cast<std::uint32_t>(strings.size()))
        throw BiffError(QStringLiteral(
            "The workbook is damaged: a cell of the first sheet refers to a shared string that does not exist."));
    if (record.id == kLabel || record.id == kRString) {
        // Checked now, decoded when asked for.
        ContinuedReader reader(record, name, 6);
        (void)readUnicodeString(reader);
    }
    // A later record for the same cell replaces the earlier one, as readers do.
    clearColumns(row, cell.firstColumn, cell.lastColumn);
    putCell(rowAt(row), cell);
    lastCell_ = std::make_pair(row, column);
}

SheetRow& FirstSheet::rowAt(std::uint16_t row)
{
    if (lastRow_ != rows_.end() && lastRow_->first == row) return lastRow_->second;
    if (!rows_.empty()) {
        const auto last = std::prev(rows_.end());
        if (last->first == row) return last->second;
        if (last->first < row) {
            lastRow_ = rows_.emplace_hint(rows_.end(), row, SheetRow{});
            return lastRow_->second;
        }
    }
    lastRow_ = rows_.try_emplace(row).first;
    return lastRow_->second;
}

SheetRow* FirstSheet::findRow(std::uint16_t row)
{
    return const_cast<SheetRow*>(std::as_const(*this).findRow(row));
}

const SheetRow* FirstSheet::findRow(std::uint16_t row) const
{
    if (lastRow_ != rows_.end() && lastRow_->first == row) return &lastRow_->second;
    if (rows_.empty()) return nullptr;
    const auto last = std::prev(rows_.end());
    if (last->first == row) return &last->second;
    if (last->first < row) return nullptr;
    const auto it = const_cast<std::map<std::uint16_t, SheetRow>&>(rows_).find(row);
    if (it == rows_.end()) return nullptr;
    lastRow_ = it;
    return &it->second;
}

namespace {

auto firstAfter(std::vector<CellRef>& cells, std::uint16_t column)
{
    return std::upper_bound(cells.begin(), cells.end(), column,
                            [](std::uint16_t c, const CellRef& cell) { return c < cell.firstColumn; });
}

auto firstAfter(const std::vector<CellRef>& cells, std::uint16_t column)
{
    return std::upper_bound(cells.begin(), cells.end(), column,
                            [](std::uint16_t c, const CellRef& cell) { return c < cell.firstColumn; });
}

} // namespace

void FirstSheet::putCell(SheetRow& row, const CellRef& cell)
{
    // clearColumns made room: no cell covers these columns any more.
    if (row.cells.empty() || row.cells.back().firstColumn < cell.firstColumn)
        row.cells.push_back(cell);
    else
        row.cells.insert(firstAfter(row.cells, cell.firstColumn), cell);
}

void FirstSheet::addTrailing(std::uint32_t at)
{
    CellRef* owner = nullptr;
    if (lastCell_) {
        if (SheetRow* row = findRow(lastCell_->first)) {
            auto it = firstAfter(row->cells, lastCell_->second);
            if (it != row->cells.begin() && std::prev(it)->firstColumn == lastCell_->second)
                owner = &*std::prev(it);
        }
    }
    if (!owner) {
        between_.push_back(at);
        return;
    }
    if (records_[at].id == kString && records_[owner->record].id == kFormula) {
        // Checked now, decoded when asked for: a cut-short text refuses the file.
        ContinuedReader reader(records_[at], "STRING");
        (void)readUnicodeString(reader);
    }
    // The trailing records of one formula stand together in trailing_; a
    // formula whose list is not the last one gets its list moved to the end.
    if (owner->trailingCount > 0 && owner->trailingBegin + owner->trailingCount != trailing_.size()) {
        const std::uint32_t begin = owner->trailingBegin;
        owner->trailingBegin = static_cast<std::uint32_t>(trailing_.size());
        for (std::uint32_t k = 0; k < owner->trailingCount; ++k)
            trailing_.push_back(trailing_[begin + k]);
    }
    if (owner->trailingCount == 0)
        owner->trailingBegin = static_cast<std::uint32_t>(trailing_.size());
    trailing_.push_back(at);
    ++owner->trailingCount;
}

CellRef FirstSheet::runPiece(const CellRef& run, std::uint16_t first, std::uint16_t last)
{
    const QByteArray source = records_[run.record].data;
    const bool rk = records_[run.record].id == kMulRk;
    const qsizetype perCell = rk ? 6 : 2;
    const std::uint16_t row = peekU16(source, 0);
    QByteArray data = cellHeader(row, first);
    data += source.mid(4 + (first - run.firstColumn) * perCell, (last - first + 1) * perCell);
    std::uint16_t id = rk ? kRk : kBlank;
    if (first != last) {
        id = rk ? kMulRk : kMulBlank;
        appendU16(data, last);
    }
    CellRef piece;
    piece.firstColumn = first;
    piece.lastColumn = last;
    piece.record = addRecord(makeRecord(id, data));
    return piece;
}

void FirstSheet::clearColumns(std::uint16_t row, std::uint16_t first, std::uint16_t last)
{
    SheetRow* sheetRow = findRow(row);
    if (!sheetRow) return;
    auto& cells = sheetRow->cells;
    auto it = firstAfter(cells, first);
    if (it != cells.begin() && std::prev(it)->lastColumn >= first)
        it = std::prev(it);
    std::vector<CellRef> pieces;
    auto end = it;
    while (end != cells.end() && end->firstColumn <= last) {
        const CellRef old = *end;
        if (old.firstColumn < first)
            pieces.push_back(runPiece(old, old.firstColumn, static_cast<std::uint16_t>(first - 1)));
        if (old.lastColumn > last)
            pieces.push_back(runPiece(old, static_cast<std::uint16_t>(last + 1), old.lastColumn));
        ++end;
    }
    if (it == end) return;
    const auto at = cells.erase(it, end);
    cells.insert(at, pieces.begin(), pieces.end());
}

const CellRef* FirstSheet::cellAt(int column, int row) const
{
    if (row < 0 || row > 0xFFFF || column < 0 || column > kLastColumn) return nullptr;
    const SheetRow* sheetRow = findRow(static_cast<std::uint16_t>(row));
    if (!sheetRow) return nullptr;
    auto it = firstAfter(sheetRow->cells, static_cast<std::uint16_t>(column));
    if (it == sheetRow->cells.begin()) return nullptr;
    --it;
    return it->lastColumn >= column ? &*it : nullptr;
}

QString FirstSheet::textOf(const CellRef& cell, int column, const SharedStrings& strings) const
{
    const Record& record = records_[cell.record];
    const QByteArray& data = record.data;
    switch (record.id) {
    case kLabelSst:
        return strings.textAt(peekU32(data, 6));
    case kLabel:
    case kRString: {
        ContinuedReader reader(record, recordName(record.id), 6);
        return readUnicodeString(reader);
    }
    case kNumber:
        return numberText(FieldReader(data, "NUMBER", 6).f64());
    case kRk:
        return numberText(rkValue(peekU32(data, 6)));
    case kMulRk:
        return numberText(rkValue(peekU32(data, 4 + (column - cell.firstColumn) * 6 + 2)));
    case kBoolErr:
        if (data[7] != 0) return errorText(static_cast<std::uint8_t>(data[6]));
        return data[6] != 0 ? QStringLiteral("TRUE") : QStringLiteral("FALSE");
    case kFormula:
        if (peekU16(data, 12) != kNonNumericResult)
            return numberText(FieldReader(data, "FORMULA", 6).f64());
        switch (static_cast<std::uint8_t>(data[6])) {
        case kResultString: {
            // The text is the last STRING record that followed the formula.
            QString text;
            for (std::uint32_t k = 0; k < cell.trailingCount; ++k) {
                const Record& trailing = records_[trailing_[cell.trailingBegin + k]];
                if (trailing.id != kString) continue;
                ContinuedReader reader(trailing, "STRING");
                text = readUnicodeString(reader);
            }
            return text;
        }
        case kResultBool: return data[8] != 0 ? QStringLiteral("TRUE") : QStringLiteral("FALSE");
        case kResultError: return errorText(static_cast<std::uint8_t>(data[8]));
        default: return QString();
        }
    default: // BLANK, MULBLANK
        return QString();
    }
}

QString FirstSheet::cellText(int column, int row, const SharedStrings& strings) const
{
    const CellRef* cell = cellAt(column, row);
    return cell ? textOf(*cell, column, strings) : QString();
}

void FirstSheet::forEachText(const SharedStrings& strings,
                             const std::function<void(int, int, const QString&)>& visit) const
{
    for (const auto& [row, sheetRow] : rows_) {
        for (const CellRef& cell : sheetRow.cells) {
            for (int column = cell.firstColumn; column <= cell.lastColumn; ++column) {
                const QString text = textOf(cell, column, strings);
                if (!text.isEmpty()) visit(column, row, text);
            }
        }
    }
}

std::uint16_t FirstSheet::xfOf(const CellRef& cell, int column) const
{
    const Record& record = records_[cell.record];
    const int k = column - cell.firstColumn;
    if (record.id == kMulRk) return peekU16(record.data, 4 + k * 6);
    if (record.id == kMulBlank) return peekU16(record.data, 4 + k * 2);
    return peekU16(record.data, 4);
}

std::uint16_t FirstSheet::newCellXf(int column, int row, std::uint16_t defaultXf) const
{
    const SheetRow* sheetRow = findRow(static_cast<std::uint16_t>(row));
    if (sheetRow && sheetRow->rowRecord != SheetRow::kNone) {
        const std::uint32_t options = peekU32(records_[sheetRow->rowRecord].data, 12);
        if (options & kRowHasFormat)
            return static_cast<std::uint16_t>((options >> 16) & 0x0FFF);
    }
    for (std::uint32_t at : prefix_) {
        const Record& record = records_[at];
        if (record.id != kColInfo || record.data.size() < 8) continue;
        if (peekU16(record.data, 0) <= column && column <= peekU16(record.data, 2))
            return peekU16(record.data, 6);
    }
    return defaultXf;
}

std::uint16_t FirstSheet::defaultRowHeight() const
{
    for (std::uint32_t at : prefix_) {
        const Record& record = records_[at];
        if (record.id == kDefaultRowHeight && record.data.size() >= 4
            && !(peekU16(record.data, 0) & kDefaultRowsHidden))
            return peekU16(record.data, 2);
    }
    return kStandardRowHeight;
}

void FirstSheet::growRow(std::uint16_t row, std::uint16_t column, bool rowHadCells)
{
    if (rowAt(row).rowRecord == SheetRow::kNone) {
        QByteArray data = cellHeader(row, column);
        appendU16(data, static_cast<std::uint16_t>(column + 1));
        appendU16(data, defaultRowHeight());
        appendU16(data, 0);
        appendU16(data, 0);
        appendU32(data, kRowReservedOne);
        const std::uint32_t at = addRecord(makeRecord(kRow, data));
        rowAt(row).rowRecord = at;
        return;
    }
    QByteArray& data = records_[rowAt(row).rowRecord].data;
    std::uint16_t first = peekU16(data, 2);
    std::uint16_t end = peekU16(data, 4);
    if (!rowHadCells || first >= end) {
        first = column;
        end = static_cast<std::uint16_t>(column + 1);
    } else {
        first = std::min(first, column);
        end = std::max<std::uint16_t>(end, static_cast<std::uint16_t>(column + 1));
    }
    putU16(data, 2, first);
    putU16(data, 4, end);
}

void FirstSheet::growDimensions(std::uint16_t row, std::uint16_t column)
{
    if (!dimensions_) return;
    QByteArray& data = records_[prefix_[*dimensions_]].data;
    if (data.size() < 12) return;
    std::uint32_t firstRow = peekU32(data, 0);
    std::uint32_t endRow = peekU32(data, 4);
    std::uint16_t firstColumn = peekU16(data, 8);
    std::uint16_t endColumn = peekU16(data, 10);
    if (firstRow >= endRow || firstColumn >= endColumn) {
        firstRow = row;
        endRow = row + 1u;
        firstColumn = column;
        endColumn = static_cast<std::uint16_t>(column + 1);
    } else {
        firstRow = std::min<std::uint32_t>(firstRow, row);
        endRow = std::max<std::uint32_t>(endRow, row + 1u);
        firstColumn = std::min(firstColumn, column);
        endColumn = std::max<std::uint16_t>(endColumn, static_cast<std::uint16_t>(column + 1));
    }
    putU32(data, 0, firstRow);
    putU32(data, 4, endRow);
    putU16(data, 8, firstColumn);
    putU16(data, 10, endColumn);
}

int FirstSheet::setSharedString(int column, int row, std::uint32_t stringIndex, std::uint16_t defaultXf)
{
    const auto r = static_cast<std::uint16_t>(row);
    const auto c = static_cast<std::uint16_t>(column);
    const CellRef* found = cellAt(column, row);
    const std::optional<CellRef> existing = found ? std::optional<CellRef>(*found) : std::nullopt;
    const std::uint16_t xf = existing ? xfOf(*existing, column) : newCellXf(column, row, defaultXf);
    const std::uint16_t existingId = existing ? records_[existing->record].id : 0;
    const int delta = (existing && existingId == kLabelSst) ? 0 : 1;
    const SheetRow* before = findRow(r);
    const bool rowHadCells = before && !before->cells.empty();

    QByteArray data = cellHeader(r, c);
    appendU16(data, xf);
    appendU32(data, stringIndex);
    CellRef cell;
    cell.firstColumn = c;
    cell.lastColumn = c;
    cell.record = addRecord(makeRecord(kLabelSst, data));
    // A formula that anchors a shared formula, array or table keeps those
    // records, so that the cells depending on them still find them.
    if (existing && existingId == kFormula) {
        cell.trailingBegin = static_cast<std::uint32_t>(trailing_.size());
        for (std::uint32_t k = 0; k < existing->trailingCount; ++k) {
            const std::uint32_t at = trailing_[existing->trailingBegin + k];
            if (records_[at].id == kString) continue;
            trailing_.push_back(at);
            ++cell.trailingCount;
        }
    }
    clearColumns(r, c, c);
    putCell(rowAt(r), cell);
    if (!existing) {
        growRow(r, c, rowHadCells);
        growDimensions(r, c);
    }
    modified_ = true;
    return delta;
}

void FirstSheet::appendCellTable(QByteArray& out, std::vector<qsizetype>& dbCells) const
{
    if (rows_.empty()) return;
    // Excel counts the 32-row blocks from the sheet's first row.
    const int firstRow = rows_.begin()->first;
    std::vector<qsizetype> firstCellAt; // per row of the block, -1 for a row without cells
    auto it = rows_.begin();
    while (it != rows_.end()) {
        const int block = (it->first - firstRow) >> 5;
        auto blockEnd = it;
        while (blockEnd != rows_.end() && ((blockEnd->first - firstRow) >> 5) == block) ++blockEnd;

        qsizetype firstRowAt = -1;
        for (auto r = it; r != blockEnd; ++r) {
            if (r->second.rowRecord == SheetRow::kNone) continue;
            if (firstRowAt < 0) firstRowAt = out.size();
            records_[r->second.rowRecord].appendTo(out);
        }
        firstCellAt.clear();
        qsizetype blockCellsAt = -1;
        for (auto r = it; r != blockEnd; ++r) {
            if (r->second.cells.empty()) {
                firstCellAt.push_back(-1);
                continue;
            }
            firstCellAt.push_back(out.size());
            if (blockCellsAt < 0) blockCellsAt = out.size();
            for (const CellRef& cell : r->second.cells) {
                records_[cell.record].appendTo(out);
                for (std::uint32_t k = 0; k < cell.trailingCount; ++k)
                    records_[trailing_[cell.trailingBegin + k]].appendTo(out);
            }
        }
        if (writeDbCells_ && (firstRowAt >= 0 || blockCellsAt >= 0)) {
            const qsizetype at = out.size();
            const qsizetype blockStart = firstRowAt >= 0 ? firstRowAt : blockCellsAt;
            QByteArray data;
            appendU32(data, static_cast<std::uint32_t>(at - blockStart));
            // Offsets to each row's first cell: the first from the end of the
            // block's first ROW record, the others from the previous row's first cell.
            qsizetype cursor = firstRowAt + 4 + kRowRecordSize;
            std::size_t k = 0;
            for (auto r = it; r != blockEnd; ++r, ++k) {
                if (r->second.rowRecord == SheetRow::kNone) continue;
                if (firstCellAt[k] < 0) {
                    appendU16(data, 0);
                    continue;
                }
                appendU16(data, static_cast<std::uint16_t>(firstCellAt[k] - cursor));
                cursor = firstCellAt[k];
            }
            dbCells.push_back(at);
            makeRecord(kDbCell, data).appendTo(out);
        }
        it = blockEnd;
    }
}

QByteArray FirstSheet::build(std::uint32_t streamPosition) const
{
    std::size_t blocks = 0;
    int lastBlock = -1;
    for (const auto& entry : rows_) {
        const int block = (entry.first - rows_.begin()->first) >> 5;
        if (block != lastBlock) ++blocks;
        lastBlock = block;
    }
    if (!writeDbCells_) blocks = 0;

    QByteArray out;
    qsizetype total = 0;
    for (const Record& record : records_) total += record.sizeOnDisk();
    out.reserve(total + 16 + 4 * qsizetype(blocks) + 64);
    qsizetype indexAt = -1;
    qsizetype defColWidthAt = -1;
    auto appendRecords = [&](const std::vector<std::uint32_t>& list, bool isPrefix) {
        for (std::size_t i = 0; i < list.size(); ++i) {
            if (isPrefix && index_ && i == *index_) {
                indexAt = out.size() + 4;
                makeRecord(kIndex, QByteArray(16 + 4 * qsizetype(blocks), '\0')).appendTo(out);
                continue;
            }
            const Record& record = records_[list[i]];
            if (record.id == kDefColWidth && defColWidthAt < 0) defColWidthAt = out.size();
            record.appendTo(out);
        }
    };
    appendRecords(prefix_, true);
    std::vector<qsizetype> dbCells;
    appendCellTable(out, dbCells);
    appendRecords(between_, false);
    appendRecords(suffix_, false);

    if (indexAt >= 0) {
        const bool empty = rows_.empty();
        putU32(out, indexAt + 4, empty ? 0u : rows_.begin()->first);
        putU32(out, indexAt + 8, empty ? 0u : rows_.rbegin()->first + 1u);
        putU32(out, indexAt + 12, defColWidthAt >= 0 ? streamPosition + static_cast<std::uint32_t>(defColWidthAt) : 0u);
        for (std::size_t k = 0; k < dbCells.size(); ++k)
            putU32(out, indexAt + 16 + 4 * qsizetype(k), streamPosition + static_cast<std::uint32_t>(dbCells[k]));
    }
    return out;
}

} // namespace tpworm::workbook::biff
