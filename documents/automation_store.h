// The menu exports' workbooks are stored by the spreadsheet server, not by us,
// yet they are files a user cares about: the server stores to a fresh
// temporary name beside the target, the result is checked, and only then is it
// put in the target's place with the rules of core/safe_file.h (a target that
// is not a regular file, or whose mode forbids writing, is refused even for
// root; a replaced file keeps its mode and owner; on any failure the earlier
// file stays as it was).
#pragma once

#include <QString>

namespace tpworm::automation {

// Why `path` is not a workbook file the exports write (an OLE2 compound file
// holding a BIFF "Workbook" or "Book" stream); empty when it is one.
QString workbookFileProblem(const QString& path);

class CheckedStore {
public:
    // Refuses the target (Error) when it may not be replaced or its folder is
    // missing, else reserves the temporary name beside it.
    explicit CheckedStore(const QString& target);
    // Removes the temporary file unless commit() put it in place.
    ~CheckedStore();
    CheckedStore(const CheckedStore&) = delete;
    CheckedStore& operator=(const CheckedStore&) = delete;

    // Where the server is to store the workbook.
    QString temporaryPath() const { return temporary_; }
    // Checks what the server stored and renames it over the target; Error
    // (and the target untouched) when anything is wrong.
    void commit();

private:
    QString named_;     // as the caller named it, for messages
    QString target_;    // the file that is replaced (a link followed)
    QString temporary_;
    bool committed_ = false;
};

} // namespace tpworm::automation
