// The engine: the workbook stream split into its globals and the first sheet,
// which are rebuilt on saving; every other byte of the stream is carried over,
// only the stream positions that point past a rebuilt part are moved.
#include "workbook/workbook.h"

#include "workbook/biff_records.h"
#include "workbook/biff_sheet.h"
#include "workbook/biff_strings.h"
#include "workbook/container.h"

#include "core/safe_file.h"

#include <QFileInfo>

#include <optional>
#include <set>

namespace tpworm::workbook {

using namespace biff;

namespace {

// Far beyond any real Excel 97-2003 workbook, well below what memory allows.
constexpr qint64 kMaxFileSize = 512 * 1024 * 1024;
// The first cell format after the fifteen style formats every BIFF8 workbook starts with.
constexpr std::uint16_t kDefaultCellXf = 15;
// BOUNDSHEET sheet type of a worksheet (or dialog sheet).
constexpr std::uint8_t kSheetTypeWorksheet = 0;

bool followsSst(std::uint16_t id)
{
    switch (id) {
    case kExtSst: case kWebPub: case kWOpt: case kCrErr: case kBookExt: case kFeatHdr:
    case kDConn: case kTheme: case kCompressPictures: case kCompat12: case kGuidTypeLib: case kEof:
        return true;
    default:
        return false;
    }
}

[[noreturn]] void throwDamaged(const QString& what)
{
    throw BiffError(QStringLiteral("The workbook is damaged: %1").arg(what));
}

} // namespace

WorkbookError::WorkbookError(const QString& message) : std::runtime_error(message.toStdString()) {}

QString CellName(int column, int row)
{
    return CellAddress{column, row}.name();
}

struct Workbook::Impl {
    QString fileName;
    bool loaded = false;

    container::Entry root;
    QByteArray file;   // the file's bytes, when the stream is a view of them
    QByteArray stream;
    std::vector<Record> globals;
    qsizetype globalsEnd = 0;
    std::optional<std::size_t> sst;
    std::optional<std::size_t> extSst;
    std::vector<std::size_t> boundSheets;   // indexes into globals
    std::vector<std::uint32_t> sheetOffsets;
    std::vector<std::uint8_t> sheetTypes;
    std::size_t xfCount = 0;

    SharedStrings strings;
    FirstSheet sheet;
    bool firstIsWorksheet = false;
    qsizetype sheetStart = 0;
    qsizetype sheetEnd = 0;
    std::set<qsizetype> indexBodies; // stream offsets of each sheet's INDEX record body
    // What a save writes besides the stream as it was: the rebuilt shared
    // strings, made once for the two passes of a save.
    struct Rebuilt {
        Record sst;
        std::vector<std::pair<std::size_t, qsizetype>> buckets;
    };

