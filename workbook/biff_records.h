// BIFF8 record layer: record identifiers, the record structure, and explicit
// little-endian reading and writing. Nothing here knows about the container.
#pragma once

#include "workbook/workbook.h"

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <cstring>
#include <functional>
#include <vector>

namespace tpworm::workbook::biff {

// A record stream that breaks the format: cut short, inconsistent or out of bounds.
class BiffError : public WorkbookError {
public:
    using WorkbookError::WorkbookError;
};

// Record identifiers, one per record the engine decodes or writes.
inline constexpr std::uint16_t kBof = 0x0809;
inline constexpr std::uint16_t kEof = 0x000A;
inline constexpr std::uint16_t kContinue = 0x003C;
inline constexpr std::uint16_t kFilePass = 0x002F;
inline constexpr std::uint16_t kBoundSheet = 0x0085;
inline constexpr std::uint16_t kSst = 0x00FC;
inline constexpr std::uint16_t kExtSst = 0x00FF;
inline constexpr std::uint16_t kXf = 0x00E0;
inline constexpr std::uint16_t kIndex = 0x020B;
inline constexpr std::uint16_t kDimensions = 0x0200;
inline constexpr std::uint16_t kRow = 0x0208;
inline constexpr std::uint16_t kDbCell = 0x00D7;
inline constexpr std::uint16_t kColInfo = 0x007D;
inline constexpr std::uint16_t kDefColWidth = 0x0055;
inline constexpr std::uint16_t kDefaultRowHeight = 0x0225;
inline constexpr std::uint16_t kBlank = 0x0201;
inline constexpr std::uint16_t kMulBlank = 0x00BE;
inline constexpr std::uint16_t kNumber = 0x0203;
inline constexpr std::uint16_t kRk = 0x027E;
inline constexpr std::uint16_t kMulRk = 0x00BD;
inline constexpr std::uint16_t kLabel = 0x0204;
inline constexpr std::uint16_t kLabelSst = 0x00FD;
inline constexpr std::uint16_t kRString = 0x00D6;
inline constexpr std::uint16_t kBoolErr = 0x0205;
inline constexpr std::uint16_t kFormula = 0x0006;
inline constexpr std::uint16_t kString = 0x0207;
inline constexpr std::uint16_t kArray = 0x0221;
inline constexpr std::uint16_t kShrFmla = 0x04BC;
inline constexpr std::uint16_t kTable = 0x0236;
inline constexpr std::uint16_t kWindow2 = 0x023E;
// Globals records that follow the shared-string table when present.
inline constexpr std::uint16_t kWebPub = 0x0801;
inline constexpr std::uint16_t kWOpt = 0x080B;
inline constexpr std::uint16_t kCrErr = 0x0865;
inline constexpr std::uint16_t kBookExt = 0x0863;
inline constexpr std::uint16_t kFeatHdr = 0x0867;
inline constexpr std::uint16_t kDConn = 0x0876;
inline constexpr std::uint16_t kTheme = 0x0896;
inline constexpr std::uint16_t kCompressPictures = 0x089B;
inline constexpr std::uint16_t kCompat12 = 0x088C;
inline constexpr std::uint16_t kGuidTypeLib = 0x0897;
// BOF identifiers of Excel 2.1, 3.0 and 4.0 files.
inline constexpr std::uint16_t kBofBiff2 = 0x0009;
inline constexpr std::uint16_t kBofBiff3 = 0x0209;
inline constexpr std::uint16_t kBofBiff4 = 0x0409;

// BOF fields.
inline constexpr std::uint16_t kBiff8Version = 0x0600;
inline constexpr std::uint16_t kBiff5Version = 0x0500;
inline constexpr std::uint16_t kBofGlobals = 0x0005;
inline constexpr std::uint16_t kBofWorksheet = 0x0010;

// The largest record body the format allows; longer data goes on in CONTINUE records.
inline constexpr qsizetype kMaxRecordData = 8224;

// Where built bytes go: a buffer known to be large enough, or nowhere, when
// only the size is wanted (the stream is built twice: once to count, then in
// its place in the compound document).
class Sink {
public:
    explicit Sink(char* base = nullptr) : base_(base) {}
    bool counting() const { return base_ == nullptr; }
    qsizetype size() const { return pos_; }
    void append(const char* data, qsizetype count)
    {
        if (base_ && count > 0) std::memcpy(base_ + pos_, data, static_cast<std::size_t>(count));
        pos_ += count;
    }
    void append(QByteArrayView bytes) { append(bytes.data(), bytes.size()); }
    void appendU16(std::uint16_t value);
    void appendHeader(std::uint16_t id, qsizetype length);
    // Overwrites bytes already appended.
    void putU16(qsizetype at, std::uint16_t value);
    void putU32(qsizetype at, std::uint32_t value);

private:
    char* base_;
    qsizetype pos_ = 0;
};

// One record with the bodies of the CONTINUE records that directly follow it.
struct Record {
    std::uint16_t id = 0;
    QByteArray data;
    std::vector<QByteArray> continues;

