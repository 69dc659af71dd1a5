// The first worksheet of a workbook: its cell table held cell by cell so that
// cells can be read and replaced, every other record kept as it was read.
#pragma once

#include "workbook/biff_records.h"
#include "workbook/biff_strings.h"

#include <functional>
#include <optional>

namespace tpworm::workbook::biff {

// Records are named by a 32-bit reference: the stream offset of the record's
// header for the records as read (the stream outlives the sheet, so nothing
// of them is copied), or kOwned plus an index for the records the engine made
// or changed.
inline constexpr std::uint32_t kOwned = 0x80000000u;

// One cell record (or a MULRK/MULBLANK run of cells in one row) as an index
// into the stream: a cell costs these 16 bytes beyond its record.
struct CellRef {
    std::uint16_t firstColumn = 0;
    std::uint16_t lastColumn = 0;
    std::uint32_t record = 0;        // reference
    std::uint32_t trailingBegin = 0; // in FirstSheet::trailing_: the STRING, SHRFMLA, ARRAY, TABLE
    std::uint32_t trailingCount = 0; // records that follow a FORMULA
};

struct SheetRow {
    static constexpr std::uint32_t kNone = 0xFFFFFFFF;
    std::uint32_t rowRecord = kNone; // reference
    std::vector<CellRef> cells;      // by first column, no two overlapping
    bool present() const { return rowRecord != kNone || !cells.empty(); }
};

class FirstSheet {
public:
    // The sheet's substream, BOF to EOF, is stream[start, end); the stream
    // must outlive the sheet.
    void load(const QByteArray& stream, qsizetype start, qsizetype end, const SharedStrings& strings);

    QString cellText(int column, int row, const SharedStrings& strings) const;
    // Every cell with a non-empty text, rows in order, columns in order.
    void forEachText(const SharedStrings& strings,
                     const std::function<void(int column, int row, const QString& text)>& visit) const;

    // Makes the cell a LABELSST cell of the given string; returns the change in
    // the number of LABELSST cells.
    int setSharedString(int column, int row, std::uint32_t stringIndex, std::uint16_t defaultXf);

    bool modified() const { return modified_; }
    // Writes the rebuilt substream, its INDEX and DBCELL records computed for
    // the substream standing at streamPosition; strings maps the indexes of
    // the strings added since loading to where the saved table has them.
    void write(Sink& out, std::uint32_t streamPosition, const SharedStrings& strings) const;
    // The same as bytes.
    QByteArray build(std::uint32_t streamPosition, const SharedStrings& strings) const;

private:
    Record record(std::uint32_t ref) const;
    std::uint16_t idOf(std::uint32_t ref) const;
    qsizetype sizeOf(std::uint32_t ref) const;
    void writeRecord(Sink& out, std::uint32_t ref, const SharedStrings& strings) const;
    // The record as one the engine may change, copied out of the stream once.
    QByteArray& ownedData(std::uint32_t& ref);
    void addCellRecord(std::uint32_t ref, const SharedStrings& strings);
    void addTrailing(std::uint32_t ref);
    void clearColumns(std::uint16_t row, std::uint16_t first, std::uint16_t last);
    // The row, made when missing.
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
    void writeCellTable(Sink& out, std::vector<qsizetype>& dbCells, const SharedStrings& strings) const;

    const QByteArray* stream_ = nullptr;
    qsizetype end_ = 0;
    std::vector<Record> owned_;           // the records the engine made or changed
    std::vector<std::uint32_t> prefix_;   // BOF up to the cell table
    std::vector<std::uint32_t> between_;  // other records met inside the cell table
    std::vector<std::uint32_t> suffix_;   // after the cell table, up to EOF
    std::vector<std::uint32_t> trailing_; // the trailing records of each formula, together
    // Indexed by row number, as long as the last row present; rows_[r] is
    // there when present().
    std::vector<SheetRow> rows_;
    int firstRow_ = -1;                     // the first and last rows present, -1 when none
    int lastRow_ = -1;
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
