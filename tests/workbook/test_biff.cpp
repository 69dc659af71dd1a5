// The record layer on its own: rebuilding an untouched first sheet written by
// Excel gives Excel's own bytes (cell order, ROW blocks, DBCELL and INDEX), and
// the shared-string table survives rewriting with its rich and phonetic data.
#include "corpus.h"

#include "workbook/biff_records.h"
#include "workbook/biff_sheet.h"
#include "workbook/biff_strings.h"
#include "workbook/container.h"

#include <gtest/gtest.h>

#include <QFile>

using namespace tpworm::workbook;
using namespace tpworm::workbook::biff;
using namespace tpworm::workbook::testing;

namespace {

struct Parts {
    QByteArray file; // the stream may be a view of it
    QByteArray stream;
    std::vector<Record> globals;
    SharedStrings strings;
    qsizetype sheetStart = 0;
    qsizetype sheetEnd = 0;
    std::vector<Record> sheet;
};

Parts partsOf(const QString& name)
{
    QFile file(corpusDir() + u'/' + name);
    file.open(QIODevice::ReadOnly);
    Parts p;
    p.file = file.readAll();
    p.stream = container::readDocument(p.file).workbookStream;
    qsizetype end = 0;
    p.globals = readSubstream(p.stream, 0, end);
    // The strings keep views of the stream: load them from the kept globals.
    for (const Record& r : p.globals) {
        if (r.id == kSst) p.strings.load(r);
        if (r.id == kBoundSheet && p.sheetStart == 0) p.sheetStart = peekU32(r.data, 0);
    }
    p.sheet = readSubstream(p.stream, p.sheetStart, p.sheetEnd);
    return p;
}

TEST(RecordLayer, AnUntouchedExcelSheetRebuildsToExcelsOwnBytes)
{
    // Excel-written files with DBCELL and INDEX, from one cell to 18,000.
    // Two are not among them: Excel cut poi-styles-3563.xls into 58 blocks of
    // a few rows each, and calamine-merged_range.xls departs from the rebuilt
    // bytes within its cell table; both still read back unchanged.
    for (const char* name : {"poi-Simple.xls", "poi-12843-1.xls", "poi-29942.xls", "poi-54016.xls",
                             "poi-19599-2.xls", "xlrd-formula_test_sjmachin.xls", "poi-15228.xls"}) {
        SCOPED_TRACE(name);
        Parts p = partsOf(QLatin1String(name));
        FirstSheet sheet;
        sheet.load(p.stream, p.sheetStart, p.sheetEnd, p.strings);
        const QByteArray original = p.stream.mid(p.sheetStart, p.sheetEnd - p.sheetStart);
        const QByteArray rebuilt = sheet.build(static_cast<std::uint32_t>(p.sheetStart), p.strings);
        EXPECT_EQ(rebuilt.size(), original.size());
        qsizetype firstDifference = -1;
        for (qsizetype i = 0; i < original.size() && firstDifference < 0; ++i)
            if (original[i] != rebuilt[i]) firstDifference = i;
        EXPECT_EQ(firstDifference, -1);
    }
}

TEST(RecordLayer, SharedStringsKeepTextRunsAndPhoneticDataThroughRewriting)
{
    for (const char* name : {"poi-12843-1.xls", "gen-lo-mixed.xls", "poi-19599-2.xls", "poi-54016.xls"}) {
        SCOPED_TRACE(name);
        Parts p = partsOf(QLatin1String(name));
        std::vector<std::pair<std::size_t, qsizetype>> buckets;
        const Record rebuilt = p.strings.buildSst(buckets);
        EXPECT_LE(rebuilt.data.size(), kMaxRecordData);
        for (const QByteArray& part : rebuilt.continues) EXPECT_LE(part.size(), kMaxRecordData);
        SharedStrings again;
        again.load(rebuilt);
        ASSERT_EQ(again.size(), p.strings.size());
        for (qsizetype i = 0; i < again.size(); ++i) {
            EXPECT_EQ(again.at(i).text, p.strings.at(i).text) << i;
            EXPECT_EQ(again.at(i).runs, p.strings.at(i).runs) << i;
            EXPECT_EQ(again.at(i).extended, p.strings.at(i).extended) << i;
        }
    }
}

TEST(RecordLayer, NewStringsFollowTheLoadedTableWhichStaysByteForByte)
{
    for (const char* name : {"poi-54016.xls", "poi-12843-1.xls", "gen-lo-mixed.xls"}) {
        SCOPED_TRACE(name);
        Parts p = partsOf(QLatin1String(name));
        Record original;
        for (const Record& r : p.globals)
            if (r.id == kSst) original = r;
        const qsizetype loaded = p.strings.size();
        // An existing plain string is found, not added again: the saved
        // table has it once, where it was.
        qsizetype plain = 0;
        while (plain < loaded && (!p.strings.at(plain).runs.isEmpty() || !p.strings.at(plain).extended.isEmpty()))
            ++plain;
        ASSERT_LT(plain, loaded);
        const std::uint32_t again1 = p.strings.indexOf(p.strings.textAt(plain));
        EXPECT_EQ(p.strings.textAt(again1), p.strings.textAt(plain));
        const std::uint32_t found = p.strings.savedIndex(again1);
        EXPECT_LT(found, std::uint32_t(loaded));
        EXPECT_EQ(p.strings.textAt(found), p.strings.textAt(plain));
        // The last of equal strings is the one found.
        for (qsizetype i = found + 1; i < loaded; ++i)
            EXPECT_FALSE(p.strings.textAt(i) == p.strings.textAt(plain) && p.strings.at(i).runs.isEmpty()
                         && p.strings.at(i).extended.isEmpty()) << i;
        const QString added = QStringLiteral("蜗杆 new %1").arg(QLatin1String(name));
        const std::uint32_t addedIndex = p.strings.indexOf(added);
        EXPECT_EQ(p.strings.indexOf(added), addedIndex);
        EXPECT_EQ(p.strings.savedIndex(addedIndex), std::uint32_t(loaded));
        EXPECT_EQ(p.strings.savedSize(), loaded + 1);

        std::vector<std::pair<std::size_t, qsizetype>> buckets;
        const Record rebuilt = p.strings.buildSst(buckets);
        // Everything after the two counts is the original table, then the new string.
        EXPECT_EQ(rebuilt.data.mid(8, original.data.size() - 8), original.data.mid(8));
        ASSERT_GE(rebuilt.continues.size(), original.continues.size());
        for (std::size_t k = 0; k + 1 < original.continues.size(); ++k)
            EXPECT_EQ(rebuilt.continues[k], original.continues[k]) << k;
        EXPECT_EQ(peekU32(rebuilt.data, 4), std::uint32_t(loaded + 1));
        SharedStrings again;
        again.load(rebuilt);
        ASSERT_EQ(again.size(), loaded + 1);
        EXPECT_EQ(again.textAt(loaded), added);
        for (qsizetype i = 0; i < loaded; ++i)
            ASSERT_EQ(again.textAt(i), p.strings.textAt(i)) << i;
    }
}

TEST(RecordLayer, ARecordBoundaryNeverPartsASurrogatePair)
{
    SharedStrings strings;
    // "abcd" leaves an odd number of UTF-16 units of room in the first record,
    // so a plain split would fall between the two halves of a pair.
    strings.indexOf(QStringLiteral("abcd"));
    QString pairs;
    for (int i = 0; i < 6000; ++i) pairs += QStringLiteral("𝄞");
    strings.indexOf(pairs);
    std::vector<std::pair<std::size_t, qsizetype>> buckets;
    const Record sst = strings.buildSst(buckets);
    ASSERT_FALSE(sst.continues.empty());
    const char16_t last = peekU16(sst.data, sst.data.size() - 2);
    EXPECT_FALSE(QChar::isHighSurrogate(last));
    SharedStrings again;
    again.load(sst);
    EXPECT_EQ(again.at(1).text, pairs);
}

} // namespace
