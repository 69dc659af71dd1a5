#include "workbook/biff_strings.h"

#include <algorithm>

namespace tpworm::workbook::biff {

ContinuedReader::ContinuedReader(const Record& record, const char* recordName, qsizetype start)
    : record_(record), name_(recordName), pos_(start)
{
    remaining_ = std::max<qsizetype>(0, record.data.size() - start);
    for (const QByteArray& part : record.continues)
        remaining_ += part.size();
}

void ContinuedReader::nextSegment()
{
    ++segmentIndex_;
    pos_ = 0;
}

const QByteArray& ContinuedReader::segment() const
{
    return segmentIndex_ == 0 ? record_.data : record_.continues[segmentIndex_ - 1];
}

void ContinuedReader::cutShort() const
{
    throw BiffError(QStringLiteral("The workbook is damaged: the text of a %1 record is cut short.")
                        .arg(QLatin1String(name_)));
}

void ContinuedReader::ensureByte()
{
    while (pos_ >= segment().size()) {
        if (segmentIndex_ >= record_.continues.size())
            cutShort();
        nextSegment();
    }
}

std::uint8_t ContinuedReader::u8()
{
    ensureByte();
    --remaining_;
    return static_cast<std::uint8_t>(segment()[pos_++]);
}

std::uint16_t ContinuedReader::u16()
{
    const std::uint16_t low = u8();
    return static_cast<std::uint16_t>(low | (u8() << 8));
}

std::uint32_t ContinuedReader::u32()
{
    const std::uint32_t low = u16();
    return low | (static_cast<std::uint32_t>(u16()) << 16);
}

qsizetype ContinuedReader::remainingTotal() const
{
    return remaining_;
}

bool ContinuedReader::atEnd()
{
    return remainingTotal() == 0;
}

QByteArray ContinuedReader::bytes(qsizetype count)
{
    if (count > remainingTotal())
        cutShort();
    QByteArray out;
    out.reserve(count);
    while (out.size() < count) {
        ensureByte();
        const qsizetype take = std::min(count - out.size(), segment().size() - pos_);
        out.append(segment().constData() + pos_, take);
        pos_ += take;
        remaining_ -= take;
    }
    return out;
}

QString ContinuedReader::characters(qsizetype count, bool wide)
{
    QString out;
    out.reserve(std::min(count, remainingTotal()));
    qsizetype left = count;
    while (left > 0) {
        const qsizetype available = segment().size() - pos_;
        if (available <= 0) {
            // The characters go on in the next CONTINUE record, which starts
            // with its own option byte.
            if (segmentIndex_ >= record_.continues.size())
                cutShort();
            nextSegment();
            if (segment().isEmpty())
                continue;
            --remaining_;
            wide = (static_cast<std::uint8_t>(segment()[pos_++]) & 0x01) != 0;
            continue;
        }
        const qsizetype unit = wide ? 2 : 1;
        const qsizetype n = std::min(left, available / unit);
        if (n == 0)
            cutShort(); // half a UTF-16 character at the end of a record
        const char* p = segment().constData() + pos_;
        if (wide) {
            const qsizetype at = out.size();
            out.resize(at + n);
            char16_t* into = reinterpret_cast<char16_t*>(out.data()) + at;
            for (qsizetype i = 0; i < n; ++i)
                into[i] = static_cast<char16_t>(static_cast<std::uint8_t>(p[2 * i])
                                                | (static_cast<std::uint8_t>(p[2 * i + 1]) << 8));
        } else {
            out.append(QLatin1StringView(p, n));
        }
        pos_ += n * unit;
        remaining_ -= n * unit;
        left -= n;
    }
    return out;
}

QString readUnicodeString(ContinuedReader& reader)
{
    const std::uint16_t length = reader.u16();
    const std::uint8_t options = reader.u8();
    return reader.characters(length, (options & 0x01) != 0);
}

namespace {

constexpr std::uint8_t kHighByte = 0x01;
constexpr std::uint8_t kExtended = 0x04;
constexpr std::uint8_t kRich = 0x08;

bool isLatin1(const QString& text)
{
    return std::all_of(text.begin(), text.end(), [](QChar c) { return c.unicode() <= 0xFF; });
}

// Appends to a record body, opening a CONTINUE record when the current one is full.
class SegmentWriter {
public:
    explicit SegmentWriter(Record& record) : record_(record) {}

