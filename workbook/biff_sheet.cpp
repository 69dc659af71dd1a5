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
    const std::uint16_t first = FieldReader(record.data, recordName(record.id), 2).u16();
    const std::uint16_t last = FieldReader(record.data, recordName(record.id), record.data.size() - 2).u16();
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

Record FirstSheet::record(std::uint32_t ref) const
{
    if (ref & kOwned) return owned_[ref & ~kOwned];
    return recordAt(*stream_, ref, end_);
}

std::uint16_t FirstSheet::idOf(std::uint32_t ref) const
{
    if (ref & kOwned) return owned_[ref & ~kOwned].id;
    return peekU16(*stream_, ref);
}

qsizetype FirstSheet::sizeOf(std::uint32_t ref) const
{
    if (ref & kOwned) return owned_[ref & ~kOwned].sizeOnDisk();
    return recordSizeAt(*stream_, ref, end_);
}

void FirstSheet::writeRecord(Sink& out, std::uint32_t ref, const SharedStrings& strings) const
{
    if (!(ref & kOwned)) {
        // The record and its CONTINUE records stand together in the stream.
        out.append(stream_->constData() + ref, recordSizeAt(*stream_, ref, end_));
        return;
    }
    const Record& made = owned_[ref & ~kOwned];
    made.writeTo(out);
    // A LABELSST cell written since loading names its string by the index it
    // got then; the saved table may have it elsewhere.
    if (made.id == kLabelSst && made.data.size() >= 10) {
        const std::uint32_t index = peekU32(made.data, 6);
        const std::uint32_t saved = strings.savedIndex(index);
        if (saved != index) out.putU32(out.size() - made.data.size() + 6, saved);
    }
}

QByteArray& FirstSheet::ownedData(std::uint32_t& ref)
{
    if (!(ref & kOwned)) {
        Record copy = recordAt(*stream_, ref, end_);
        copy.data = QByteArray(copy.data.constData(), copy.data.size());
        ref = addRecord(std::move(copy));
    }
    return owned_[ref & ~kOwned].data;
}