    // bytes: a buffer of its own (not raw data of the caller's), which the
    // stream may be a view of.
    void parse(const QByteArray& bytes);
    void checkStreamStart() const;
    void readGlobals();
    void handleGlobalsBof(const Record& record) const;
    void handleBoundSheet(const Record& record, std::size_t at);
    void handleSst(std::size_t at);
    void readSheets();
    void readSheet(std::size_t number);
    std::uint16_t defaultXf() const;
    std::size_t sstInsertionPoint() const;
    // The stream as saved, written twice: counting, then in place.
    void writeStream(Sink& out, const Rebuilt& rebuilt) const;
    Rebuilt rebuild() const;
    QByteArray saveDocument() const;
};

void Workbook::Impl::parse(const QByteArray& bytes)
{
    container::Document document = container::readDocument(bytes);
    root = std::move(document.root);
    if (document.workbookIsView) file = bytes;
    stream = std::move(document.workbookStream);
    checkStreamStart();
    readGlobals();
    if (sst) strings.load(globals[*sst]);
    readSheets();
    loaded = true;
}

void Workbook::Impl::checkStreamStart() const
{
    if (stream.size() < 4)
        throwDamaged(QStringLiteral("its workbook stream is empty."));
    const std::uint16_t id = peekU16(stream, 0);
    if (id == kBofBiff2 || id == kBofBiff3 || id == kBofBiff4)
        throw BiffError(QStringLiteral(
            "This workbook is in the Excel 4.0 (or older) format. Save it as an Excel 97-2003 "
            "workbook (*.xls) and try again."));
    if (id != kBof)
        throwDamaged(QStringLiteral("its workbook stream does not start with a BOF record."));
}

void Workbook::Impl::handleGlobalsBof(const Record& record) const
{
    FieldReader fields(record.data, "BOF");
    const std::uint16_t version = fields.u16();
    const std::uint16_t type = fields.u16();
    if (version < kBiff8Version)
        throw BiffError(QStringLiteral(
            "This workbook is in the Excel 5.0/95 format (BIFF5/BIFF7). Save it as an Excel "
            "97-2003 workbook (*.xls) and try again."));
    if (version != kBiff8Version)
        throwDamaged(QStringLiteral("its BOF record names an unknown format version."));
    if (type != kBofGlobals)
        throwDamaged(QStringLiteral("its workbook stream does not start with the workbook globals."));
}

void Workbook::Impl::handleBoundSheet(const Record& record, std::size_t at)
{
    FieldReader fields(record.data, "BOUNDSHEET");
    sheetOffsets.push_back(fields.u32());
    fields.u8(); // visibility
    sheetTypes.push_back(fields.u8());
    boundSheets.push_back(at);
}

void Workbook::Impl::handleSst(std::size_t at)
{
    if (sst)
        throwDamaged(QStringLiteral("it holds two shared-string tables."));
    sst = at;
}

void Workbook::Impl::readGlobals()
{
    globals = readSubstream(stream, 0, globalsEnd);
    handleGlobalsBof(globals.front());
    for (std::size_t i = 0; i < globals.size(); ++i) {
        switch (globals[i].id) {
        case kFilePass:
            throw BiffError(QStringLiteral(
                "This workbook is protected with a password (encrypted). Open it in Excel, remove "
                "the password and save it again, then try again."));
        case kBoundSheet: handleBoundSheet(globals[i], i); break;
        case kSst: handleSst(i); break;
        case kExtSst: if (!extSst) extSst = i; break;
        case kXf: ++xfCount; break;
        default: break;
        }
    }
    if (boundSheets.empty())
        throwDamaged(QStringLiteral("it lists no sheets."));
}

void Workbook::Impl::readSheet(std::size_t number)
{
    const qsizetype start = sheetOffsets[number];
    if (start < globalsEnd || start >= stream.size())
        throwDamaged(QStringLiteral("sheet %1 lies outside the workbook stream.").arg(number + 1));
    if (number > 0 && start >= sheetStart && start < sheetEnd && start != sheetStart)
        throwDamaged(QStringLiteral("sheet %1 lies inside the first sheet.").arg(number + 1));
    // Headers only: the first sheet indexes its own records.
    bool first = true;
    std::uint16_t version = 0, type = 0;
    const qsizetype end = walkSubstream(stream, start, [&](std::uint16_t id, qsizetype offset, std::uint16_t length,
                                                           int depth) {
        if (first) {
            if (length >= 4) {
                version = peekU16(stream, offset + 4);
                type = peekU16(stream, offset + 6);
            } else if (number == 0) {
                throwTooShort("BOF");
            }
            first = false;
        }
        if (depth == 1 && id == kIndex) {
            if (length < 16 || (length - 16) % 4 != 0) throwTooShort("INDEX");
            indexBodies.insert(offset + 4);
        }
    });
    if (number != 0) return;

    sheetStart = start;
    sheetEnd = end;
    if (version != kBiff8Version)
        throwDamaged(QStringLiteral("its first sheet is not in the Excel 97-2003 format."));
    firstIsWorksheet = type == kBofWorksheet && sheetTypes[0] == kSheetTypeWorksheet;
    if (firstIsWorksheet)
        sheet.load(stream, start, end, strings);
}

void Workbook::Impl::readSheets()
{
    for (std::size_t i = 0; i < sheetOffsets.size(); ++i)
        readSheet(i);
}

std::uint16_t Workbook::Impl::defaultXf() const
{
    if (xfCount > kDefaultCellXf) return kDefaultCellXf;
    return static_cast<std::uint16_t>(xfCount > 0 ? xfCount - 1 : 0);
}

std::size_t Workbook::Impl::sstInsertionPoint() const
{
    for (std::size_t i = boundSheets.back(); i < globals.size(); ++i)
        if (followsSst(globals[i].id)) return i;
    return globals.size() - 1;
}

Workbook::Impl::Rebuilt Workbook::Impl::rebuild() const
{
    Rebuilt rebuilt;
    rebuilt.sst = strings.buildSst(rebuilt.buckets);
    return rebuilt;
}

void Workbook::Impl::writeStream(Sink& out, const Rebuilt& rebuilt) const
{
    if (!sheet.modified()) {
        out.append(stream);
        return;
    }

    std::vector<qsizetype> boundSheetAt;
    const std::size_t sstAt = sst ? *sst : sstInsertionPoint();
    for (std::size_t i = 0; i < globals.size(); ++i) {
        if (i == sstAt) {
            const auto position = static_cast<std::uint32_t>(out.size());
            rebuilt.sst.writeTo(out);
            strings.buildExtSst(rebuilt.sst, position, rebuilt.buckets).writeTo(out);
        }
        if ((sst && i == *sst) || (extSst && i == *extSst)) continue;
        if (globals[i].id == kBoundSheet) boundSheetAt.push_back(out.size() + 4);
        globals[i].writeTo(out);
    }

    const qsizetype globalsGrowth = out.size() - globalsEnd;
    const auto newSheetStart = static_cast<std::uint32_t>(sheetStart + globalsGrowth);
    out.append(QByteArrayView(stream).sliced(globalsEnd, sheetStart - globalsEnd));
    const qsizetype sheetAt = out.size();
    sheet.write(out, newSheetStart, strings);
    const qsizetype sheetGrowth = (out.size() - sheetAt) - (sheetEnd - sheetStart);
    if (out.size() + stream.size() - sheetEnd > 0xFFFFFFFFLL)
        throw BiffError(QStringLiteral("The workbook would grow beyond the 4 GB an Excel 97-2003 file can hold."));
    auto moved = [&](std::uint32_t position) -> std::uint32_t {
        if (position < globalsEnd) return position;
        if (position < sheetEnd) return static_cast<std::uint32_t>(position + globalsGrowth);
        return static_cast<std::uint32_t>(position + globalsGrowth + sheetGrowth);
    };

    // The rest of the stream goes over as it is; the INDEX records of the
    // other sheets are then moved where they now stand.
    out.append(QByteArrayView(stream).sliced(sheetEnd));
    if (out.counting()) return;
    // Where a byte of the old stream past the globals now is; -1 inside the first sheet.
    auto at = [&](qsizetype old, qsizetype size) -> qsizetype {
        if (old + size <= sheetStart) return old + globalsGrowth;
        if (old >= sheetEnd) return old + globalsGrowth + sheetGrowth;
        return -1;
    };
    for (qsizetype body : indexBodies) {
        if (body >= sheetStart && body < sheetEnd) continue;
        if (at(body - 2, 2) < 0) continue;
        const qsizetype length = peekU16(stream, body - 2);
        auto move = [&](qsizetype old) {
            const qsizetype now = at(old, 4);
            if (now >= 0) out.putU32(now, moved(peekU32(stream, old)));
        };
        if (at(body + 12, 4) >= 0 && peekU32(stream, body + 12) != 0) move(body + 12);
        for (qsizetype slot = body + 16; slot + 4 <= body + length; slot += 4)
            move(slot);
    }
    for (std::size_t k = 0; k < boundSheetAt.size(); ++k)
        out.putU32(boundSheetAt[k], k == 0 ? newSheetStart : moved(sheetOffsets[k]));
}

QByteArray Workbook::Impl::saveDocument() const
{
    const Rebuilt rebuilt = sheet.modified() ? rebuild() : Rebuilt{};
    Sink count;
    writeStream(count, rebuilt);
    return container::writeDocument(root, count.size(), [&](char* at) {
        Sink into(at);
        writeStream(into, rebuilt);
    });
}

Workbook::Workbook() : d(std::make_unique<Impl>()) {}
Workbook::~Workbook() = default;

void Workbook::SetFileName(const QString& path) { d->fileName = path; }
QString Workbook::FileName() const { return d->fileName; }

void Workbook::Load()
{
    const QString name = d->fileName;
    d = std::make_unique<Impl>();
    d->fileName = name;
    const QFileInfo info(name);
    if (name.isEmpty())
        throw WorkbookError(QStringLiteral("No workbook file is named."));
    if (!info.exists())
        throw WorkbookError(QStringLiteral("The workbook file \"%1\" does not exist.").arg(name));
    if (info.isDir())
        throw WorkbookError(QStringLiteral("\"%1\" is a folder, not a workbook file.").arg(name));
    if (!info.isFile())
        throw WorkbookError(QStringLiteral(
            "\"%1\" is not a regular file (a device, a FIFO or a socket), so it is no workbook file.").arg(name));
    if (info.size() > kMaxFileSize)
        throw WorkbookError(QStringLiteral("The file \"%1\" is too large for an Excel 97-2003 workbook.").arg(name));
    // Read with the bound whatever the size said: a file can grow, and only
    // a regular file is read at all.
    QByteArray bytes;
    if (const WriteOutcome read = readRegularFile(name, kMaxFileSize, bytes); !read.ok())
        throw WorkbookError(QStringLiteral("The workbook file \"%1\" cannot be read: %2.").arg(name, read.error));
    try {
        LoadFromBuffer(bytes);
    } catch (const WorkbookError& error) {
        throw WorkbookError(QStringLiteral("Cannot load \"%1\": %2").arg(name, error.message()));
    }
}

void Workbook::LoadFromBuffer(const QByteArray& bytes)
{
    auto fresh = std::make_unique<Impl>();
    fresh->fileName = d->fileName;
    try {
        if (bytes.size() > kMaxFileSize)
            throw WorkbookError(QStringLiteral("The file is too large for an Excel 97-2003 workbook."));
        // The stream may stay a view of the bytes: they must be ours.
        QByteArray owned = bytes;
        if (!owned.data_ptr().isMutable()) owned = QByteArray(bytes.constData(), bytes.size());
        fresh->parse(owned);
    } catch (...) {
        auto empty = std::make_unique<Impl>();
        empty->fileName = d->fileName;
        d = std::move(empty);
        throw;
    }
    d = std::move(fresh);
}

bool Workbook::IsLoaded() const { return d->loaded; }

QString Workbook::GetCellText(int column, int row) const
{
    if (!d->loaded || !d->firstIsWorksheet) return QString();
    return d->sheet.cellText(column, row, d->strings);
}

std::vector<CellText> Workbook::NonEmptyCells() const
{
    std::vector<CellText> cells;
    if (!d->loaded || !d->firstIsWorksheet) return cells;
    d->sheet.forEachText(d->strings, [&](int column, int row, const QString& text) {
        cells.push_back(CellText{column, row, text});
    });
    return cells;
}

void Workbook::SetCellText(int column, int row, const QString& text)
{
    if (!d->loaded)
        throw WorkbookError(QStringLiteral("No workbook is loaded."));
    if (column < 0 || column >= kMaxColumns || row < 0 || row >= kMaxRows)
        throw WorkbookError(QStringLiteral(
            "The cell (column %1, row %2) lies outside the sheet: an Excel 97-2003 sheet has columns A to IV "
            "and rows 1 to 65536.").arg(column + 1).arg(row + 1));
    if (text.size() > kMaxCellTextLength)
        throw WorkbookError(QStringLiteral("The text for cell %1 is %2 characters long; a cell holds at most %3.")
                                .arg(CellName(column, row)).arg(text.size()).arg(kMaxCellTextLength));
    if (!d->firstIsWorksheet)
        throw WorkbookError(QStringLiteral(
            "The first sheet of this workbook is a chart or macro sheet; it has no cells to write."));
    const std::uint32_t index = d->strings.indexOf(text);
    d->strings.addReferences(d->sheet.setSharedString(column, row, index, d->defaultXf()));
}

void Workbook::Save()
{
    if (d->fileName.isEmpty())
        throw WorkbookError(QStringLiteral("No workbook file is named for saving."));
    // Refused before the work of building: a FIFO, a device, a read-only file.
    if (const WriteOutcome check = checkWritableTarget(d->fileName); !check.ok())
        throw WorkbookError(QStringLiteral("The workbook cannot be saved as \"%1\": %2.").arg(d->fileName, check.error));
    if (!d->loaded)
        throw WorkbookError(QStringLiteral("No workbook is loaded; there is nothing to save."));
    const WriteOutcome written = writeFileAtomically(d->fileName, d->saveDocument());
    if (!written.ok())
        throw WorkbookError(QStringLiteral("The workbook cannot be saved as \"%1\": %2.").arg(d->fileName, written.error));
}

QByteArray Workbook::SaveToBuffer() const
{
    if (!d->loaded)
        throw WorkbookError(QStringLiteral("No workbook is loaded; there is nothing to save."));
    return d->saveDocument();
}

} // namespace tpworm::workbook
