// The compound document (OLE2, version 3: 512-byte sectors, 64-byte mini
// sectors below the 4096-byte cutoff) written straight into one buffer of its
// final size. libgsf's writer would take the workbook stream as a copy and
// grow its own buffer by steps; here the layout is computed first, so every
// byte is written once, in place.
//
// Layout: header; the streams of 4096 bytes or more, the workbook stream
// first, each in consecutive sectors; the mini stream (the small streams, in
// consecutive mini sectors); the mini FAT; the directory; the FAT; the DIFAT
// sectors when the FAT needs more than the 109 sectors the header lists.
#include "workbook/container.h"

#include <algorithm>
#include <cstring>

namespace tpworm::workbook::container {

namespace {

constexpr std::uint32_t kFreeSector = 0xFFFFFFFF;
constexpr std::uint32_t kEndOfChain = 0xFFFFFFFE;
constexpr std::uint32_t kFatSector = 0xFFFFFFFD;
constexpr std::uint32_t kDifatSector = 0xFFFFFFFC;
constexpr std::uint32_t kNoEntry = 0xFFFFFFFF;
constexpr qsizetype kSectorSize = 512;
constexpr qsizetype kMiniSectorSize = 64;
constexpr qsizetype kMiniStreamCutoff = 4096;
constexpr qsizetype kIdsPerSector = kSectorSize / 4;
constexpr qsizetype kHeaderDifatSlots = 109;
constexpr qsizetype kEntrySize = 128;
constexpr qsizetype kEntriesPerSector = kSectorSize / kEntrySize;
// A directory entry's name holds 31 UTF-16 units and the terminating zero.
constexpr qsizetype kMaxNameUnits = 31;
// The sector numbers a version-3 file can use (below the special values).
constexpr qsizetype kMaxSectors = 0xFFFFFFFA;

enum EntryType : std::uint8_t { kStorageType = 1, kStreamType = 2, kRootType = 5 };
enum Colour : std::uint8_t { kRed = 0, kBlack = 1 };

void put16(char* at, std::uint16_t value)
{
    at[0] = static_cast<char>(value & 0xFF);
    at[1] = static_cast<char>(value >> 8);
}

void put32(char* at, std::uint32_t value)
{
    put16(at, static_cast<std::uint16_t>(value & 0xFFFF));
    put16(at + 2, static_cast<std::uint16_t>(value >> 16));
}

qsizetype sectorsFor(qsizetype bytes, qsizetype unit)
{
    return (bytes + unit - 1) / unit;
}

// One directory entry, in the order the directory lists them (0 is the root).
struct Node {
    QString name;
    std::uint8_t type = kStreamType;
    const std::array<std::uint8_t, 16>* classId = nullptr;
    const char* data = nullptr; // streams other than the workbook stream
    qsizetype size = 0;
    bool isWorkbook = false;
    std::uint32_t left = kNoEntry;
    std::uint32_t right = kNoEntry;
    std::uint32_t child = kNoEntry;
    std::uint8_t colour = kBlack;
    std::uint32_t start = kEndOfChain;
    bool mini = false;
};

// Siblings are kept in a tree ordered by name: shorter names first, names of
// one length by their upper-case UTF-16 units.
bool nameLess(const QString& a, const QString& b)
{
    if (a.size() != b.size()) return a.size() < b.size();
    for (qsizetype i = 0; i < a.size(); ++i) {
        const char16_t x = a[i].toUpper().unicode();
        const char16_t y = b[i].toUpper().unicode();
        if (x != y) return x < y;
    }
    return false;
}

class Layout {
public:
    Layout(const Entry& root, qsizetype workbookSize)
    {
        nodes_.push_back(Node{});
        nodes_[0].name = QStringLiteral("Root Entry");
        nodes_[0].type = kRootType;
        nodes_[0].classId = &root.classId;
        std::vector<std::uint32_t> children;
        Node workbook;
        workbook.name = QStringLiteral("Workbook");
        workbook.size = workbookSize;
        workbook.isWorkbook = true;
        children.push_back(add(std::move(workbook)));
        addChildren(root, children, 0);
        nodes_[0].child = tree(children);
    }

