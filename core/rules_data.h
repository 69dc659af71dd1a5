// The rules as plain values: the tables of the rules database read whole,
// looked up without a connection. A batch reads the database once into
// RulesData; the main window reads one table per use into the same TableData,
// so both look up with the same code.
#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <array>
#include <vector>
#include <stdexcept>

namespace tpworm::rules {

class RulesError : public std::runtime_error {
public:
    explicit RulesError(const QString& message);
};

// The maker's contact number that ends the load-failure message. The value is
// a placeholder until the maker gives the number to print.
inline const QString kMakerContact = QStringLiteral("000000000");
// The message of a failed coefficient load, after which the program ends.
inline const QString kLoadFailureMessage
    = QStringLiteral("您的系统可能缺少相应的驱动，数据初始化失败，请联系开发商QQ:") + kMakerContact;

inline constexpr int kCoefficientCount = 16;
using Coefficients = std::array<double, kCoefficientCount>;

// The sixteen coefficients N[0] ... N[15] by what the formulas use them for.
namespace coefficient {
inline constexpr int kReferenceExponent = 0;      // d1 basis 0.76 a^N0
inline constexpr int kDedendum = 1;               // hf = N1 mt
inline constexpr int kAddendum = 2;               // ha = N2 mt
inline constexpr int kWorkingAngleTeeth = 3;      // phi_w = tau (K - N3) / 2
inline constexpr int kUnused = 4;                 // read by no calculation
inline constexpr int kWheelThickness = 5;         // s2 = N5 p, s1 = p - N5 p - j
inline constexpr int kShoulder = 6;               // shoulder = Trunc(N6 mt)
inline constexpr int kEnclosedTeethAddition = 7;  // K = K0 + N7
inline constexpr int kHobClearance = 8;           // hob tip radius and height, N8 mt
inline constexpr int kHobRootAddition = 9;        // hob root radius Rf1 + N9
inline constexpr int kHobAngleTeeth = 10;         // hob half angle tau (Kh - N10) / 2
inline constexpr int kHobTeethAddition = 11;      // Kh = Trunc(K) + N11
inline constexpr int kWheelTipArc = 12;           // wheel tip arc radius factor 2 N12
inline constexpr int kWheelOuterAddition = 13;    // wheel outer diameter + N13 mt
inline constexpr int kRimWidth = 14;              // rim width Trunc(N14 d1)
inline constexpr int kEnclosedTeethCap = 15;      // K at most N15
} // namespace coefficient

// Column numbers (0-based, as the program reads them by position).
namespace column {
// Every range table (6ji/7ji/8ji, xiuyuan, xiuyuanchangdu): the range of a row
// runs from column 1 (exclusive, checked for the grade tables only) to column
// 2 (inclusive).
inline constexpr int kRangeFrom = 1;
inline constexpr int kRangeTo = 2;
// nzhi: the coefficient in force and its default.
inline constexpr int kCoefficientValue = 2;
inline constexpr int kCoefficientDefault = 3;
// Grade tables: the tolerance texts the design record keeps, and the
// standard backlash.
inline constexpr int kTolerance3 = 3;
inline constexpr int kTolerance4 = 4;
inline constexpr int kTolerance8 = 8;
inline constexpr int kTolerance9 = 9;
inline constexpr int kTolerance10 = 10;
inline constexpr int kTolerance11 = 11;
inline constexpr int kStandardBacklash = 16;
// xiuyuan: the entry relief amounts by ratio band (3 ... 6; see
// recommend::entryReliefColumn).
// xiuyuanchangdu: the entry and exit relief lengths.
inline constexpr int kEntryReliefLength = 3;
inline constexpr int kExitReliefLength = 4;
} // namespace column

// One table read whole: column names and the values of every row in stored
// order.
struct TableData {
    QString name;
    QStringList columnNames;
    QList<QVariantList> rows;

    int RowCount() const { return int(rows.size()); }
    int ColumnCount() const { return int(columnNames.size()); }
    // The value at a 0-based position; RulesError past the last row or column.
    QVariant Field(int row, int column) const;
    // The value as text (numbers in the program's number format).
    QString Text(int row, int column) const;
    // A numeric value, or a text that reads as one; RulesError otherwise.
    long double Number(int row, int column) const;
    // The first row whose column 2 is at least the key; a key above every row
    // stops at the last row. RulesError for an empty table or a column 2 that
    // is not a number.
    int RangeSearch(long double key) const;
    // StrToFloat(Text(row, column)): the value as its text reads
    // (ConvertError when it does not).
    long double TextNumber(int row, int column) const;

    // Makes Text, Number and TextNumber of every cell once, for a table that
    // is looked up many times and not changed after (a run's rules): each
    // look-up then returns what it would have made, without converting
    // again. Errors are not kept; a cell whose conversion fails, or a
    // decimal separator changed since, converts as before.
    void prepare();

    // What prepare() made (public only so that the table stays an aggregate).
    struct PreparedCell {
        QString text;
        bool hasNumber = false;     // Number() gives number
        bool hasTextNumber = false; // TextNumber() gives textNumber
        long double number = 0;
        long double textNumber = 0;
    };
    const PreparedCell* prepared(int row, int column) const;
    std::vector<PreparedCell> prepared_; // row by row, ColumnCount() a row
    QChar preparedSeparator_;
};

// A table as a run read it: its values, or the error that reading it gave
// (raised again at each use, where the per-use read would have raised it).
struct LoadedTable {
    TableData data;
    QString error; // empty: read
    const TableData& get() const;
};

// Everything a design reads of the rules, read once.
struct RulesData {
    // The coefficient load as the window runs it at every showing.
    Coefficients coefficients{};
    bool coefficientsLoaded = false; // false: the load failed (loadError says why)
    bool anyDiffers = false;         // a coefficient read differs from its default
    QString loadError;

    LoadedTable grade6, grade7, grade8; // 6ji, 7ji, 8ji
    LoadedTable reliefAmounts;          // xiuyuan
    LoadedTable reliefLengths;          // xiuyuanchangdu

    // The table of that name ("6ji", ..., "xiuyuanchangdu"); RulesError for
    // another name or a table that could not be read.
    const TableData& table(const QString& name) const;
};

// The coefficient load over nzhi read whole: for k = 0 ... 15 copy column 2 of
// row k into entry k; past the last row the last row is read again. Entries
// are written as read, so a failure part-way leaves the later ones as they
// were; anyDiffers is set (never cleared) for a row whose column 2 differs
// from its column 3. RulesError for an empty table or a value that is no
// number.
void loadCoefficients(const TableData& nzhi, Coefficients& coefficients, bool& anyDiffers);

// Where a design's look-ups go: the window opens the database per use, a run
// reads from RulesData. Errors: RulesError (or ConvertError).
class RulesSource {
public:
    virtual ~RulesSource() = default;
    // The table read whole, valid until the next call.
    virtual const TableData& table(const QString& name) = 0;
};

// Look-ups in rules read once.
class MemoryRules final : public RulesSource {
public:
    explicit MemoryRules(const RulesData& rules) : rules_(rules) {}
    const TableData& table(const QString& name) override { return rules_.table(name); }

private:
    const RulesData& rules_;
};

} // namespace tpworm::rules