    QByteArray& current() { return record_.continues.empty() ? record_.data : record_.continues.back(); }
    std::size_t index() const { return record_.continues.size(); }
    qsizetype room() { return kMaxRecordData - current().size(); }
    void next() { record_.continues.emplace_back(); }

private:
    Record& record_;
};

void writeCharacters(SegmentWriter& out, const QString& text, bool wide)
{
    const qsizetype unit = wide ? 2 : 1;
    qsizetype done = 0;
    while (done < text.size()) {
        qsizetype n = std::min(text.size() - done, out.room() / unit);
        // Never part a surrogate pair: readers decode each record's share alone.
        if (wide && n > 0 && done + n < text.size() && text[done + n - 1].isHighSurrogate())
            --n;
        if (n <= 0) {
            out.next();
            appendU8(out.current(), wide ? kHighByte : 0);
            continue;
        }
        QByteArray& data = out.current();
        const qsizetype at = data.size();
        data.resize(at + n * unit);
        char* into = data.data() + at;
        const char16_t* from = reinterpret_cast<const char16_t*>(text.constData()) + done;
        for (qsizetype i = 0; i < n; ++i) {
            const char16_t c = from[i];
            if (wide) {
                into[2 * i] = static_cast<char>(c & 0xFF);
                into[2 * i + 1] = static_cast<char>(c >> 8);
            } else {
                into[i] = static_cast<char>(c);
            }
        }
        done += n;
    }
}

void writeSstString(SegmentWriter& out, const SstString& s, bool wide)
{
    QByteArray& data = out.current();
    appendU16(data, static_cast<std::uint16_t>(s.text.size()));
    std::uint8_t options = wide ? kHighByte : 0;
    if (!s.runs.isEmpty()) options |= kRich;
    if (!s.extended.isEmpty()) options |= kExtended;
    appendU8(data, options);
    if (!s.runs.isEmpty()) appendU16(data, static_cast<std::uint16_t>(s.runs.size() / 4));
    if (!s.extended.isEmpty()) appendU32(data, static_cast<std::uint32_t>(s.extended.size()));
    writeCharacters(out, s.text, wide);
    // Formatting runs are never parted; the phonetic block may run on anywhere.
    for (qsizetype i = 0; i < s.runs.size(); i += 4) {
        if (out.room() < 4) out.next();
        out.current().append(s.runs.constData() + i, 4);
    }
    for (qsizetype done = 0; done < s.extended.size();) {
        if (out.room() <= 0) out.next();
        const qsizetype take = std::min(out.room(), s.extended.size() - done);
        out.current().append(s.extended.constData() + done, take);
        done += take;
    }
}

} // namespace

void SharedStrings::load(const Record& sst)
{
    ContinuedReader reader(sst, "SST");
    referenceCount_ = reader.u32();
    const std::uint32_t unique = reader.u32();
    strings_.clear();
    plainIndex_.clear();
    plainIndexBuilt_ = false;
    strings_.reserve(static_cast<std::size_t>(std::min<qsizetype>(unique, reader.remainingTotal() / 3)));
    // Some writers state more strings than they wrote; the cells decide later
    // whether a missing one is needed.
    for (std::uint32_t i = 0; i < unique && !reader.atEnd(); ++i) {
        SstString s;
        const std::uint16_t length = reader.u16();
        const std::uint8_t options = reader.u8();
        s.wide = (options & kHighByte) != 0;
        const std::uint16_t runCount = (options & kRich) ? reader.u16() : 0;
        const std::uint32_t extendedSize = (options & kExtended) ? reader.u32() : 0;
        s.text = reader.characters(length, s.wide);
        s.runs = reader.bytes(4 * qsizetype(runCount));
        if (extendedSize > static_cast<std::uint32_t>(reader.remainingTotal()))
            throw BiffError(QStringLiteral("The workbook is damaged: a shared string is cut short."));
        s.extended = reader.bytes(extendedSize);
        strings_.push_back(std::move(s));
    }
}

void SharedStrings::buildPlainIndex()
{
    plainIndex_.reserve(static_cast<qsizetype>(strings_.size()));
    for (std::size_t i = 0; i < strings_.size(); ++i) {
        const SstString& s = strings_[i];
        // The last of equal strings is the one found, as it always was.
        if (s.runs.isEmpty() && s.extended.isEmpty())
            plainIndex_.insert(s.text, static_cast<std::uint32_t>(i));
    }
    plainIndexBuilt_ = true;
}

std::uint32_t SharedStrings::indexOf(const QString& text)
{
    if (!plainIndexBuilt_)
        buildPlainIndex();
    const auto found = plainIndex_.constFind(text);
    if (found != plainIndex_.constEnd())
        return found.value();
    const auto index = static_cast<std::uint32_t>(strings_.size());
    SstString s;
    s.text = text;
    s.wide = !isLatin1(text);
    strings_.push_back(std::move(s));
    plainIndex_.insert(text, index);
    return index;
}

void SharedStrings::addReferences(std::int64_t delta)
{
    const std::int64_t count = std::clamp<std::int64_t>(std::int64_t(referenceCount_) + delta, 0, 0xFFFFFFFF);
    referenceCount_ = static_cast<std::uint32_t>(count);
}

std::uint16_t SharedStrings::bucketSize() const
{
    // At most 128 buckets of at least 8 strings, as Excel writes them.
    const std::size_t perBucket = (strings_.size() + 127) / 128;
    return static_cast<std::uint16_t>(std::clamp<std::size_t>(perBucket, 8, 0xFFFF));
}

Record SharedStrings::buildSst(std::vector<std::pair<std::size_t, qsizetype>>& bucketStarts) const
{
    Record sst;
    sst.id = kSst;
    appendU32(sst.data, std::max<std::uint32_t>(referenceCount_, 0));
    appendU32(sst.data, static_cast<std::uint32_t>(strings_.size()));
    SegmentWriter out(sst);
    const std::uint16_t perBucket = bucketSize();
    bucketStarts.clear();
    for (std::size_t i = 0; i < strings_.size(); ++i) {
        const SstString& s = strings_[i];
        const bool wide = s.wide || !isLatin1(s.text);
        // The header and the first character stay in one record.
        const qsizetype header = 3 + (s.runs.isEmpty() ? 0 : 2) + (s.extended.isEmpty() ? 0 : 4);
        if (out.room() < header + (wide ? 2 : 1))
            out.next();
        if (i % perBucket == 0)
            bucketStarts.emplace_back(out.index(), out.current().size());
        writeSstString(out, s, wide);
    }
    return sst;
}

Record SharedStrings::buildExtSst(const Record& sst, std::uint32_t streamPosition,
                                  const std::vector<std::pair<std::size_t, qsizetype>>& bucketStarts) const
{
    std::vector<qsizetype> segmentStart{0};
    segmentStart.push_back(4 + sst.data.size());
    for (const QByteArray& part : sst.continues)
        segmentStart.push_back(segmentStart.back() + 4 + part.size());

    QByteArray data;
    appendU16(data, bucketSize());
    for (const auto& [segment, offset] : bucketStarts) {
        appendU32(data, static_cast<std::uint32_t>(streamPosition + segmentStart[segment] + 4 + offset));
        appendU16(data, static_cast<std::uint16_t>(4 + offset));
        appendU16(data, 0);
    }
    return makeRecord(kExtSst, data);
}

} // namespace tpworm::workbook::biff