void FirstSheet::load(const QByteArray& stream, qsizetype start, qsizetype end, const SharedStrings& strings)
{
    stream_ = &stream;
    end_ = end;
    owned_.clear();
    prefix_.clear();
    between_.clear();
    suffix_.clear();
    trailing_.clear();
    rows_.clear();
    firstRow_ = lastRow_ = -1;
    index_.reset();
    dimensions_.reset();
    writeDbCells_ = false;
    modified_ = false;
    lastCell_.reset();

    // First pass, headers only: where the cell table starts and ends. Depth 1
    // is the sheet itself; deeper records belong to embedded charts. Record
    // numbers count a record with its CONTINUE records as one.
    std::optional<std::size_t> first, last;
    std::optional<std::size_t> dimensionsAt, window2At;
    std::size_t count = 0;
    auto eachRecord = [&](auto&& use) {
        std::size_t number = 0;
        bool started = false;
        walkSubstream(stream, start, [&](std::uint16_t id, qsizetype offset, std::uint16_t length, int depth) {
            if (id == kContinue && started) return;
            started = true;
            use(number++, id, static_cast<std::uint32_t>(offset), length, depth);
        });
    };
    // Cells per row, so that each row's list is made at its size.
    std::vector<std::uint32_t> cellsInRow;
    std::size_t rowsNeeded = 0;
    eachRecord([&](std::size_t i, std::uint16_t id, std::uint32_t at, std::uint16_t length, int depth) {
        ++count;
        if (depth != 1) return;
        if (isCellTableRecord(id)) {
            if (!first) first = i;
            last = i;
            if (id != kDbCell && !isTrailingRecord(id) && length >= 2) {
                const std::uint16_t row = peekU16(stream, at + 4);
                if (row >= cellsInRow.size())
                    cellsInRow.resize(std::min<std::size_t>(std::max<std::size_t>(row + 1u, 2 * cellsInRow.size()), 0x10000));
                if (id != kRow) ++cellsInRow[row];
                rowsNeeded = std::max<std::size_t>(rowsNeeded, row + 1u);
            }
        }
        if (id == kDimensions && !dimensionsAt) dimensionsAt = i;
        if (id == kWindow2 && !window2At) window2At = i;
    });

    std::size_t prefixEnd = count - 1;
    std::size_t suffixStart = prefixEnd;
    if (first) {
        prefixEnd = *first;
        suffixStart = *last + 1;
    } else if (dimensionsAt && (!window2At || *dimensionsAt < *window2At)) {
        // An empty sheet: cells will go where the format wants the cell table,
        // after DIMENSIONS (or before WINDOW2).
        prefixEnd = suffixStart = *dimensionsAt + 1;
    } else if (window2At) {
        prefixEnd = suffixStart = *window2At;
    }

    rows_.reserve(rowsNeeded);
    for (std::size_t r = 0; r < rowsNeeded; ++r)
        if (cellsInRow[r] > 0) rowAt(static_cast<std::uint16_t>(r)).cells.reserve(std::min<std::uint32_t>(cellsInRow[r], 256));
    firstRow_ = lastRow_ = -1; // rows are present once they have a ROW record or cells
    cellsInRow = {};

    eachRecord([&](std::size_t i, std::uint16_t id, std::uint32_t at, std::uint16_t length, int depth) {
        if (i < prefixEnd) {
            if (id == kIndex && !index_) {
                if (length < 16 || (length - 16) % 4 != 0) throwTooShort("INDEX");
                index_ = prefix_.size();
                writeDbCells_ = true;
            } else if (id == kDimensions && !dimensions_) {
                dimensions_ = prefix_.size();
            }
            prefix_.push_back(at);
        } else if (i >= suffixStart) {
            suffix_.push_back(at);
        } else if (depth != 1 || !isCellTableRecord(id)) {
            between_.push_back(at);
        } else if (id == kRow) {
            if (length < kRowRecordSize) throwTooShort("ROW");
            rowAt(peekU16(stream, at + 4)).rowRecord = at;
        } else if (id == kDbCell) {
            writeDbCells_ = true; // recomputed when the sheet is written
        } else if (isTrailingRecord(id)) {
            addTrailing(at);
        } else {
            addCellRecord(at, strings);
        }
    });
}

std::uint32_t FirstSheet::addRecord(Record record)
{
    owned_.push_back(std::move(record));
    return static_cast<std::uint32_t>(owned_.size() - 1) | kOwned;
}

void FirstSheet::addCellRecord(std::uint32_t at, const SharedStrings& strings)
{
    const Record record = this->record(at);
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
    if (row >= rows_.size()) {
        // Rows come in order: the table grows by steps, not by a row at a time.
        if (row >= rows_.capacity())
            rows_.reserve(std::min<std::size_t>(std::max<std::size_t>(row + 1u, 2 * rows_.capacity()), 0x10000));
        rows_.resize(row + 1u);
    }
    if (firstRow_ < 0 || row < firstRow_) firstRow_ = row;
    if (row > lastRow_) lastRow_ = row;
    return rows_[row];
}

SheetRow* FirstSheet::findRow(std::uint16_t row)
{
    return const_cast<SheetRow*>(std::as_const(*this).findRow(row));
}

