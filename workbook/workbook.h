// The workbook engine: loads an Excel 97-2003 (BIFF8) workbook into memory,
// reads and writes text cells of its first sheet, and saves it again.
#pragma once

#include <QByteArray>
#include <QString>

#include <memory>
#include <stdexcept>

namespace tpworm::workbook {

class WorkbookError : public std::runtime_error {
public:
    explicit WorkbookError(const QString& message);
    QString message() const { return QString::fromStdString(what()); }
};

class Workbook {
public:
    Workbook();
    ~Workbook();
    Workbook(const Workbook&) = delete;
    Workbook& operator=(const Workbook&) = delete;

    // The file that Load and Save use.
    void SetFileName(const QString& path);
    QString FileName() const;

    // Replaces the whole in-memory workbook by the named file's content.
    void Load();
    // The same from the bytes of a whole file (a compound document).
    void LoadFromBuffer(const QByteArray& bytes);
    bool IsLoaded() const;

    // First sheet, 0-based column and row (A1 is 0, 0).
    QString GetCellText(int column, int row) const;
    void SetCellText(int column, int row, const QString& text);

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
