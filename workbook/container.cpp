// libgsf first: glib's headers use names that Qt's headers define as macros.
#include <gsf/gsf.h>

#include "workbook/container.h"

#include <cctype>
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

bool sameName(const QString& a, const char* b);

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
            throw ContainerError(QStringLiteral(
                "The workbook file is damaged: a stream of its compound document is larger than the file."));
        budget_ -= size;
        return static_cast<qsizetype>(size);
    }

    QByteArray readStream(GsfInput* input, qsizetype knownSize = -1)
    {
        const qsizetype size = knownSize >= 0 ? knownSize : checkedSize(input);
        QByteArray data(static_cast<qsizetype>(size), Qt::Uninitialized);
        if (size > 0
            && !gsf_input_read(input, static_cast<size_t>(size), reinterpret_cast<guint8*>(data.data())))
            throw ContainerError(QStringLiteral(
                "The workbook file is damaged: a stream of its compound document cannot be read."));
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

bool sameName(const QString& a, const char* b)
{
    return a.compare(QLatin1String(b), Qt::CaseInsensitive) == 0;
}

// Takes the workbook stream's entry out of the root, or says why there is none.
void takeWorkbookStream(Entry& root)
{
    for (auto it = root.children.begin(); it != root.children.end(); ++it) {
        if (!it->isStorage && sameName(it->name, "Workbook")) {
            root.children.erase(it);
            return;
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
    takeWorkbookStream(document.root);
    const qsizetype size = reader.workbookSize();
    const qsizetype at = contiguousWorkbookStream(file, size);
    if (at >= 0) {
        document.workbookStream = QByteArray::fromRawData(file.constData() + at, size);
        document.workbookIsView = true;
    } else {
        document.workbookStream = reader.readStream(reader.workbook(), size);
    }
    return document;
}

qsizetype contiguousWorkbookStream(const QByteArray& file, qsizetype size)
{
    // Any field out of bounds or out of line ends the search: libgsf has
    // read the file already, so the stream is then read through it.
    struct Doubt {};
    auto u32 = [&](qsizetype at) -> std::uint32_t {
        if (at < 0 || at + 4 > file.size()) throw Doubt{};
        const auto* p = reinterpret_cast<const unsigned char*>(file.constData() + at);
        return p[0] | (p[1] << 8) | (p[2] << 16) | (std::uint32_t(p[3]) << 24);
    };
    auto u16 = [&](qsizetype at) -> std::uint16_t {
        if (at < 0 || at + 2 > file.size()) throw Doubt{};
        const auto* p = reinterpret_cast<const unsigned char*>(file.constData() + at);
        return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
    };
    constexpr std::uint32_t kEndOfChain = 0xFFFFFFFE;
    try {
        if (size <= 0 || file.size() < 512) return -1;
        const std::uint16_t shift = u16(30);
        if (shift != 9 && shift != 12) return -1;
        const qsizetype sectorSize = qsizetype(1) << shift;
        const qsizetype sectors = file.size() / sectorSize - 1; // whole sectors after the header
        auto offsetOf = [&](std::uint32_t sector) -> qsizetype {
            if (sector >= static_cast<std::uint64_t>(sectors)) throw Doubt{};
            return (qsizetype(sector) + 1) * sectorSize;
        };
        // A stream below the cutoff lies in the mini stream (whichever
        // cutoff a reader goes by).
        if (size < 4096 || size < u32(56)) return -1;
        const qsizetype perSector = sectorSize / 4;

        // The FAT's sectors: 109 in the header, the others in the DIFAT chain.
        const std::uint32_t fatCount = u32(44);
        if (fatCount > static_cast<std::uint64_t>(sectors)) return -1;
        std::vector<std::uint32_t> fat;
        fat.reserve(fatCount);
        for (qsizetype k = 0; k < 109 && fat.size() < fatCount; ++k) fat.push_back(u32(76 + 4 * k));
        std::uint32_t difat = u32(68);
        for (std::uint32_t n = 0; fat.size() < fatCount; ++n) {
            if (n >= u32(72)) return -1;
            const qsizetype at = offsetOf(difat);
            for (qsizetype k = 0; k + 1 < perSector && fat.size() < fatCount; ++k) fat.push_back(u32(at + 4 * k));
            difat = u32(at + 4 * (perSector - 1));
        }
        auto next = [&](std::uint32_t sector) -> std::uint32_t {
            const std::size_t j = sector / perSector;
            if (j >= fat.size()) throw Doubt{};
            return u32(offsetOf(fat[j]) + 4 * (sector % perSector));
        };

        // The directory, and in it the root's children.
        std::vector<std::uint32_t> directory;
        for (std::uint32_t s = u32(48); s != kEndOfChain; s = next(s)) {
            if (qsizetype(directory.size()) >= sectors) return -1; // a loop
            offsetOf(s);
            directory.push_back(s);
        }
        const qsizetype perDirectorySector = sectorSize / 128;
        const qsizetype entries = qsizetype(directory.size()) * perDirectorySector;
        auto entryAt = [&](std::uint32_t i) -> qsizetype {
            if (i >= static_cast<std::uint64_t>(entries)) throw Doubt{};
            return offsetOf(directory[i / perDirectorySector]) + 128 * (i % perDirectorySector);
        };
        if (entries == 0 || file[entryAt(0) + 66] != 5) return -1;
        std::vector<std::uint32_t> pending{u32(entryAt(0) + 76)};
        qsizetype visited = 0;
        qsizetype found = -1;
        while (!pending.empty()) {
            const std::uint32_t i = pending.back();
            pending.pop_back();
            if (i == 0xFFFFFFFF) continue;
            if (++visited > entries) return -1; // a loop
            const qsizetype e = entryAt(i);
            pending.push_back(u32(e + 68));
            pending.push_back(u32(e + 72));
            // The name up to its first zero unit, without regard to case.
            static const char workbook[] = "workbook";
            qsizetype k = 0;
            while (k < 32 && u16(e + 2 * k) != 0) ++k;
            bool same = k == 8;
            for (qsizetype c = 0; same && c < 8; ++c) {
                const std::uint16_t unit = u16(e + 2 * c);
                same = unit < 0x80 && std::tolower(unit) == workbook[c];
            }
            if (!same) continue;
            if (found >= 0) return -1; // two of them: leave it to libgsf
            found = e;
        }
        if (found < 0 || file[found + 66] != 2 || u32(found + 120) != static_cast<std::uint64_t>(size)) return -1;
        const std::uint32_t start = u32(found + 116);
        const qsizetype count = (size + sectorSize - 1) / sectorSize;
        if (start >= static_cast<std::uint64_t>(sectors) || sectors - start < count) return -1;
        for (qsizetype k = 0; k + 1 < count; ++k)
            if (next(static_cast<std::uint32_t>(start + k)) != start + k + 1) return -1;
        const qsizetype at = offsetOf(start);
        if (file.size() - at < size) return -1;
        return at;
    } catch (const Doubt&) {
        return -1;
    }
}

} // namespace tpworm::workbook::container