    std::vector<Node>& nodes() { return nodes_; }

private:
    std::uint32_t add(Node node)
    {
        if (node.name.size() > kMaxNameUnits)
            throw ContainerError(QStringLiteral(
                "The workbook cannot be written: the name of entry \"%1\" is longer than a compound "
                "document allows.").arg(node.name));
        nodes_.push_back(std::move(node));
        return static_cast<std::uint32_t>(nodes_.size() - 1);
    }

    void addChildren(const Entry& storage, std::vector<std::uint32_t>& into, int depth)
    {
        // The reader refuses deeper nesting; this only keeps the recursion bounded.
        if (depth > 64)
            throw ContainerError(QStringLiteral("The workbook cannot be written: its storages nest too deeply."));
        for (const Entry& child : storage.children) {
            Node node;
            node.name = child.name;
            if (child.isStorage) {
                node.type = kStorageType;
                node.classId = &child.classId;
            } else {
                node.data = child.data.constData();
                node.size = child.data.size();
            }
            const std::uint32_t at = add(std::move(node));
            into.push_back(at);
            if (child.isStorage) {
                std::vector<std::uint32_t> grandchildren;
                addChildren(child, grandchildren, depth + 1);
                nodes_[at].child = tree(grandchildren);
            }
        }
    }

    // A balanced tree of the siblings: halves of each range go left and right,
    // so the leaves lie on the last two levels; those on the last level of an
    // incomplete tree are red, every other node black, which keeps the number
    // of black nodes the same on every path.
    std::uint32_t tree(std::vector<std::uint32_t>& siblings)
    {
        std::stable_sort(siblings.begin(), siblings.end(), [this](std::uint32_t a, std::uint32_t b) {
            return nameLess(nodes_[a].name, nodes_[b].name);
        });
        int height = 0;
        while ((qsizetype(1) << height) - 1 < qsizetype(siblings.size())) ++height;
        const bool complete = (qsizetype(1) << height) - 1 == qsizetype(siblings.size());
        return subtree(siblings, 0, siblings.size(), 1, height, complete);
    }

    std::uint32_t subtree(const std::vector<std::uint32_t>& siblings, std::size_t begin, std::size_t end,
                          int level, int height, bool complete)
    {
        if (begin >= end) return kNoEntry;
        const std::size_t middle = begin + (end - begin) / 2;
        Node& node = nodes_[siblings[middle]];
        node.colour = (!complete && level == height && level > 1) ? kRed : kBlack;
        const std::uint32_t left = subtree(siblings, begin, middle, level + 1, height, complete);
        const std::uint32_t right = subtree(siblings, middle + 1, end, level + 1, height, complete);
        nodes_[siblings[middle]].left = left;
        nodes_[siblings[middle]].right = right;
        return siblings[middle];
    }

