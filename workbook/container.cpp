// libgsf first: glib's headers use names that Qt's headers define as macros.
#include <gsf/gsf.h>

#include "workbook/container.h"

#include <memory>
#include <mutex>

namespace tpworm::workbook::container {

namespace {

// Storages nest only a few levels in real files (VBA projects, embedded objects).
constexpr int kMaxDepth = 32;

struct GObjectUnref {
    void operator()(void* object) const
    {
        if (object) g_object_unref(object);
    }
};
template <class T>
using GPtr = std::unique_ptr<T, GObjectUnref>;

struct GErrorFree {
    void operator()(GError* error) const
    {
        if (error) g_error_free(error);
    }
};

// libgsf reports what it finds wrong in a damaged file through GLib's log
// ("ole_seek_block: assertion ... failed", "Invalid metabat item"), which goes
// to standard error by default. The engine says in one message of its own why
// the file cannot be used, so libgsf's domains are logged to nowhere.
void quietLibgsf(const gchar*, GLogLevelFlags, const gchar*, gpointer) {}

void routeLibgsfLog()
{
    static std::once_flag once;
    std::call_once(once, [] {
        const auto levels = static_cast<GLogLevelFlags>(G_LOG_LEVEL_MASK | G_LOG_FLAG_FATAL | G_LOG_FLAG_RECURSION);
        // (Some of its files log without a domain of their own.)
        for (const char* domain : {static_cast<const char*>(nullptr), "libgsf", "libgsf:msole", "libgsf:utils",
                                   "libgsf:input", "libgsf:output"})
            g_log_set_handler(domain, levels, quietLibgsf, nullptr);
    });
}

bool startsWith(const QByteArray& file, const char* magic, qsizetype length)
{
    return file.size() >= length && std::equal(magic, magic + length, file.constData());
}

// Why a file that libgsf cannot open is not a workbook we can read.
[[noreturn]] void refuseNonCompound(const QByteArray& file)
{
    static const char ole[] = "\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1";
    if (startsWith(file, ole, 8))
        throw ContainerError(QStringLiteral(
            "The workbook file is damaged: its compound-document structure cannot be read "
            "(the file may be cut short)."));
    if (startsWith(file, "PK\x03\x04", 4))
        throw ContainerError(QStringLiteral(
            "This is an Excel 2007 or later workbook (.xlsx), not an Excel 97-2003 workbook. "
            "Save it in the \"Excel 97-2003 Workbook (*.xls)\" format and try again."));
    // Excel 2.1 to 4.0 wrote a bare record stream starting with a BOF record.
    // (Their BOF identifiers are 0x0009, 0x0209 and 0x0409; a file of zeros is none.)
    if (file.size() >= 2 && file[0] == '\x09' && (file[1] == '\x00' || file[1] == '\x02' || file[1] == '\x04'))
        throw ContainerError(QStringLiteral(
            "This workbook is in the Excel 4.0 (or older) format. Save it as an Excel 97-2003 "
            "workbook (*.xls) and try again."));
    throw ContainerError(QStringLiteral("The file is not an Excel 97-2003 workbook."));
}

class Reader {
public:
    explicit Reader(qsizetype fileSize) : budget_(4 * fileSize + 65536), fileSize_(fileSize) {}

    void readStorage(GsfInfile* storage, Entry& into, int depth)
    {
        if (depth > kMaxDepth)
            throw ContainerError(QStringLiteral("The workbook file is damaged: its storages nest too deeply."));
        const int count = gsf_infile_num_children(storage);
        for (int i = 0; i < count; ++i) {
            const char* name = gsf_infile_name_by_index(storage, i);
            GPtr<GsfInput> child(gsf_infile_child_by_index(storage, i));
            if (!child || !name)
                throw ContainerError(QStringLiteral(
                    "The workbook file is damaged: an entry of its compound document cannot be opened."));
            Entry entry;
            entry.name = QString::fromUtf8(name);
            GsfInfile* asStorage = GSF_IS_INFILE(child.get()) ? GSF_INFILE(child.get()) : nullptr;
            if (asStorage && gsf_infile_num_children(asStorage) >= 0) {
                entry.isStorage = true;
                if (GSF_IS_INFILE_MSOLE(asStorage))
                    gsf_infile_msole_get_class_id(GSF_INFILE_MSOLE(asStorage), entry.classId.data());
                readStorage(asStorage, entry, depth + 1);
            } else {
                entry.data = readStream(child.get());
            }
            into.children.push_back(std::move(entry));
        }
    }

    QByteArray readStream(GsfInput* input)
    {
        const gsf_off_t size = gsf_input_size(input);
        // A stream cannot hold more than the file; together the streams cannot
        // hold more than a few times the file either, whatever the sector
        // chains claim.
        if (size < 0 || size > fileSize_ || size > budget_)
            throw ContainerError(QStringLiteral(
                "The workbook file is damaged: a stream of its compound document is larger than the file."));
        budget_ -= size;
        QByteArray data(static_cast<qsizetype>(size), Qt::Uninitialized);
        if (size > 0
            && !gsf_input_read(input, static_cast<size_t>(size), reinterpret_cast<guint8*>(data.data())))
            throw ContainerError(QStringLiteral(
                "The workbook file is damaged: a stream of its compound document cannot be read."));
        return data;
    }

private:
    qsizetype budget_;
    qsizetype fileSize_;
};

bool sameName(const QString& a, const char* b)
{
    return a.compare(QLatin1String(b), Qt::CaseInsensitive) == 0;
}

// Takes the workbook stream out of the root, or says why there is none.
QByteArray takeWorkbookStream(Entry& root)
{
    for (auto it = root.children.begin(); it != root.children.end(); ++it) {
        if (!it->isStorage && sameName(it->name, "Workbook")) {
            QByteArray stream = std::move(it->data);
            root.children.erase(it);
            return stream;
        }
    }
    for (const Entry& entry : root.children) {
        if (sameName(entry.name, "Book"))
            throw ContainerError(QStringLiteral(
                "This workbook is in the Excel 5.0/95 format (BIFF5/BIFF7). Save it as an Excel "
                "97-2003 workbook (*.xls) and try again."));
        if (sameName(entry.name, "EncryptedPackage") || sameName(entry.name, "EncryptionInfo"))
            throw ContainerError(QStringLiteral(
                "This is a password-protected Excel 2007 or later workbook. Remove the password, "
                "save it as an Excel 97-2003 workbook (*.xls) and try again."));
    }
    throw ContainerError(QStringLiteral(
        "The file is a compound document but holds no Excel workbook (no Workbook stream)."));
}

} // namespace

Document readDocument(const QByteArray& file)
{
    routeLibgsfLog();
    GPtr<GsfInput> input(gsf_input_memory_new(reinterpret_cast<const guint8*>(file.constData()),
                                              file.size(), FALSE));
    if (!input)
        throw ContainerError(QStringLiteral("The workbook file cannot be read."));
    GError* rawError = nullptr;
    GPtr<GsfInfile> ole(gsf_infile_msole_new(input.get(), &rawError));
    std::unique_ptr<GError, GErrorFree> error(rawError);
    if (!ole)
        refuseNonCompound(file);

    Document document;
    document.root.isStorage = true;
    gsf_infile_msole_get_class_id(GSF_INFILE_MSOLE(ole.get()), document.root.classId.data());
    Reader reader(file.size());
    reader.readStorage(ole.get(), document.root, 0);
    document.workbookStream = takeWorkbookStream(document.root);
    return document;
}

} // namespace tpworm::workbook::container
