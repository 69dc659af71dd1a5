// The first worksheet of a workbook: its cell table held cell by cell so that
// cells can be read and replaced, every other record kept as it was read.
#pragma once

#include "workbook/biff_records.h"
#include "workbook/biff_strings.h"

#include <functional>
#include <map>
#include <optional>

namespace tpworm::workbook::biff {

// One cell record (or a MULRK/MULBLANK run of cells in one row) as an index
// into the sheet's records: the records stay as they were read (views of the
// workbook stream), so a cell costs a few bytes beyond its record.
struct CellRef {
    std::uint16_t firstColumn = 0;
    std::uint16_t lastColumn = 0;
    std::uint32_t record = 0;        // in FirstSheet::records_
    std::uint32_t trailingBegin = 0; // in FirstSheet::trailing_: the STRING, SHRFMLA, ARRAY, TABLE
    std::uint32_t trailingCount = 0; // records that follow a FORMULA
};

struct SheetRow {
    static constexpr std::uint32_t kNone = 0xFFFFFFFF;
    std::uint32_t rowRecord = kNone; // in FirstSheet::records_
    std::vector<CellRef> cells;      // by first column, no two overlapping
};

class FirstSheet {
public:
    // records: the sheet's substream, BOF to EOF.
    void load(std::vector<Record> records, const SharedStrings& strings);

    QString cellText(int column, int row, const SharedStrings& strings) const;
    // Every cell with a non-empty text, rows in order, columns in order.
    void forEachText(const SharedStrings& strings,
                     const std::function<void(int column, int row, const QString& text)>& visit) const;

    // Makes the cell a LABELSST cell of the given string; returns the change in
    // the number of LABELSST cells.
    int setSharedString(int column, int row, std::uint32_t stringIndex, std::uint16_t defaultXf);

    bool modified() const { return modified_; }
    // The rebuilt substream, its INDEX and DBCELL records computed for the
    // substream standing at streamPosition.
    QByteArray build(std::uint32_t streamPosition) const;

private:
    void addCellRecord(std::uint32_t record, const SharedStrings& strings);
    void addTrailing(std::uint32_t record);
    void clearColumns(std::uint16_t row, std::uint16_t first, std::uint16_t last);
    // The row, made when missing; rows read in order are added at the end in
    // constant time.
    SheetRow& rowAt(std::uint16_t row);
    SheetRow* findRow(std::uint16_t row);
    const SheetRow* findRow(std::uint16_t row) const;
    static void putCell(SheetRow& row, const CellRef& cell);
    std::uint32_t addRecord(Record record);
    CellRef runPiece(const CellRef& run, std::uint16_t first, std::uint16_t last);
    QString textOf(const CellRef& cell, int column, const SharedStrings& strings) const;
    const CellRef* cellAt(int column, int row) const;
    std::uint16_t xfOf(const CellRef& cell, int column) const;
    std::uint16_t newCellXf(int column, int row, std::uint16_t defaultXf) const;
    void growRow(std::uint16_t row, std::uint16_t column, bool rowHadCells);
    void growDimensions(std::uint16_t row, std::uint16_t column);
    std::uint16_t defaultRowHeight() const;
    void appendCellTable(QByteArray& out, std::vector<qsizetype>& dbCells) const;

    std::vector<Record> records_;         // as read, then the records the engine made
    std::vector<std::uint32_t> prefix_;   // BOF up to the cell table
    std::vector<std::uint32_t> between_;  // other records met inside the cell table
    std::vector<std::uint32_t> suffix_;   // after the cell table, up to EOF
    std::vector<std::uint32_t> trailing_; // the trailing records of each formula, together
    std::map<std::uint16_t, SheetRow> rows_;
    // The row last looked up: the cells of a 32-row block follow its ROW
    // records, so most lookups ask for the same row as the one before.
    mutable std::map<std::uint16_t, SheetRow>::iterator lastRow_ = rows_.end();
    std::optional<std::size_t> index_;      // INDEX, in prefix_
    std::optional<std::size_t> dimensions_; // DIMENSIONS, in prefix_
    bool writeDbCells_ = false;
    bool modified_ = false;
    std::optional<std::pair<std::uint16_t, std::uint16_t>> lastCell_; // (row, first column) of the last cell read
};

// The text Excel shows for an error code of a BOOLERR or FORMULA cell.
QString errorText(std::uint8_t code);
// The number an RK value holds.
double rkValue(std::uint32_t rk);
// A number's text as the engine shows it.
QString numberText(double value);

} // namespace tpworm::workbook::biff