    std::vector<Node> nodes_;
};

void writeName(char* entry, const QString& name)
{
    for (qsizetype i = 0; i < name.size(); ++i)
        put16(entry + 2 * i, name[i].unicode());
    put16(entry + 64, static_cast<std::uint16_t>(2 * (name.size() + 1)));
}

} // namespace

QByteArray writeDocument(const Entry& root, qsizetype workbookSize,
                         const std::function<void(char* workbook)>& writeWorkbook)
{
    Layout layout(root, workbookSize);
    std::vector<Node>& nodes = layout.nodes();

    // Sectors of the big streams, the workbook stream first; mini sectors of
    // the small ones, the workbook stream first again.
    qsizetype bigSectors = 0;
    qsizetype miniSectors = 0;
    for (int pass = 0; pass < 2; ++pass) {
        for (std::size_t i = 1; i < nodes.size(); ++i) {
            Node& node = nodes[i];
            if (node.type != kStreamType || node.isWorkbook != (pass == 0)) continue;
            if (node.size == 0) continue;
            node.mini = node.size < kMiniStreamCutoff;
            if (node.mini) {
                node.start = static_cast<std::uint32_t>(miniSectors);
                miniSectors += sectorsFor(node.size, kMiniSectorSize);
            } else {
                node.start = static_cast<std::uint32_t>(bigSectors);
                bigSectors += sectorsFor(node.size, kSectorSize);
            }
        }
    }
    const qsizetype miniStreamSectors = sectorsFor(miniSectors * kMiniSectorSize, kSectorSize);
    const qsizetype miniFatSectors = sectorsFor(miniSectors, kIdsPerSector);
    const qsizetype directorySectors = sectorsFor(qsizetype(nodes.size()), kEntriesPerSector);
    const qsizetype fixedSectors = bigSectors + miniStreamSectors + miniFatSectors + directorySectors;
    // The FAT lists every sector, its own and the DIFAT's too.
    qsizetype fatSectors = 0;
    qsizetype difatSectors = 0;
    for (;;) {
        difatSectors = fatSectors > kHeaderDifatSlots ? sectorsFor(fatSectors - kHeaderDifatSlots, kIdsPerSector - 1) : 0;
        const qsizetype needed = sectorsFor(fixedSectors + fatSectors + difatSectors, kIdsPerSector);
        if (needed <= fatSectors) break;
        fatSectors = needed;
    }
    const qsizetype totalSectors = fixedSectors + fatSectors + difatSectors;
    if (totalSectors > kMaxSectors)
        throw ContainerError(QStringLiteral("The workbook cannot be written: it is too large for a compound document."));

    const qsizetype miniStreamStart = bigSectors;
    const qsizetype miniFatStart = miniStreamStart + miniStreamSectors;
    const qsizetype directoryStart = miniFatStart + miniFatSectors;
    const qsizetype fatStart = directoryStart + directorySectors;
    const qsizetype difatStart = fatStart + fatSectors;

    // Not cleared first: every byte is written below, the streams' bytes by
    // their writers and the rest of their last sectors here.
    QByteArray document(kSectorSize * (1 + totalSectors), Qt::Uninitialized);
    char* const base = document.data();
    std::memset(base, 0, kSectorSize);
    std::memset(base + kSectorSize * (1 + directoryStart), 0, kSectorSize * directorySectors);
    auto sector = [base](qsizetype number) { return base + kSectorSize * (1 + number); };
    auto miniSector = [&](qsizetype number) { return sector(miniStreamStart) + kMiniSectorSize * number; };

    // Header.
    static const char signature[] = "\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1";
    std::memcpy(base, signature, 8);
    put16(base + 24, 0x003E); // minor version
    put16(base + 26, 0x0003); // major version: 512-byte sectors
    put16(base + 28, 0xFFFE); // little-endian
    put16(base + 30, 9);      // sector size 2^9
    put16(base + 32, 6);      // mini sector size 2^6
    put32(base + 44, static_cast<std::uint32_t>(fatSectors));
    put32(base + 48, static_cast<std::uint32_t>(directoryStart));
    put32(base + 56, static_cast<std::uint32_t>(kMiniStreamCutoff));
    put32(base + 60, miniFatSectors ? static_cast<std::uint32_t>(miniFatStart) : kEndOfChain);
    put32(base + 64, static_cast<std::uint32_t>(miniFatSectors));
    put32(base + 68, difatSectors ? static_cast<std::uint32_t>(difatStart) : kEndOfChain);
    put32(base + 72, static_cast<std::uint32_t>(difatSectors));
    for (qsizetype k = 0; k < kHeaderDifatSlots; ++k)
        put32(base + 76 + 4 * k, k < fatSectors ? static_cast<std::uint32_t>(fatStart + k) : kFreeSector);

    // DIFAT sectors: 127 FAT sector numbers each, then the next DIFAT sector.
    for (qsizetype d = 0; d < difatSectors; ++d) {
        char* at = sector(difatStart + d);
        for (qsizetype k = 0; k < kIdsPerSector - 1; ++k) {
            const qsizetype fat = kHeaderDifatSlots + d * (kIdsPerSector - 1) + k;
            put32(at + 4 * k, fat < fatSectors ? static_cast<std::uint32_t>(fatStart + fat) : kFreeSector);
        }
        put32(at + 4 * (kIdsPerSector - 1),
              d + 1 < difatSectors ? static_cast<std::uint32_t>(difatStart + d + 1) : kEndOfChain);
    }

    // FAT: every run of consecutive sectors is one chain.
    char* const fat = sector(fatStart);
    auto chain = [&](char* table, qsizetype first, qsizetype count) {
        for (qsizetype k = 0; k < count; ++k)
            put32(table + 4 * (first + k),
                  k + 1 < count ? static_cast<std::uint32_t>(first + k + 1) : kEndOfChain);
    };
    for (const Node& node : nodes)
        if (node.type == kStreamType && node.size > 0 && !node.mini)
            chain(fat, node.start, sectorsFor(node.size, kSectorSize));
    chain(fat, miniStreamStart, miniStreamSectors);
    chain(fat, miniFatStart, miniFatSectors);
    chain(fat, directoryStart, directorySectors);
    for (qsizetype k = 0; k < fatSectors; ++k) put32(fat + 4 * (fatStart + k), kFatSector);
    for (qsizetype k = 0; k < difatSectors; ++k) put32(fat + 4 * (difatStart + k), kDifatSector);
    for (qsizetype k = totalSectors; k < fatSectors * kIdsPerSector; ++k) put32(fat + 4 * k, kFreeSector);

    // Mini FAT.
    if (miniFatSectors) {
        char* const miniFat = sector(miniFatStart);
        for (qsizetype k = 0; k < miniFatSectors * kIdsPerSector; ++k) put32(miniFat + 4 * k, kFreeSector);
        for (const Node& node : nodes)
            if (node.type == kStreamType && node.size > 0 && node.mini)
                chain(miniFat, node.start, sectorsFor(node.size, kMiniSectorSize));
    }

    // Directory; the unused entries after the last are empty, with no siblings.
    nodes[0].start = miniStreamSectors ? static_cast<std::uint32_t>(miniStreamStart) : kEndOfChain;
    nodes[0].size = miniSectors * kMiniSectorSize;
    for (qsizetype i = 0; i < directorySectors * kEntriesPerSector; ++i) {
        char* entry = sector(directoryStart) + kEntrySize * i;
        if (i >= qsizetype(nodes.size())) {
            put32(entry + 68, kNoEntry);
            put32(entry + 72, kNoEntry);
            put32(entry + 76, kNoEntry);
            continue;
        }
        const Node& node = nodes[static_cast<std::size_t>(i)];
        writeName(entry, node.name);
        entry[66] = static_cast<char>(node.type);
        entry[67] = static_cast<char>(node.colour);
        put32(entry + 68, node.left);
        put32(entry + 72, node.right);
        put32(entry + 76, node.child);
        if (node.classId) std::memcpy(entry + 80, node.classId->data(), 16);
        if (node.type == kStorageType) continue; // no sectors, no size
        put32(entry + 116, node.start);
        put32(entry + 120, static_cast<std::uint32_t>(node.size));
    }

    // The streams' bytes, and zeros to the end of their last sectors.
    if (miniStreamSectors)
        std::memset(sector(miniStreamStart), 0, kSectorSize * miniStreamSectors);
    for (const Node& node : nodes) {
        if (node.type != kStreamType || node.size == 0) continue;
        char* at = node.mini ? miniSector(node.start) : sector(node.start);
        if (!node.mini) {
            const qsizetype padded = kSectorSize * sectorsFor(node.size, kSectorSize);
            std::memset(at + node.size, 0, static_cast<std::size_t>(padded - node.size));
        }
        if (node.isWorkbook)
            writeWorkbook(at);
        else
            std::memcpy(at, node.data, static_cast<std::size_t>(node.size));
    }
    return document;
}

QByteArray writeDocument(const Entry& root, const QByteArray& workbookStream)
{
    return writeDocument(root, workbookStream.size(), [&workbookStream](char* at) {
        std::memcpy(at, workbookStream.constData(), static_cast<std::size_t>(workbookStream.size()));
    });
}

} // namespace tpworm::workbook::container
