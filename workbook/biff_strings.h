// BIFF8 strings: reading them across CONTINUE records, the shared-string table
// (SST) and its index (EXTSST).
#pragma once

#include "workbook/biff_records.h"

#include <QHash>
#include <QString>

#include <cstdint>
#include <vector>

namespace tpworm::workbook::biff {

// Reads a record body and the bodies of its CONTINUE records as one sequence.
// Character data that goes on in a CONTINUE record starts with a new option
// byte there (compressed or UTF-16); everything else just runs on.
class ContinuedReader {
public:
    ContinuedReader(const Record& record, const char* recordName, qsizetype start = 0);
    // Starting at a place found earlier (segment, position) with remaining
    // bytes from there to the end.
    ContinuedReader(const Record& record, const char* recordName, std::size_t segment, qsizetype position,
                    qsizetype remaining);

    std::uint8_t u8();
    std::uint16_t u16();
    std::uint32_t u32();
    QByteArray bytes(qsizetype count);
    void skip(qsizetype count);
    // count characters, compressed (one byte each) or UTF-16LE as flagged.
    QString characters(qsizetype count, bool wide);
    // The same, appended to out, or passed over when out is null; hash, when
    // given, takes in each UTF-16 unit (see unitsHash).
    void readCharacters(qsizetype count, bool wide, QString* out, std::uint32_t* hash = nullptr);
    bool atEnd();
    qsizetype remainingTotal() const;
    // Where the next byte is read: moves past used-up segments first, so a
    // place found here is where the next item really starts.
    std::pair<std::size_t, qsizetype> place();

private:
    const QByteArray& segment() const;
    void ensureByte();
    [[noreturn]] void cutShort() const;

    void nextSegment();

    const Record& record_;
    const char* name_;
    std::size_t segmentIndex_ = 0; // 0 is the record body, i > 0 continues[i - 1]
    qsizetype pos_;
    // Bytes from the current position to the end of the last CONTINUE record,
    // kept up to date so that asking costs nothing (a large shared-string
    // table asks once per string).
    qsizetype remaining_ = 0;
};

// FNV-1a over UTF-16 code units, the same whether the units are stored one
// byte each or two: a string can be looked up without decoding it.
inline constexpr std::uint32_t kUnitsHashStart = 2166136261u;
inline void addUnitToHash(std::uint32_t& hash, char16_t unit)
{
    hash = (hash ^ (unit & 0xFFu)) * 16777619u;
    hash = (hash ^ (unit >> 8)) * 16777619u;
}
std::uint32_t unitsHash(QStringView text);

// A string of the form "16-bit length, option byte, characters" (LABEL, RSTRING,
// STRING records) starting at the reader's position.
QString readUnicodeString(ContinuedReader& reader);

// One string of the shared-string table with its formatting runs and phonetic
// block kept as they were read, so that rewriting does not change them.
struct SstString {
    QString text;
    bool wide = false;
    QByteArray runs;     // 4 bytes per run
    QByteArray extended; // phonetic block
};

// The shared-string table. The strings of a loaded table are not decoded when
// loading: the table keeps the SST record as read (a view of the stream) and
// where each string starts, decodes a string when it is asked for, and on
// rebuilding keeps the original bytes and appends the new strings.
//
// A text written into a cell gets an index past the loaded strings at once;
// whether the loaded table already holds it is found out only when the table
// is saved, in one pass over the table for all texts written since, so that
// writing a few cells never builds an index of the whole table.
class SharedStrings {
public:
    // Checks the SST record with its CONTINUE records and finds its strings.
    void load(const Record& sst);

    // The loaded strings and those added since.
    qsizetype size() const { return static_cast<qsizetype>(loadedCount_ + added_.size()); }
    SstString at(qsizetype index) const;
    QString textAt(qsizetype index) const;

    // The index of a plain (unformatted) string with this text: a text added
    // before gets its index again, a new one is appended.
    std::uint32_t indexOf(const QString& text);

    // Where the saved table has the string of an index: a loaded string stays
    // where it is; an added text that the loaded table holds as a plain
    // string is that string (the last of equal ones); the other added texts
    // follow the loaded strings in the order they were added.
    std::uint32_t savedIndex(std::uint32_t index) const;
    // The number of strings of the saved table.
    qsizetype savedSize() const;

    // Number of LABELSST cells in the whole workbook, as the SST header states it.
    std::uint32_t referenceCount() const { return referenceCount_; }
    void addReferences(std::int64_t delta);

    // The SST record split over CONTINUE records, as it is saved, and the
    // EXTSST record for it once the SST record will stand at streamPosition.
    Record buildSst(std::vector<std::pair<std::size_t, qsizetype>>& bucketStarts) const;
    Record buildExtSst(const Record& sst, std::uint32_t streamPosition,
                       const std::vector<std::pair<std::size_t, qsizetype>>& bucketStarts) const;

private:
    struct Place {
        std::uint32_t segment;
        std::uint32_t position;
    };
    std::uint16_t bucketSize() const;
    ContinuedReader readerAt(std::size_t index) const;
    // Decodes a loaded string; text only when full is false.
    SstString decode(std::size_t index, bool full) const;
    // Matches the added texts against the loaded table (savedIndex).
    void resolve() const;

    Record source_;
    bool hasSource_ = false;
    // The loaded strings fill the record exactly, so new ones can follow them.
    bool appendable_ = true;
    std::vector<qsizetype> segmentStart_; // logical offset of each segment in source_
    qsizetype sourceSize_ = 0;
    // Where every kPlaceStride-th loaded string starts: the ones between are
    // found by passing over those before them.
    static constexpr std::size_t kPlaceStride = 8;
    std::vector<Place> loaded_;
    std::size_t loadedCount_ = 0;
    std::vector<SstString> added_;
    QHash<QString, std::uint32_t> addedIndex_;

    // What resolve() found for the first resolvedCount_ added texts.
    mutable std::size_t resolvedCount_ = 0;
    mutable std::vector<std::uint32_t> match_;      // per added text: loaded index, or kNoMatch
    mutable std::vector<std::uint32_t> savedIndex_; // per added text
    mutable std::vector<std::uint32_t> kept_;       // the added texts the saved table appends, in order
    std::uint32_t referenceCount_ = 0;
};

} // namespace tpworm::workbook::biff
