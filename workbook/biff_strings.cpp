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

ContinuedReader::ContinuedReader(const Record& record, const char* recordName, std::size_t segment,
                                 qsizetype position, qsizetype remaining)
    : record_(record), name_(recordName), segmentIndex_(segment), pos_(position), remaining_(remaining)
{
}

std::pair<std::size_t, qsizetype> ContinuedReader::place()
{
    while (pos_ >= segment().size() && segmentIndex_ < record_.continues.size())
        nextSegment();
    return {segmentIndex_, pos_};
}

void ContinuedReader::skip(qsizetype count)
{
    if (count > remainingTotal())
        cutShort();
    while (count > 0) {
        ensureByte();
        const qsizetype take = std::min(count, segment().size() - pos_);
        pos_ += take;
        remaining_ -= take;
        count -= take;
    }
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
    readCharacters(count, wide, &out);
    return out;
}

std::uint32_t unitsHash(QStringView text)
{
    std::uint32_t hash = kUnitsHashStart;
    for (QChar c : text)
        addUnitToHash(hash, c.unicode());
    return hash;
}

void ContinuedReader::readCharacters(qsizetype count, bool wide, QString* out, std::uint32_t* hash)
{
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
        if (out && wide) {
            const qsizetype at = out->size();
            out->resize(at + n);
            char16_t* into = reinterpret_cast<char16_t*>(out->data()) + at;
            for (qsizetype i = 0; i < n; ++i)
                into[i] = static_cast<char16_t>(static_cast<std::uint8_t>(p[2 * i])
                                                | (static_cast<std::uint8_t>(p[2 * i + 1]) << 8));
        } else if (out) {
            out->append(QLatin1StringView(p, n));
        }
        if (hash) {
            for (qsizetype i = 0; i < n; ++i)
                addUnitToHash(*hash, wide ? static_cast<char16_t>(static_cast<std::uint8_t>(p[2 * i])
                                                                  | (static_cast<std::uint8_t>(p[2 * i + 1]) << 8))
                                          : static_cast<char16_t>(static_cast<std::uint8_t>(p[i])));
        }
        pos_ += n * unit;
        remaining_ -= n * unit;
        left -= n;
    }
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
    source_ = sst;
    hasSource_ = true;
    loaded_.clear();
    loadedCount_ = 0;
    added_.clear();
    addedIndex_.clear();
    resolvedCount_ = 0;
    match_.clear();
    savedIndex_.clear();
    kept_.clear();
    segmentStart_.assign(1, 0);
    segmentStart_.push_back(sst.data.size());
    for (const QByteArray& part : sst.continues)
        segmentStart_.push_back(segmentStart_.back() + part.size());
    sourceSize_ = segmentStart_.back();
    segmentStart_.pop_back();

    ContinuedReader reader(source_, "SST");
    referenceCount_ = reader.u32();
    const std::uint32_t unique = reader.u32();
    loadedCount_ = 0;
    loaded_.reserve(static_cast<std::size_t>(std::min<qsizetype>(unique, reader.remainingTotal() / 3) / kPlaceStride + 1));
    // Some writers state more strings than they wrote; the cells decide later
    // whether a missing one is needed. Every string is checked here as
    // decoding it would check it, so that asking for one later cannot fail.
    for (std::uint32_t i = 0; i < unique && !reader.atEnd(); ++i) {
        const auto [segment, position] = reader.place();
        if (i % kPlaceStride == 0)
            loaded_.push_back(Place{static_cast<std::uint32_t>(segment), static_cast<std::uint32_t>(position)});
        ++loadedCount_;
        const std::uint16_t length = reader.u16();
        const std::uint8_t options = reader.u8();
        const bool wide = (options & kHighByte) != 0;
        const std::uint16_t runCount = (options & kRich) ? reader.u16() : 0;
        const std::uint32_t extendedSize = (options & kExtended) ? reader.u32() : 0;
        reader.readCharacters(length, wide, nullptr);
        reader.skip(4 * qsizetype(runCount));
        if (extendedSize > static_cast<std::uint32_t>(reader.remainingTotal()))
            throw BiffError(QStringLiteral("The workbook is damaged: a shared string is cut short."));
        reader.skip(extendedSize);
    }
    appendable_ = reader.atEnd();
}

