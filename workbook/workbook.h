// The workbook engine: loads an Excel 97-2003 (BIFF8) workbook into memory,
// reads and writes text cells of its first sheet, and saves it again.
#pragma once

#include "core/cell_address.h"

#include <QByteArray>
#include <QString>

#include <memory>
#include <stdexcept>
#include <vector>

namespace tpworm::workbook {

class WorkbookError : public std::runtime_error {
public:
    explicit WorkbookError(const QString& message);
    QString message() const { return QString::fromStdString(what()); }
};

// A cell of the first sheet and its text as GetCellText returns it.
struct CellText {
    int column = 0;
    int row = 0;
    QString text;
};

// The largest sheet a BIFF8 workbook holds, and the longest text of one cell.
inline constexpr int kMaxColumns = kSheetColumns;
inline constexpr int kMaxRows = kSheetRows;
inline constexpr int kMaxCellTextLength = 32767;

// A1 notation of a 0-based cell: CellName(0, 0) is "A1", CellName(27, 9) "AB10".
QString CellName(int column, int row);

class Workbook {
public:
    Workbook();
    ~Workbook();
    Workbook(const Workbook&) = delete;
    Workbook& operator=(const Workbook&) = delete;

    // The file that Load and Save use.
    void SetFileName(const QString& path);
    QString FileName() const;

    // Replaces the whole in-memory workbook by the named file's content. When
    // loading fails, no workbook is loaded afterwards.
    void Load();
    // The same from the bytes of a whole file (a compound document).
    void LoadFromBuffer(const QByteArray& bytes);
    bool IsLoaded() const;

    // First sheet, 0-based column and row (A1 is 0, 0).
    QString GetCellText(int column, int row) const;
    void SetCellText(int column, int row, const QString& text);
    // Every cell of the first sheet whose text is not empty, rows in order,
    // columns in order.
    std::vector<CellText> NonEmptyCells() const;

    // Writes the whole workbook to the named file, through a temporary file in
    // the same folder renamed over the target.
    void Save();
    // The bytes Save would write.
    QByteArray SaveToBuffer() const;

private:
    struct Impl;
    std::unique_ptr<Impl> d;
};

} // namespace tpworm::workbook
