// A cell of an Excel 97-2003 sheet and its A1 name, the one place that
// parses and formats cell names (the workbook engine and its command line,
// the documents' cell maps, the automation cells, the tests).
#pragma once

#include <QString>
#include <QStringView>

#include <optional>

namespace tpworm {

// The largest sheet a BIFF8 workbook holds: columns A ... IV, rows 1 ... 65536.
inline constexpr int kSheetColumns = 256;
inline constexpr int kSheetRows = 65536;

struct CellAddress {
    int column = 0; // 0-based: A is 0
    int row = 0;    // 0-based: row 1 is 0

    // "A1" ... "IV65536": ASCII letters in either case, then the row without
    // leading zeros; nothing before, between or after. Empty for anything
    // else, a cell beyond IV or 65536 included.
    static std::optional<CellAddress> parse(QStringView name);
    // Within the sheet's limits.
    bool valid() const { return column >= 0 && column < kSheetColumns && row >= 0 && row < kSheetRows; }
    // CellAddress{27, 9}.name() is "AB10"; any non-negative address has a name.
    QString name() const;

    friend bool operator==(const CellAddress&, const CellAddress&) = default;
};

} // namespace tpworm