namespace {

// Passes over one string of the table, checked when loading.
void skipString(ContinuedReader& reader)
{
    const std::uint16_t length = reader.u16();
    const std::uint8_t options = reader.u8();
    const std::uint16_t runCount = (options & kRich) ? reader.u16() : 0;
    const std::uint32_t extendedSize = (options & kExtended) ? reader.u32() : 0;
    reader.readCharacters(length, (options & kHighByte) != 0, nullptr);
    reader.skip(4 * qsizetype(runCount));
    reader.skip(extendedSize);
}

} // namespace

ContinuedReader SharedStrings::readerAt(std::size_t index) const
{
    const Place& place = loaded_[index / kPlaceStride];
    const qsizetype remaining = sourceSize_ - segmentStart_[place.segment] - place.position;
    ContinuedReader reader(source_, "SST", place.segment, place.position, remaining);
    for (std::size_t k = 0; k < index % kPlaceStride; ++k)
        skipString(reader);
    return reader;
}

SstString SharedStrings::decode(std::size_t index, bool full) const
{
    ContinuedReader reader = readerAt(index);
    SstString s;
    const std::uint16_t length = reader.u16();
    const std::uint8_t options = reader.u8();
    s.wide = (options & kHighByte) != 0;
    const std::uint16_t runCount = (options & kRich) ? reader.u16() : 0;
    const std::uint32_t extendedSize = (options & kExtended) ? reader.u32() : 0;
    s.text.reserve(length);
    reader.readCharacters(length, s.wide, &s.text);
    if (full) {
        s.runs = reader.bytes(4 * qsizetype(runCount));
        s.extended = reader.bytes(extendedSize);
    }
    return s;
}

SstString SharedStrings::at(qsizetype index) const
{
    const auto i = static_cast<std::size_t>(index);
    return i < loadedCount_ ? decode(i, true) : added_[i - loadedCount_];
}

QString SharedStrings::textAt(qsizetype index) const
{
    const auto i = static_cast<std::size_t>(index);
    return i < loadedCount_ ? decode(i, false).text : added_[i - loadedCount_].text;
}

namespace {
constexpr std::uint32_t kNoMatch = 0xFFFFFFFF;
}

std::uint32_t SharedStrings::indexOf(const QString& text)
{
    const auto known = addedIndex_.constFind(text);
    if (known != addedIndex_.constEnd())
        return known.value();
    const auto index = static_cast<std::uint32_t>(size());
    SstString s;
    s.text = text;
    s.wide = !isLatin1(text);
    added_.push_back(std::move(s));
    addedIndex_.insert(text, index);
    return index;
}

void SharedStrings::resolve() const
{
    if (resolvedCount_ == added_.size()) return;
    const std::size_t from = resolvedCount_;
    match_.resize(added_.size(), kNoMatch);

    // The texts to look for, by hash (open addressing over added-text
    // numbers + 1), and the lengths among them: most loaded strings are
    // passed over after reading their length.
    std::size_t tableSize = 16;
    while (tableSize < 2 * (added_.size() - from)) tableSize *= 2;
    std::vector<std::uint32_t> slotHash(tableSize, 0), slotText(tableSize, 0);
    std::vector<bool> lengths(0x10000, false);
    bool any = false;
    for (std::size_t k = from; k < added_.size(); ++k) {
        const QString& text = added_[k].text;
        if (text.size() > 0xFFFF) continue;
        const std::uint32_t hash = unitsHash(text);
        std::size_t slot = hash & (tableSize - 1);
        while (slotText[slot] != 0) slot = (slot + 1) & (tableSize - 1);
        slotHash[slot] = hash;
        slotText[slot] = static_cast<std::uint32_t>(k + 1);
        lengths[static_cast<std::size_t>(text.size())] = true;
        any = true;
    }
    QString candidate;
    ContinuedReader reader(source_, "SST", 8);
    for (std::size_t i = 0; any && i < loadedCount_; ++i) {
        // Hashed as stored, not decoded: most strings are never compared.
        const ContinuedReader here = reader;
        const std::uint16_t length = reader.u16();
        const std::uint8_t options = reader.u8();
        const std::uint16_t runCount = (options & kRich) ? reader.u16() : 0;
        const std::uint32_t extendedSize = (options & kExtended) ? reader.u32() : 0;
        const bool wanted = !(options & (kRich | kExtended)) && lengths[length];
        std::uint32_t hash = kUnitsHashStart;
        reader.readCharacters(length, (options & kHighByte) != 0, nullptr, wanted ? &hash : nullptr);
        reader.skip(4 * qsizetype(runCount));
        reader.skip(extendedSize);
        if (!wanted) continue;
        bool decoded = false;
        for (std::size_t slot = hash & (tableSize - 1); slotText[slot] != 0; slot = (slot + 1) & (tableSize - 1)) {
            if (slotHash[slot] != hash) continue;
            if (!decoded) {
                ContinuedReader text = here;
                const std::uint16_t units = text.u16();
                const std::uint8_t flags = text.u8();
                candidate.clear();
                text.readCharacters(units, (flags & kHighByte) != 0, &candidate);
                decoded = true;
            }
            const std::size_t k = slotText[slot] - 1;
            // The last of equal strings is the one found.
            if (candidate == added_[k].text) match_[k] = static_cast<std::uint32_t>(i);
        }
    }

    savedIndex_.resize(added_.size());
    kept_.clear();
    for (std::size_t k = 0; k < added_.size(); ++k) {
        if (match_[k] != kNoMatch) {
            savedIndex_[k] = match_[k];
        } else {
            savedIndex_[k] = static_cast<std::uint32_t>(loadedCount_ + kept_.size());
            kept_.push_back(static_cast<std::uint32_t>(k));
        }
    }
    resolvedCount_ = added_.size();
}

