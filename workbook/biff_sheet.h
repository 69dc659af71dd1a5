// The first worksheet of a workbook: its cell table held cell by cell so that
// cells can be read and replaced, every other record kept as it was read.
#pragma once

#include "workbook/biff_records.h"
#include "workbook/biff_strings.h"

#include <functional>
#include <map>
#include <optional>

namespace tpworm::workbook::biff {

// One cell record (or a MULRK/MULBLANK run of cells in one row).
struct CellRecord {
    std::uint16_t firstColumn = 0;
    std::uint16_t lastColumn = 0;
    Record record;
    std::vector<Record> trailing; // STRING, SHRFMLA, ARRAY, TABLE records that follow a FORMULA
    QString text;                 // decoded string of LABEL, RSTRING and string-valued formulas
};

struct SheetRow {
    std::optional<Record> rowRecord;
    std::map<std::uint16_t, CellRecord> cells; // by first column
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
    void splitRecords(std::vector<Record>& records);
    void addCellRecord(Record record, const SharedStrings& strings);
    void addTrailing(Record record);
    void clearColumns(std::uint16_t row, std::uint16_t first, std::uint16_t last);
    // The row, made when missing; rows read in order are added at the end in
    // constant time.
    SheetRow& rowAt(std::uint16_t row);
    SheetRow* findRow(std::uint16_t row);
    static void putCell(SheetRow& row, CellRecord cell);
    const CellRecord* cellAt(int column, int row) const;
    std::uint16_t xfOf(const CellRecord& cell, int column) const;
    std::uint16_t newCellXf(int column, int row, std::uint16_t defaultXf) const;
    void growRow(std::uint16_t row, std::uint16_t column, bool rowHadCells);
    void growDimensions(std::uint16_t row, std::uint16_t column);
    std::uint16_t defaultRowHeight() const;
    void appendCellTable(QByteArray& out, std::vector<qsizetype>& dbCells) const;

    std::vector<Record> prefix_;  // BOF up to the cell table
    std::vector<Record> between_; // other records met inside the cell table
    std::vector<Record> suffix_;  // after the cell table, up to EOF
    std::map<std::uint16_t, SheetRow> rows_;
    std::optional<std::size_t> index_;      // INDEX in prefix_
    std::optional<std::size_t> dimensions_; // DIMENSIONS in prefix_
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
