#include "workbook/biff_records.h"

#include <algorithm>
#include <cstring>

namespace tpworm::workbook::biff {

qsizetype Record::sizeOnDisk() const
{
    qsizetype size = 4 + data.size();
    for (const QByteArray& part : continues)
        size += 4 + part.size();
    return size;
}

namespace {

void appendHeader(QByteArray& out, std::uint16_t id, qsizetype length)
{
    appendU16(out, id);
    appendU16(out, static_cast<std::uint16_t>(length));
}

} // namespace

void Record::appendTo(QByteArray& out) const
{
    if (out.capacity() - out.size() < sizeOnDisk())
        out.reserve(std::max(out.size() + sizeOnDisk(), 2 * out.capacity()));
    appendHeader(out, id, data.size());
    out += data;
    for (const QByteArray& part : continues) {
        appendHeader(out, kContinue, part.size());
        out += part;
    }
}

void Record::writeTo(Sink& out) const
{
    out.appendHeader(id, data.size());
    out.append(data);
    for (const QByteArray& part : continues) {
        out.appendHeader(kContinue, part.size());
        out.append(part);
    }
}

void Sink::appendU16(std::uint16_t value)
{
    const char bytes[2] = {static_cast<char>(value & 0xFF), static_cast<char>(value >> 8)};
    append(bytes, 2);
}

void Sink::appendHeader(std::uint16_t id, qsizetype length)
{
    appendU16(id);
    appendU16(static_cast<std::uint16_t>(length));
}

void Sink::putU16(qsizetype at, std::uint16_t value)
{
    if (!base_) return;
    base_[at] = static_cast<char>(value & 0xFF);
    base_[at + 1] = static_cast<char>(value >> 8);
}

void Sink::putU32(qsizetype at, std::uint32_t value)
{
    putU16(at, static_cast<std::uint16_t>(value & 0xFFFF));
    putU16(at + 2, static_cast<std::uint16_t>(value >> 16));
}

Record makeRecord(std::uint16_t id, QByteArray data)
{
    Record record;
    record.id = id;
    record.data = std::move(data);
    return record;
}

FieldReader::FieldReader(const QByteArray& data, const char* recordName, qsizetype start)
    : data_(data), name_(recordName), pos_(start)
{
}

void throwTooShort(const char* recordName)
{
    throw BiffError(QStringLiteral("The workbook is damaged: a %1 record is shorter than its fields.")
                        .arg(QLatin1String(recordName)));
}

void FieldReader::need(qsizetype bytes) const
{
    if (pos_ < 0 || bytes > data_.size() - pos_)
        throwTooShort(name_);
}

std::uint8_t FieldReader::u8()
{
    need(1);
    return static_cast<std::uint8_t>(data_[pos_++]);
}

std::uint16_t FieldReader::u16()
{
    need(2);
    const std::uint16_t value = peekU16(data_, pos_);
    pos_ += 2;
    return value;
}

std::uint32_t FieldReader::u32()
{
    need(4);
    const std::uint32_t value = peekU32(data_, pos_);
    pos_ += 4;
    return value;
}

double FieldReader::f64()
{
    need(8);
    std::uint64_t bits = 0;
    for (int i = 7; i >= 0; --i)
        bits = (bits << 8) | static_cast<std::uint8_t>(data_[pos_ + i]);
    pos_ += 8;
    double value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

void FieldReader::skip(qsizetype bytes)
{
    need(bytes);
    pos_ += bytes;
}

void appendU8(QByteArray& out, std::uint8_t value)
{
    out.append(static_cast<char>(value));
}

void appendU16(QByteArray& out, std::uint16_t value)
{
    const char bytes[2] = {static_cast<char>(value & 0xFF), static_cast<char>(value >> 8)};
    out.append(bytes, 2);
}

void appendU32(QByteArray& out, std::uint32_t value)
{
    const char bytes[4] = {static_cast<char>(value & 0xFF), static_cast<char>((value >> 8) & 0xFF),
                           static_cast<char>((value >> 16) & 0xFF), static_cast<char>(value >> 24)};
    out.append(bytes, 4);
}

void putU16(QByteArray& out, qsizetype at, std::uint16_t value)
{
    out[at] = static_cast<char>(value & 0xFF);
    out[at + 1] = static_cast<char>(value >> 8);
}

void putU32(QByteArray& out, qsizetype at, std::uint32_t value)
{
    putU16(out, at, static_cast<std::uint16_t>(value & 0xFFFF));
    putU16(out, at + 2, static_cast<std::uint16_t>(value >> 16));
}

} // namespace tpworm::workbook::biff

namespace tpworm::workbook::biff {

namespace {

// Embedded charts nest one substream deep; anything much deeper is damage.
constexpr int kMaxSubstreamDepth = 16;

[[noreturn]] void throwCutShort()
{
    throw BiffError(QStringLiteral(
        "The workbook is damaged: its record stream is cut short (a record runs past the end)."));
}

} // namespace

qsizetype walkSubstream(const QByteArray& stream, qsizetype start,
                        const std::function<void(std::uint16_t, qsizetype, std::uint16_t, int)>& visit)
{
    qsizetype pos = start;
    int depth = 0;
    bool first = true;
    do {
        if (pos < 0 || stream.size() - pos < 4)
            throwCutShort();
        const std::uint16_t id = peekU16(stream, pos);
        const std::uint16_t length = peekU16(stream, pos + 2);
        if (stream.size() - pos - 4 < length)
            throwCutShort();
        if (first && id != kBof)
            throw BiffError(QStringLiteral(
                "The workbook is damaged: a sheet does not start where the workbook says it does."));
        first = false;
        if (id == kBof && ++depth > kMaxSubstreamDepth)
            throw BiffError(QStringLiteral("The workbook is damaged: its substreams nest too deeply."));
        visit(id, pos, length, depth);
        if (id == kEof) --depth;
        pos += 4 + length;
    } while (depth > 0);
    return pos;
}

std::vector<Record> readSubstream(const QByteArray& stream, qsizetype start, qsizetype& end,
                                  std::vector<qsizetype>* offsets, std::size_t spare)
{
    std::vector<Record> records;
    // Count first (headers only), so the records are placed once.
    std::size_t count = 0;
    walkSubstream(stream, start, [&](std::uint16_t id, qsizetype, std::uint16_t, int) {
        if (id != kContinue || count == 0) ++count;
    });
    records.reserve(count + spare);
    if (offsets) offsets->reserve(count);
    end = walkSubstream(stream, start, [&](std::uint16_t id, qsizetype pos, std::uint16_t length, int) {
        // The body is a view of the stream, not a copy: the stream outlives
        // its records, and a record the engine changes copies itself first.
        QByteArray body = QByteArray::fromRawData(stream.constData() + pos + 4, length);
        if (id == kContinue && !records.empty()) {
            records.back().continues.push_back(std::move(body));
        } else {
            records.push_back(makeRecord(id, std::move(body)));
            if (offsets) offsets->push_back(pos);
        }
    });
    return records;
}

Record recordAt(const QByteArray& stream, qsizetype offset, qsizetype end)
{
    Record record;
    record.id = peekU16(stream, offset);
    const std::uint16_t length = peekU16(stream, offset + 2);
    record.data = QByteArray::fromRawData(stream.constData() + offset + 4, length);
    for (qsizetype at = offset + 4 + length; end - at >= 4 && peekU16(stream, at) == kContinue;) {
        const std::uint16_t part = peekU16(stream, at + 2);
        if (end - at - 4 < part) break;
        record.continues.push_back(QByteArray::fromRawData(stream.constData() + at + 4, part));
        at += 4 + part;
    }
    return record;
}

qsizetype recordSizeAt(const QByteArray& stream, qsizetype offset, qsizetype end)
{
    qsizetype at = offset + 4 + peekU16(stream, offset + 2);
    while (end - at >= 4 && peekU16(stream, at) == kContinue) {
        const std::uint16_t part = peekU16(stream, at + 2);
        if (end - at - 4 < part) break;
        at += 4 + part;
    }
    return at - offset;
}

} // namespace tpworm::workbook::biff
