// A1 names both ways, within the 256 columns and 65,536 rows of a sheet.
#include "core/cell_address.h"

#include <gtest/gtest.h>

using tpworm::CellAddress;

namespace {

TEST(CellAddress, NamesAndParsesBothWaysUpToTheSheetsLimits)
{
    const struct {
        int column, row;
        const char* name;
    } cases[] = {{0, 0, "A1"}, {2, 1, "C2"}, {25, 9, "Z10"}, {26, 0, "AA1"}, {27, 9, "AB10"},
                 {51, 99, "AZ100"}, {52, 0, "BA1"}, {255, 65535, "IV65536"}};
    for (const auto& c : cases) {
        EXPECT_EQ((CellAddress{c.column, c.row}.name()), QLatin1String(c.name));
        const std::optional<CellAddress> parsed = CellAddress::parse(QString::fromLatin1(c.name));
        ASSERT_TRUE(parsed) << c.name;
        EXPECT_EQ(*parsed, (CellAddress{c.column, c.row})) << c.name;
        EXPECT_TRUE(parsed->valid());
    }
    EXPECT_EQ(CellAddress::parse(u"iv65536"), (CellAddress{255, 65535}));
    for (const char* bad : {"", "A", "1", "A0", "A01", "IW1", "AAA1", "A65537", "A99999999999", "A-1", "A 1", " A1",
                            "A1 ", "A1x", "ÄB1", "Ａ1", "A١"})
        EXPECT_FALSE(CellAddress::parse(QString::fromUtf8(bad))) << bad;
}

} // namespace