std::uint32_t SharedStrings::savedIndex(std::uint32_t index) const
{
    if (index < loadedCount_ || index >= static_cast<std::uint32_t>(size())) return index;
    resolve();
    return savedIndex_[index - loadedCount_];
}

qsizetype SharedStrings::savedSize() const
{
    resolve();
    return static_cast<qsizetype>(loadedCount_ + kept_.size());
}

void SharedStrings::addReferences(std::int64_t delta)
{
    const std::int64_t count = std::clamp<std::int64_t>(std::int64_t(referenceCount_) + delta, 0, 0xFFFFFFFF);
    referenceCount_ = static_cast<std::uint32_t>(count);
}

std::uint16_t SharedStrings::bucketSize() const
{
    // At most 128 buckets of at least 8 strings, as Excel writes them.
    const std::size_t perBucket = (static_cast<std::size_t>(savedSize()) + 127) / 128;
    return static_cast<std::uint16_t>(std::clamp<std::size_t>(perBucket, 8, 0xFFFF));
}

namespace {

void appendString(SegmentWriter& out, const SstString& s, std::size_t i, std::uint16_t perBucket,
                  std::vector<std::pair<std::size_t, qsizetype>>& bucketStarts)
{
    const bool wide = s.wide || !isLatin1(s.text);
    // The header and the first character stay in one record.
    const qsizetype header = 3 + (s.runs.isEmpty() ? 0 : 2) + (s.extended.isEmpty() ? 0 : 4);
    if (out.room() < header + (wide ? 2 : 1))
        out.next();
    if (i % perBucket == 0)
        bucketStarts.emplace_back(out.index(), out.current().size());
    writeSstString(out, s, wide);
}

} // namespace

Record SharedStrings::buildSst(std::vector<std::pair<std::size_t, qsizetype>>& bucketStarts) const
{
    const std::uint16_t perBucket = bucketSize();
    bucketStarts.clear();
    Record sst;
    sst.id = kSst;
    std::size_t next = 0;
    if (hasSource_ && appendable_ && source_.data.size() >= 8) {
        // The loaded strings stay byte for byte where they were.
        sst.data = source_.data;
        sst.continues = source_.continues;
        putU32(sst.data, 0, referenceCount_);
        putU32(sst.data, 4, static_cast<std::uint32_t>(savedSize()));
        for (; next < loadedCount_; next += perBucket)
            bucketStarts.push_back(readerAt(next).place());
        next = loadedCount_;
    } else {
        appendU32(sst.data, referenceCount_);
        appendU32(sst.data, static_cast<std::uint32_t>(savedSize()));
    }
    SegmentWriter out(sst);
    for (std::size_t i = next; i < static_cast<std::size_t>(savedSize()); ++i)
        appendString(out, i < loadedCount_ ? decode(i, true) : added_[kept_[i - loadedCount_]], i, perBucket,
                     bucketStarts);
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