    qsizetype sizeOnDisk() const;
    void appendTo(QByteArray& out) const;
    void writeTo(Sink& out) const;
};

// A record body written by the engine itself (no CONTINUE part).
Record makeRecord(std::uint16_t id, QByteArray data);

// The records of one substream (BOF ... EOF, with nested substreams such as
// embedded charts) starting at start; end receives the offset after its EOF and
// offsets, when given, the stream offset of each record's header.
// spare: room for this many more records without moving the others (the
// first sheet's cell edits add records).
std::vector<Record> readSubstream(const QByteArray& stream, qsizetype start, qsizetype& end,
                                  std::vector<qsizetype>* offsets = nullptr, std::size_t spare = 0);

// The same walk without keeping the records: visit gets each record's
// identifier, the stream offset of its header, its body length and its depth
// (1 for the substream's own records, more inside embedded ones; BOF and EOF
// count at the depth they open or close). CONTINUE records come as records
// of their own. Checks what readSubstream checks; returns the end.
qsizetype walkSubstream(const QByteArray& stream, qsizetype start,
                        const std::function<void(std::uint16_t id, qsizetype offset, std::uint16_t length,
                                                 int depth)>& visit);

// A record and its CONTINUE records as views of the stream, the record's
// header at offset; end bounds the CONTINUE records taken in.
Record recordAt(const QByteArray& stream, qsizetype offset, qsizetype end);
// The bytes of that record with its CONTINUE records.
qsizetype recordSizeAt(const QByteArray& stream, qsizetype offset, qsizetype end);

// Reads fixed fields of one record body, checking each read against its length.
class FieldReader {
public:
    FieldReader(const QByteArray& data, const char* recordName, qsizetype start = 0);
    std::uint8_t u8();
    std::uint16_t u16();
    std::uint32_t u32();
    double f64();
    void skip(qsizetype bytes);
    qsizetype position() const { return pos_; }
    qsizetype remaining() const { return data_.size() - pos_; }

private:
    void need(qsizetype bytes) const;
    const QByteArray& data_;
    const char* name_;
    qsizetype pos_;
};

// Throws the error for a record too short for its fixed fields.
[[noreturn]] void throwTooShort(const char* recordName);

// Inline: the record walks call these for every record header.
inline std::uint16_t peekU16(const QByteArray& data, qsizetype at)
{
    if (at < 0 || at + 2 > data.size()) [[unlikely]]
        throwTooShort("BIFF");
    unsigned char p[2];
    std::memcpy(p, data.constData() + at, 2);
    return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}
inline std::uint32_t peekU32(const QByteArray& data, qsizetype at)
{
    if (at < 0 || at + 4 > data.size()) [[unlikely]]
        throwTooShort("BIFF");
    unsigned char p[4];
    std::memcpy(p, data.constData() + at, 4);
    return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}
void appendU8(QByteArray& out, std::uint8_t value);
void appendU16(QByteArray& out, std::uint16_t value);
void appendU32(QByteArray& out, std::uint32_t value);
void putU16(QByteArray& out, qsizetype at, std::uint16_t value);
void putU32(QByteArray& out, qsizetype at, std::uint32_t value);

} // namespace tpworm::workbook::biff
