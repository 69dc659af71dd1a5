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

#include <tuple>

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


QByteArray rec(std::uint16_t id, const QByteArray& body)
{
    QByteArray out;
    appendU16(out, id);
    appendU16(out, static_cast<std::uint16_t>(body.size()));
    return out + body;
}

// An RK cell holding the whole number value.
QByteArray rk(std::uint16_t row, std::uint16_t column, std::int32_t value)
{
    QByteArray body;
    appendU16(body, row);
    appendU16(body, column);
    appendU16(body, 15);
    appendU32(body, (static_cast<std::uint32_t>(value) << 2) | 0x02);
    return rec(kRk, body);
}

// A formula cell whose result is a text, and its STRING record.
QByteArray textFormula(std::uint16_t row, std::uint16_t column, const QByteArray& text)
{
    QByteArray body;
    appendU16(body, row);
    appendU16(body, column);
    appendU16(body, 15);
    body += QByteArray("\x00\x00\x00\x00\x00\x00\xFF\xFF", 8); // result: a string
    appendU16(body, 0);                                        // options
    appendU32(body, 0);
    appendU16(body, 0);                                        // no formula tokens
    QByteArray string;
    appendU16(string, static_cast<std::uint16_t>(text.size()));
    appendU8(string, 0);
    return rec(kFormula, body) + rec(kString, string + text);
}

TEST(RecordLayer, RowsKeptAsReadAndRowsOutOfOrderSaveAsTheEngineWritesEveryRow)
{
    QByteArray bof;
    appendU16(bof, kBiff8Version);
    appendU16(bof, kBofWorksheet);
    bof += QByteArray(12, '\0');
    QByteArray dimensions;
    appendU32(dimensions, 0);
    appendU32(dimensions, 6);
    appendU16(dimensions, 0);
    appendU16(dimensions, 6);
    appendU16(dimensions, 0);
    const QByteArray head = rec(kBof, bof) + rec(kDimensions, dimensions);
    const QByteArray tail = rec(kEof, {});
    // Row 0 and row 4 stand as the engine writes them; row 1 runs backwards,
    // row 2 is interrupted by row 3, and row 5 repeats a cell (the later one counts).
    const QByteArray cells = rk(0, 0, 1) + textFormula(0, 1, "ab") + rk(0, 3, 2)
                             + rk(1, 4, 3) + rk(1, 2, 4)
                             + rk(2, 0, 5) + rk(3, 0, 6) + rk(2, 1, 7)
                             + rk(4, 2, 8) + textFormula(4, 3, "cd")
                             + rk(5, 1, 9) + rk(5, 1, 10);
    const QByteArray written = rk(0, 0, 1) + textFormula(0, 1, "ab") + rk(0, 3, 2)
                               + rk(1, 2, 4) + rk(1, 4, 3)
                               + rk(2, 0, 5) + rk(2, 1, 7) + rk(3, 0, 6)
                               + rk(4, 2, 8) + textFormula(4, 3, "cd")
                               + rk(5, 1, 10);
    const QByteArray stream = head + cells + tail;
    SharedStrings strings;
    FirstSheet sheet;
    sheet.load(stream, 0, stream.size(), strings);
    EXPECT_EQ(sheet.build(0, strings), head + written + tail);

    const std::vector<std::tuple<int, int, QString>> texts{
        {0, 0, "1"}, {1, 0, "ab"}, {2, 0, ""}, {3, 0, "2"}, {2, 1, "4"}, {4, 1, "3"}, {0, 2, "5"}, {1, 2, "7"},
        {0, 3, "6"}, {3, 4, "cd"}, {2, 4, "8"}, {1, 5, "10"}};
    for (const auto& [column, row, text] : texts)
        EXPECT_EQ(sheet.cellText(column, row, strings), text) << column << ',' << row;
    std::vector<std::tuple<int, int, QString>> listed;
    sheet.forEachText(strings, [&](int column, int row, const QString& text) { listed.emplace_back(column, row, text); });
    EXPECT_EQ(listed.size(), 11u);

    // An edit lists the row it touches; the others stay as read.
    strings.indexOf(QStringLiteral("new"));
    sheet.setSharedString(3, 0, 0, 15);
    QByteArray labelSst;
    appendU16(labelSst, 0);
    appendU16(labelSst, 3);
    appendU16(labelSst, 15);
    appendU32(labelSst, 0);
    const QByteArray edited = rk(0, 0, 1) + textFormula(0, 1, "ab") + rec(kLabelSst, labelSst)
                              + written.mid(rk(0, 0, 1).size() + textFormula(0, 1, "ab").size() + rk(0, 3, 2).size());
    EXPECT_EQ(sheet.build(0, strings), head + edited + tail);
    EXPECT_EQ(sheet.cellText(1, 0, strings), QStringLiteral("ab"));
    EXPECT_EQ(sheet.cellText(3, 4, strings), QStringLiteral("cd"));
}

} // namespace