const SheetRow* FirstSheet::findRow(std::uint16_t row) const
{
    if (row >= rows_.size() || !rows_[row].present()) return nullptr;
    return &rows_[row];
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
    if (idOf(at) == kString && idOf(owner->record) == kFormula) {
        // Checked now, decoded when asked for: a cut-short text refuses the file.
        const Record string = record(at);
        ContinuedReader reader(string, "STRING");
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
    const Record whole = record(run.record);
    const QByteArray& source = whole.data;
    const bool rk = whole.id == kMulRk;
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
    const Record record = this->record(cell.record);
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
                const Record trailing = this->record(trailing_[cell.trailingBegin + k]);
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
    for (int row = std::max(firstRow_, 0); row <= lastRow_; ++row) {
        for (const CellRef& cell : rows_[static_cast<std::size_t>(row)].cells) {
            for (int column = cell.firstColumn; column <= cell.lastColumn; ++column) {
                const QString text = textOf(cell, column, strings);
                if (!text.isEmpty()) visit(column, row, text);
            }
        }
    }
}

std::uint16_t FirstSheet::xfOf(const CellRef& cell, int column) const
{
    const Record record = this->record(cell.record);
    const int k = column - cell.firstColumn;
    if (record.id == kMulRk) return peekU16(record.data, 4 + k * 6);
    if (record.id == kMulBlank) return peekU16(record.data, 4 + k * 2);
    return peekU16(record.data, 4);
}

std::uint16_t FirstSheet::newCellXf(int column, int row, std::uint16_t defaultXf) const
{
    const SheetRow* sheetRow = findRow(static_cast<std::uint16_t>(row));
    if (sheetRow && sheetRow->rowRecord != SheetRow::kNone) {
        const std::uint32_t options = peekU32(record(sheetRow->rowRecord).data, 12);
        if (options & kRowHasFormat)
            return static_cast<std::uint16_t>((options >> 16) & 0x0FFF);
    }
    for (std::uint32_t at : prefix_) {
        if (idOf(at) != kColInfo) continue;
        const Record record = this->record(at);
        if (record.id != kColInfo || record.data.size() < 8) continue;
        if (peekU16(record.data, 0) <= column && column <= peekU16(record.data, 2))
            return peekU16(record.data, 6);
    }
    return defaultXf;
}

std::uint16_t FirstSheet::defaultRowHeight() const
{
    for (std::uint32_t at : prefix_) {
        if (idOf(at) != kDefaultRowHeight) continue;
        const Record record = this->record(at);
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
    QByteArray& data = ownedData(rowAt(row).rowRecord);
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
    QByteArray& data = ownedData(prefix_[*dimensions_]);
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
    const std::uint16_t existingId = existing ? idOf(existing->record) : 0;
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
            if (idOf(at) == kString) continue;
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

void FirstSheet::writeCellTable(Sink& out, std::vector<qsizetype>& dbCells, const SharedStrings& strings) const
{
    if (firstRow_ < 0) return;
    // Excel counts the 32-row blocks from the sheet's first row.
    const int firstRow = firstRow_;
    std::vector<qsizetype> firstCellAt; // per row of the block, -1 for a row without cells
    for (int blockStart = firstRow; blockStart <= lastRow_; blockStart += 32) {
        const int blockEnd = std::min(blockStart + 32, lastRow_ + 1);
        qsizetype firstRowAt = -1;
        for (int r = blockStart; r < blockEnd; ++r) {
            const SheetRow& row = rows_[static_cast<std::size_t>(r)];
            if (row.rowRecord == SheetRow::kNone) continue;
            if (firstRowAt < 0) firstRowAt = out.size();
            writeRecord(out, row.rowRecord, strings);
        }
        firstCellAt.clear();
        qsizetype blockCellsAt = -1;
        for (int r = blockStart; r < blockEnd; ++r) {
            const SheetRow& row = rows_[static_cast<std::size_t>(r)];
            if (!row.present()) continue;
            if (row.cells.empty()) {
                firstCellAt.push_back(-1);
                continue;
            }
            firstCellAt.push_back(out.size());
            if (blockCellsAt < 0) blockCellsAt = out.size();
            for (const CellRef& cell : row.cells) {
                writeRecord(out, cell.record, strings);
                for (std::uint32_t k = 0; k < cell.trailingCount; ++k)
                    writeRecord(out, trailing_[cell.trailingBegin + k], strings);
            }
        }
        if (writeDbCells_ && (firstRowAt >= 0 || blockCellsAt >= 0)) {
            const qsizetype at = out.size();
            const qsizetype blockStartAt = firstRowAt >= 0 ? firstRowAt : blockCellsAt;
            char body[4 + 2 * 32];
            qsizetype length = 0;
            auto put16 = [&](std::uint16_t value) {
                body[length++] = static_cast<char>(value & 0xFF);
                body[length++] = static_cast<char>(value >> 8);
            };
            const auto back = static_cast<std::uint32_t>(at - blockStartAt);
            put16(static_cast<std::uint16_t>(back & 0xFFFF));
            put16(static_cast<std::uint16_t>(back >> 16));
            // Offsets to each row's first cell: the first from the end of the
            // block's first ROW record, the others from the previous row's first cell.
            qsizetype cursor = firstRowAt + 4 + kRowRecordSize;
            std::size_t k = 0;
            for (int r = blockStart; r < blockEnd; ++r) {
                const SheetRow& row = rows_[static_cast<std::size_t>(r)];
                if (!row.present()) continue;
                const qsizetype cellAt = firstCellAt[k++];
                if (row.rowRecord == SheetRow::kNone) continue;
                if (cellAt < 0) {
                    put16(0);
                    continue;
                }
                put16(static_cast<std::uint16_t>(cellAt - cursor));
                cursor = cellAt;
            }
            dbCells.push_back(at);
            out.appendHeader(kDbCell, length);
            out.append(body, length);
        }
    }
}

void FirstSheet::write(Sink& out, std::uint32_t streamPosition, const SharedStrings& strings) const
{
    std::size_t blocks = 0;
    if (writeDbCells_ && firstRow_ >= 0) {
        for (int blockStart = firstRow_; blockStart <= lastRow_; blockStart += 32) {
            const int blockEnd = std::min(blockStart + 32, lastRow_ + 1);
            for (int r = blockStart; r < blockEnd; ++r)
                if (rows_[static_cast<std::size_t>(r)].present()) {
                    ++blocks;
                    break;
                }
        }
    }

    const qsizetype base = out.size();
    qsizetype indexAt = -1;
    qsizetype defColWidthAt = -1;
    auto writeRecords = [&](const std::vector<std::uint32_t>& list, bool isPrefix) {
        for (std::size_t i = 0; i < list.size(); ++i) {
            if (isPrefix && index_ && i == *index_) {
                indexAt = out.size() + 4;
                const qsizetype length = 16 + 4 * qsizetype(blocks);
                out.appendHeader(kIndex, length);
                static const char zeros[16] = {};
                for (qsizetype done = 0; done < length; done += 4) out.append(zeros, 4);
                continue;
            }
            if (idOf(list[i]) == kDefColWidth && defColWidthAt < 0) defColWidthAt = out.size() - base;
            writeRecord(out, list[i], strings);
        }
    };
    writeRecords(prefix_, true);
    std::vector<qsizetype> dbCells;
    dbCells.reserve(blocks);
    writeCellTable(out, dbCells, strings);
    writeRecords(between_, false);
    writeRecords(suffix_, false);

    if (indexAt >= 0) {
        const bool empty = firstRow_ < 0;
        out.putU32(indexAt + 4, empty ? 0u : static_cast<std::uint32_t>(firstRow_));
        out.putU32(indexAt + 8, empty ? 0u : static_cast<std::uint32_t>(lastRow_) + 1u);
        out.putU32(indexAt + 12, defColWidthAt >= 0 ? streamPosition + static_cast<std::uint32_t>(defColWidthAt) : 0u);
        for (std::size_t k = 0; k < dbCells.size(); ++k)
            out.putU32(indexAt + 16 + 4 * qsizetype(k), streamPosition + static_cast<std::uint32_t>(dbCells[k] - base));
    }
}

QByteArray FirstSheet::build(std::uint32_t streamPosition, const SharedStrings& strings) const
{
    Sink count;
    write(count, streamPosition, strings);
    QByteArray out(count.size(), Qt::Uninitialized);
    Sink into(out.data());
    write(into, streamPosition, strings);
    return out;
}

} // namespace tpworm::workbook::biff
