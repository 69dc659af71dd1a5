// libgsf first: glib's headers use names that Qt's headers define as macros.
#include <gsf/gsf.h>

#include "workbook/container_gsf.h"

#include <memory>
#include <mutex>
#include <new>

namespace tpworm::workbook::container::gsf {

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

// What is wrong with the file, said once; no exception leaves the module.
struct Damaged {
    QString message;
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

bool sameName(const QString& a, const char* b)
{
    return a.compare(QLatin1String(b), Qt::CaseInsensitive) == 0;
}

class Reader {
public:
    explicit Reader(qsizetype fileSize) : budget_(4 * fileSize + 65536), fileSize_(fileSize) {}

    void readStorage(GsfInfile* storage, Entry& into, int depth)
    {
        if (depth > kMaxDepth)
            throw Damaged{QStringLiteral("The workbook file is damaged: its storages nest too deeply.")};
        const int count = gsf_infile_num_children(storage);
        for (int i = 0; i < count; ++i) {
            const char* name = gsf_infile_name_by_index(storage, i);
            GPtr<GsfInput> child(gsf_infile_child_by_index(storage, i));
            if (!child || !name)
                throw Damaged{QStringLiteral(
                    "The workbook file is damaged: an entry of its compound document cannot be opened.")};
            Entry entry;
            entry.name = QString::fromUtf8(name);
            GsfInfile* asStorage = GSF_IS_INFILE(child.get()) ? GSF_INFILE(child.get()) : nullptr;
            if (asStorage && gsf_infile_num_children(asStorage) >= 0) {
                entry.isStorage = true;
                if (GSF_IS_INFILE_MSOLE(asStorage))
                    gsf_infile_msole_get_class_id(GSF_INFILE_MSOLE(asStorage), entry.classId.data());
                readStorage(asStorage, entry, depth + 1);
            } else if (depth == 0 && !workbook_ && sameName(entry.name, "Workbook")) {
                // Read last, and only when the file does not hold it in one piece.
                workbookSize_ = checkedSize(child.get());
                workbook_ = std::move(child);
            } else {
                entry.data = readStream(child.get());
            }
            into.children.push_back(std::move(entry));
        }
    }

    qsizetype checkedSize(GsfInput* input)
    {
        const gsf_off_t size = gsf_input_size(input);
        // A stream cannot hold more than the file; together the streams cannot
        // hold more than a few times the file either, whatever the sector
        // chains claim.
        if (size < 0 || size > fileSize_ || size > budget_)
            throw Damaged{QStringLiteral(
                "The workbook file is damaged: a stream of its compound document is larger than the file.")};
        budget_ -= size;
        return static_cast<qsizetype>(size);
    }

    QByteArray readStream(GsfInput* input, qsizetype knownSize = -1)
    {
        const qsizetype size = knownSize >= 0 ? knownSize : checkedSize(input);
        QByteArray data(static_cast<qsizetype>(size), Qt::Uninitialized);
        if (size > 0
            && !gsf_input_read(input, static_cast<size_t>(size), reinterpret_cast<guint8*>(data.data())))
            throw Damaged{QStringLiteral(
                "The workbook file is damaged: a stream of its compound document cannot be read.")};
        return data;
    }

    // The root's first stream named Workbook, not read yet.
    GsfInput* workbook() const { return workbook_.get(); }
    qsizetype workbookSize() const { return workbookSize_; }

private:
    qsizetype budget_;
    qsizetype fileSize_;
    GPtr<GsfInput> workbook_;
    qsizetype workbookSize_ = 0;
};

} // namespace

// The input and the document stay open while the caller decides whether
// the Workbook stream must be read through them.
struct Reading {
    explicit Reading(qsizetype fileSize) : reader(fileSize) {}
    GPtr<GsfInput> input;
    GPtr<GsfInfile> ole;
    Reader reader;
};

namespace {

Reading* open(const QByteArray& file, Entry& root, QString& error)
{
    routeLibgsfLog();
    auto reading = std::make_unique<Reading>(file.size());
    reading->input.reset(gsf_input_memory_new(reinterpret_cast<const guint8*>(file.constData()), file.size(), FALSE));
    if (!reading->input) {
        error = QStringLiteral("The workbook file cannot be read.");
        return nullptr;
    }
    GError* rawError = nullptr;
    reading->ole.reset(gsf_infile_msole_new(reading->input.get(), &rawError));
    std::unique_ptr<GError, GErrorFree> gerror(rawError);
    if (!reading->ole)
        return nullptr;
    try {
        gsf_infile_msole_get_class_id(GSF_INFILE_MSOLE(reading->ole.get()), root.classId.data());
        reading->reader.readStorage(reading->ole.get(), root, 0);
    } catch (const Damaged& damaged) {
        error = damaged.message;
        return nullptr;
    }
    return reading.release();
}

qsizetype workbookSize(const Reading* reading) { return reading->reader.workbookSize(); }

bool readWorkbook(Reading* reading, QByteArray& into, QString& error)
{
    try {
        into = reading->reader.readStream(reading->reader.workbook(), reading->reader.workbookSize());
        return true;
    } catch (const Damaged& damaged) {
        error = damaged.message;
        return false;
    }
}

void close(Reading* reading) { delete reading; }

const Api kApi{open, workbookSize, readWorkbook, close};

} // namespace

} // namespace tpworm::workbook::container::gsf

extern "C" __attribute__((visibility("default"))) const tpworm::workbook::container::gsf::Api* tpworm_libgsf_api()
{
    return &tpworm::workbook::container::gsf::kApi;
}
