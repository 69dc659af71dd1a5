// The OLE2 compound-document container, read and written through libgsf. The
// record layer sees only the bytes of the workbook stream and an opaque tree
// of every other entry, which is written back unchanged.
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
    QByteArray workbookStream;
};

// Splits a compound document. Refuses files that are no compound document, and
// documents without a BIFF8 workbook stream, with a message saying which it is.
Document readDocument(const QByteArray& file);

// Builds the compound document with the workbook stream put back at the root.
QByteArray writeDocument(const Entry& root, const QByteArray& workbookStream);
// The same, handing the bytes to use while they are held by the writer, so
// that saving to a file needs no copy of the whole document.
void writeDocument(const Entry& root, const QByteArray& workbookStream,
                   const std::function<void(const QByteArray& document)>& use);

} // namespace tpworm::workbook::container
