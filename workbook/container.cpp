#include "workbook/container.h"

#include "workbook/container_gsf.h"
#ifdef TPWORM_LAZY_LIBGSF
#include "core/program_module.h"
#endif

#include <cctype>
#include <memory>

namespace tpworm::workbook::container {

namespace {

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

// libgsf's half of the reader: the module, loaded by the first read, or
// linked in.
const gsf::Api& gsfApi()
{
#ifdef TPWORM_LAZY_LIBGSF
    static const gsf::Api* api = [] {
        QString error;
        const auto entry = reinterpret_cast<decltype(&tpworm_libgsf_api)>(
            programModuleSymbol(TPWORM_LIBGSF_MODULE, "tpworm_libgsf_api", error));
        if (!entry)
            throw ContainerError(QStringLiteral("Workbooks cannot be read: %1").arg(error));
        return entry();
    }();
    return *api;
#else
    return *tpworm_libgsf_api();
#endif
}

struct CloseReading {
    void operator()(gsf::Reading* reading) const { gsfApi().close(reading); }
};

} // namespace

Document readDocument(const QByteArray& file)
{
    const gsf::Api& api = gsfApi();
    Document document;
    document.root.isStorage = true;
    QString error;
    std::unique_ptr<gsf::Reading, CloseReading> reading(api.open(file, document.root, error));
    if (!reading) {
        if (!error.isEmpty())
            throw ContainerError(error);
        refuseNonCompound(file);
    }
    takeWorkbookStream(document.root);
    const qsizetype size = api.workbookSize(reading.get());
    const qsizetype at = contiguousWorkbookStream(file, size);
    if (at >= 0) {
        document.workbookStream = QByteArray::fromRawData(file.constData() + at, size);
        document.workbookIsView = true;
    } else if (!api.readWorkbook(reading.get(), document.workbookStream, error)) {
        throw ContainerError(error);
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
