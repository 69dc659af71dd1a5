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

    std::uint8_t u8();
    std::uint16_t u16();
    std::uint32_t u32();
    QByteArray bytes(qsizetype count);
    // count characters, compressed (one byte each) or UTF-16LE as flagged.
    QString characters(qsizetype count, bool wide);
    bool atEnd();
    qsizetype remainingTotal() const;

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

class SharedStrings {
public:
    // Decodes the SST record with its CONTINUE records.
    void load(const Record& sst);

    qsizetype size() const { return static_cast<qsizetype>(strings_.size()); }
    const SstString& at(qsizetype index) const { return strings_[static_cast<std::size_t>(index)]; }

    // The index of a plain (unformatted) string with this text, appended when new.
    std::uint32_t indexOf(const QString& text);

    // Number of LABELSST cells in the whole workbook, as the SST header states it.
    std::uint32_t referenceCount() const { return referenceCount_; }
    void addReferences(std::int64_t delta);

    // The SST record split over CONTINUE records, and the EXTSST record for it
    // once the SST record will stand at streamPosition.
    Record buildSst(std::vector<std::pair<std::size_t, qsizetype>>& bucketStarts) const;
    Record buildExtSst(const Record& sst, std::uint32_t streamPosition,
                       const std::vector<std::pair<std::size_t, qsizetype>>& bucketStarts) const;

private:
    std::uint16_t bucketSize() const;
    void buildPlainIndex();

    std::vector<SstString> strings_;
    // Built on the first indexOf: a workbook that is only read never needs it.
    QHash<QString, std::uint32_t> plainIndex_;
    bool plainIndexBuilt_ = false;
    std::uint32_t referenceCount_ = 0;
};

} // namespace tpworm::workbook::biff
