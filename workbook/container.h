// The OLE2 compound-document container, read through libgsf and written by
// the engine itself (compound_writer.cpp). The record layer sees only the
// bytes of the workbook stream and an opaque tree of every other entry, which
// is written back unchanged.
#pragma once

#include "workbook/workbook.h"

#include <QByteArray>
#include <QString>

#include <array>
#include <cstdint>
#include <functional>
#include <vector>

namespace tpworm::workbook::container {

// The file is not a compound document, or one the engine cannot take apart.
class ContainerError : public WorkbookError {
public:
    using WorkbookError::WorkbookError;
};

// A stream or storage of the compound document.
struct Entry {
    QString name;
    bool isStorage = false;
    QByteArray data;                   // streams only
    std::array<std::uint8_t, 16> classId{}; // storages only
    std::vector<Entry> children;       // storages only
};

struct Document {
    Entry root;                        // the root storage; the workbook stream is not among its children
    // Where the file holds the stream in consecutive sectors (as Excel,
    // LibreOffice and this engine write it), a view of the file's bytes: the
    // file must then outlive the document's use. Otherwise a copy.
    QByteArray workbookStream;
    bool workbookIsView = false;
};

// Splits a compound document. Refuses files that are no compound document, and
// documents without a BIFF8 workbook stream, with a message saying which it is.
Document readDocument(const QByteArray& file);

// Where the bytes of the root's one stream named Workbook (of size bytes) lie
// in the file when they lie in consecutive sectors; -1 when they do not, or
// when the file's tables leave any doubt.
qsizetype contiguousWorkbookStream(const QByteArray& file, qsizetype size);

// Builds the compound document with the workbook stream put back at the root,
// in one buffer of the document's exact size. The workbook stream is laid out
// in consecutive sectors, so writeWorkbook receives the place of all its
// workbookSize bytes and writes them there: the stream is never held twice.
QByteArray writeDocument(const Entry& root, qsizetype workbookSize,
                         const std::function<void(char* workbook)>& writeWorkbook);
QByteArray writeDocument(const Entry& root, const QByteArray& workbookStream);

} // namespace tpworm::workbook::container
