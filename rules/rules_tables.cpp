#include "rules/rules_tables.h"

#include "core/numeric.h"
#include "core/safe_file.h"
#include "rules/rules_db.h"

#include <QAtomicInt>
#include <QDate>
#include <QDir>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QStringDecoder>

#include <cmath>
#include <map>

namespace tpworm::rules {

namespace {

QString quoted(const QString& identifier)
{
    QString inner = identifier;
    inner.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return QLatin1Char('"') + inner + QLatin1Char('"');
}

// A connection of its own to the database at path for the life of one
// operation. SQLite would create a missing file: a missing one is an error.
class Database {
public:
    Database(const QString& path, bool readOnly)
        : name_(QStringLiteral("tpworm-tables-%1").arg(counter().fetchAndAddRelaxed(1)))
    {
        if (!QFileInfo(path).isFile())
            throw RulesError(QStringLiteral("计算法则数据库 %1 不存在").arg(QDir::toNativeSeparators(path)));
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name_);
        if (!db.isValid())
            throw RulesError(QStringLiteral("缺少 SQLite 数据库驱动（Qt 的 QSQLITE 插件），无法打开计算法则数据库"));
        db.setDatabaseName(path);
        db.setConnectOptions(readOnly ? QStringLiteral("QSQLITE_OPEN_READONLY") : QString());
        if (!db.open())
            throw RulesError(QStringLiteral("无法打开计算法则数据库 %1：%2")
                                 .arg(QDir::toNativeSeparators(path), db.lastError().text()));
    }
    ~Database()
    {
        QSqlDatabase::database(name_, false).close();
        QSqlDatabase::removeDatabase(name_);
    }
    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;

    QSqlDatabase db() const { return QSqlDatabase::database(name_, false); }

private:
    static QAtomicInt& counter()
    {
        static QAtomicInt c;
        return c;
    }
    QString name_;
};

// What this program knows of a column of a shipped table.
struct KnownColumn {
    const char* heading;
    ColumnKind kind;
};

// The grade tables 6ji, 7ji and 8ji share their columns. The six the
// parameter tables print are 3, 4, 8, 9, 10 and 11. The pitch of a planar
// double-enveloping worm is uniform as an angle about the wheel axis, not
// along the worm axis (the thread lies on a toroid, so its axial pitch
// shrinks from the throat towards the ends): the worm's pitch items are
// circular pitches on the wheel's reference arc in the mid-plane, although
// they keep the symbols fpx and fpxl of the cylindrical-worm items.
const std::map<QString, KnownColumn>& gradeColumns()
{
    static const std::map<QString, KnownColumn> columns = {
        {"centre_distance_above_mm", {"中心距 大于 (mm)", ColumnKind::LowerBound}},
        {"centre_distance_upto_mm", {"中心距 至 (mm)", ColumnKind::UpperBound}},
        {"worm_pitch_deviation", {"蜗杆圆周齿距极限偏差 ±fpx (mm)", ColumnKind::Number}},
        {"worm_cumulative_pitch_tol", {"蜗杆圆周齿距累积公差 fpxl (mm)", ColumnKind::Number}},
        {"worm_profile_tol", {"蜗杆齿形公差 ff1 (mm)", ColumnKind::Number}},
        {"worm_radial_runout_tol", {"蜗杆齿槽径向跳动公差 fr (mm)", ColumnKind::Number}},
        {"worm_helix_tol", {"蜗杆螺旋线公差 fh (mm)", ColumnKind::Number}},
        {"worm_thickness_tol", {"蜗杆齿厚公差 Ts1 (mm)", ColumnKind::Number}},
        {"wheel_cumulative_pitch_tol", {"蜗轮齿距累积公差 Fp2 (mm)", ColumnKind::Number}},
        {"wheel_pitch_deviation", {"蜗轮齿距极限偏差 ±fpt (mm)", ColumnKind::Number}},
        {"wheel_thickness_tol", {"蜗轮齿厚公差 Ts2 (mm)", ColumnKind::Number}},
        {"wheel_radial_runout_tol", {"蜗轮齿圈径向跳动公差 Fr2 (mm)", ColumnKind::Number}},
        {"centre_distance_deviation", {"中心距极限偏差 ±fa (mm)", ColumnKind::Number}},
        {"midplane_offset_deviation", {"蜗轮中间平面极限偏移 ±fx (mm)", ColumnKind::Number}},
        {"shaft_angle_deviation", {"轴交角极限偏差 ±fΣ (mm)", ColumnKind::Number}},
        {"standard_backlash", {"标准侧隙 jn (mm)", ColumnKind::Number}},
    };
    return columns;
}

const std::map<QString, KnownColumn>& reliefColumns()
{
    static const std::map<QString, KnownColumn> columns = {
        {"centre_distance_above_mm", {"中心距 大于 (mm)", ColumnKind::LowerBound}},
        {"centre_distance_upto_mm", {"中心距 至 (mm)", ColumnKind::UpperBound}},
        {"relief_ratio_below_25", {"入口修缘量 (mm) 速比 < 25", ColumnKind::Number}},
        {"relief_ratio_25_to_40", {"入口修缘量 (mm) 速比 25～40", ColumnKind::Number}},
        {"relief_ratio_40_to_63", {"入口修缘量 (mm) 速比 40～63", ColumnKind::Number}},
        {"relief_ratio_above_63", {"入口修缘量 (mm) 速比 > 63", ColumnKind::Number}},
    };
    return columns;
}

const std::map<QString, KnownColumn>& reliefLengthColumns()
{
    static const std::map<QString, KnownColumn> columns = {
        {"wheel_teeth_above", {"蜗轮齿数 大于 (齿)", ColumnKind::LowerBound}},
        {"wheel_teeth_upto", {"蜗轮齿数 至 (齿)", ColumnKind::UpperBound}},
        {"entry_relief_length", {"入口修缘长度（文字，如 7°）", ColumnKind::Text}},
        {"exit_relief_length", {"出口修缘长度（文字，如 5°）", ColumnKind::Text}},
    };
    return columns;
}

struct KnownTable {
    const char* title;
    const char* keyUnit;
    const std::map<QString, KnownColumn>* columns;
};

const KnownTable* knownTable(const QString& name)
{
    static const std::map<QString, KnownTable> tables = {
        {"6ji", {"6 级精度公差与标准侧隙", "mm", &gradeColumns()}},
        {"7ji", {"7 级精度公差与标准侧隙", "mm", &gradeColumns()}},
        {"8ji", {"8 级精度公差与标准侧隙", "mm", &gradeColumns()}},
        {"xiuyuan", {"入口修缘量", "mm", &reliefColumns()}},
        {"xiuyuanchangdu", {"修缘长度", "teeth", &reliefLengthColumns()}},
        {"friction", {"摩擦系数", nullptr, nullptr}},
        {"rated_power", {"额定功率", nullptr, nullptr}},
    };
    const auto it = tables.find(name);
    return it == tables.end() ? nullptr : &it->second;
}

bool isTextType(const QString& declared)
{
    const QString t = declared.toUpper();
    return t.isEmpty() || t.contains(QLatin1String("CHAR")) || t.contains(QLatin1String("TEXT"))
        || t.contains(QLatin1String("CLOB"));
}

bool readsAsNumber(const QString& text, long double& value)
{
    try {
        value = StrToFloat(text);
    } catch (const ConvertError&) {
        return false;
    }
    return std::isfinite(value);
}

QString keyUnitText(const QString& unit) { return unit == QLatin1String("teeth") ? QStringLiteral("齿") : unit; }

QString shownNumber(long double value) { return FloatToStr(value); }

QString valueText(const QVariant& value)
{
    if (value.isNull())
        return QString();
    switch (value.typeId()) {
    case QMetaType::Double:
    case QMetaType::Float:
        return FloatToStr(value.toDouble());
    default:
        return value.toString();
    }
}

} // namespace

long double TableLayout::largestKey() const
{
    if (keyUnit == QLatin1String("mm"))
        return kLargestCentreDistance;
    if (keyUnit == QLatin1String("teeth"))
        return kLargestWheelTeeth;
    return 0;
}

int TableLayout::indexOf(const QString& columnName) const
{
    for (int c = 0; c < columns.size(); ++c)
        if (columns[c].name == columnName)
            return c;
    return -1;
}

QString Problem::text() const
{
    QString where;
    if (row > 0)
        where = QStringLiteral("第 %1 行").arg(row);
    if (!column.isEmpty())
        where += (where.isEmpty() ? QString() : QStringLiteral("，")) + QStringLiteral("列 %1").arg(column);
    return where.isEmpty() ? message : where + QStringLiteral("：") + message;
}

QStringList editableTables()
{
    return {"6ji", "7ji", "8ji", "xiuyuan", "xiuyuanchangdu", "friction", "rated_power"};
}

TableLayout readTableLayout(const QString& databasePath, const QString& table)
{
    Database database(databasePath, true);
    QSqlQuery query(database.db());
    TableLayout layout;
    layout.name = table;
    const KnownTable* known = knownTable(table);
    layout.title = known ? QString::fromUtf8(known->title) : table;
    if (known && known->keyUnit)
        layout.keyUnit = QString::fromUtf8(known->keyUnit);
    // rules_sources may name the key of a table this program does not know.
    if (query.exec(QStringLiteral("SELECT key_unit FROM %1 WHERE table_name = '%2'")
                       .arg(kSourcesTable, QString(table).replace(QLatin1Char('\''), QStringLiteral("''"))))
        && query.next() && !query.value(0).isNull())
        layout.keyUnit = query.value(0).toString();
    query.finish();

    if (!query.exec(QStringLiteral("PRAGMA table_info(%1)").arg(quoted(table))))
        throw RulesError(QStringLiteral("无法读取数据表 %1：%2").arg(table, query.lastError().text()));
    int position = 0;
    while (query.next()) {
        const QString name = query.value(1).toString();
        const QString declared = query.value(2).toString();
        const bool primaryKey = query.value(5).toInt() != 0;
        if (position == 0 && primaryKey && name.compare(QLatin1String("ID"), Qt::CaseInsensitive) == 0) {
            layout.numbered = true;
            ++position;
            continue;
        }
        ColumnLayout column;
        column.name = name;
        column.storedAsText = isTextType(declared);
        const KnownColumn* knownColumn = nullptr;
        if (known && known->columns) {
            const auto it = known->columns->find(name);
            if (it != known->columns->end())
                knownColumn = &it->second;
        }
        if (knownColumn) {
            column.heading = QString::fromUtf8(knownColumn->heading);
            column.kind = knownColumn->kind;
            column.magnitude = column.kind == ColumnKind::Number;
        } else {
            column.heading = name;
            column.kind = column.storedAsText ? ColumnKind::Text : ColumnKind::Number;
            // A range table keeps its bounds in columns 1 and 2.
            if (layout.isRangeTable() && position == 1)
                column.kind = ColumnKind::LowerBound;
            if (layout.isRangeTable() && position == 2)
                column.kind = ColumnKind::UpperBound;
            const QString unit = keyUnitText(layout.keyUnit);
            if (column.kind == ColumnKind::LowerBound)
                column.heading = QStringLiteral("%1 大于 (%2)").arg(name, unit);
            if (column.kind == ColumnKind::UpperBound)
                column.heading = QStringLiteral("%1 至 (%2)").arg(name, unit);
        }
        layout.columns << column;
        ++position;
    }
    if (layout.columns.isEmpty())
        throw RulesError(QStringLiteral("计算法则数据库中没有数据表 %1").arg(table));
    return layout;
}

TableTexts readTable(const QString& databasePath, const TableLayout& layout)
{
    Database database(databasePath, true);
    QSqlQuery query(database.db());
    query.setForwardOnly(true);
    QStringList names;
    for (const ColumnLayout& column : layout.columns)
        names << quoted(column.name);
    if (!query.exec(QStringLiteral("SELECT %1 FROM %2 ORDER BY rowid").arg(names.join(QLatin1Char(',')), quoted(layout.name))))
        throw RulesError(QStringLiteral("无法读取数据表 %1：%2").arg(layout.name, query.lastError().text()));
    TableTexts data;
    while (query.next()) {
        QStringList row;
        for (int c = 0; c < layout.columns.size(); ++c)
            row << valueText(query.value(c));
        data.rows << row;
    }
    return data;
}

QList<Problem> validateTable(const TableLayout& layout, const TableTexts& data)
{
    QList<Problem> problems;
    auto add = [&](int row, int column, const QString& message) {
        problems.append({row, column < 0 ? QString() : layout.columns[column].name, message});
    };
    // A range table must answer every key; another table may be empty (the
    // rated powers ship so, for the user's own data).
    if (data.rows.isEmpty()) {
        if (layout.isRangeTable())
            add(0, -1, QStringLiteral("表中没有数据行"));
        return problems;
    }
    const int lower = layout.isRangeTable() ? 0 : -1;
    const int upper = layout.isRangeTable() ? 1 : -1;
    std::optional<long double> previousUpper;
    for (int r = 0; r < data.rows.size(); ++r) {
        const QStringList& row = data.rows[r];
        const int shownRow = r + 1;
        if (row.size() != layout.columns.size()) {
            add(shownRow, -1, QStringLiteral("有 %1 个值，此表每行应有 %2 个").arg(row.size()).arg(layout.columns.size()));
            continue;
        }
        QList<std::optional<long double>> numbers(row.size());
        for (int c = 0; c < row.size(); ++c) {
            const QString text = row[c].trimmed();
            if (layout.columns[c].kind == ColumnKind::Text) {
                if (text.isEmpty())
                    add(shownRow, c, QStringLiteral("不能为空"));
                continue;
            }
            long double value = 0;
            if (text.isEmpty())
                add(shownRow, c, QStringLiteral("不能为空，须填数字"));
            else if (!readsAsNumber(text, value))
                add(shownRow, c, QStringLiteral("“%1”不是数字").arg(text));
            else if (layout.columns[c].magnitude && (text.startsWith(u'-') || text.startsWith(u'+')))
                add(shownRow, c, QStringLiteral("“%1”须写成不带正负号的数值（参数表在数值前加符号）").arg(text));
            else
                numbers[c] = value;
        }
        if (upper < 0)
            continue;
        const auto low = numbers[lower];
        const auto high = numbers[upper];
        if (low && high && !(*low < *high))
            add(shownRow, lower, QStringLiteral("下限 %1 须小于本行的上限 %2").arg(shownNumber(*low), shownNumber(*high)));
        if (previousUpper && high && !(*high > *previousUpper))
            add(shownRow, upper,
                QStringLiteral("上限 %1 须大于上一行的上限 %2（各行按上限由小到大排列）")
                    .arg(shownNumber(*high), shownNumber(*previousUpper)));
        if (previousUpper && low && *low != *previousUpper)
            add(shownRow, lower,
                QStringLiteral("下限 %1 须等于上一行的上限 %2，范围之间不能有空档或重叠")
                    .arg(shownNumber(*low), shownNumber(*previousUpper)));
        if (r == data.rows.size() - 1 && high && *high < layout.largestKey())
            add(shownRow, upper,
                QStringLiteral("最后一行的上限 %1 小于可输入的最大值 %2 %3，较大的输入将查不到范围")
                    .arg(shownNumber(*high), shownNumber(layout.largestKey()), keyUnitText(layout.keyUnit)));
        previousUpper = high;
    }
    return problems;
}

namespace {

// A failed statement: its reason, for the rollback and the message.
struct StatementFailed {
    QString reason;
};

void check(bool done, const QSqlQuery& query)
{
    if (!done)
        throw StatementFailed{query.lastError().text()};
}

// Every row of the table replaced by the data, numbered 1, 2, ... in order.
void replaceRows(QSqlQuery& query, const TableLayout& layout, const TableTexts& data)
{
    check(query.exec(QStringLiteral("DELETE FROM %1").arg(quoted(layout.name))), query);
    QStringList names, marks;
    if (layout.numbered)
        names << QStringLiteral("ID"), marks << QStringLiteral("?");
    for (const ColumnLayout& column : layout.columns)
        names << quoted(column.name), marks << QStringLiteral("?");
    check(query.prepare(QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                            .arg(quoted(layout.name), names.join(QLatin1Char(',')), marks.join(QLatin1Char(',')))),
          query);
    for (int r = 0; r < data.rows.size(); ++r) {
        int bound = 0;
        if (layout.numbered)
            query.bindValue(bound++, r + 1);
        for (int c = 0; c < layout.columns.size(); ++c) {
            const QString text = data.rows[r][c].trimmed();
            const ColumnLayout& column = layout.columns[c];
            // Texts the parameter tables print are kept as typed.
            if (column.storedAsText || column.kind == ColumnKind::Text)
                query.bindValue(bound++, text);
            else
                query.bindValue(bound++, double(StrToFloat(text)));
        }
        check(query.exec(), query);
    }
}

// The table's row of rules_sources, dated today; the table itself is made
// in a rule set saved before it existed.
void recordSource(QSqlQuery& query, const TableLayout& layout, const SourceUpdate& source)
{
    check(query.exec(QStringLiteral("CREATE TABLE IF NOT EXISTS %1 (table_name TEXT PRIMARY KEY, source TEXT NOT NULL, "
                                    "changed TEXT NOT NULL, reference_values INTEGER NOT NULL, key_unit TEXT, "
                                    "covers_above REAL, covers_upto REAL)")
                         .arg(kSourcesTable)),
          query);
    check(query.prepare(QStringLiteral("INSERT OR REPLACE INTO %1 (table_name, source, changed, reference_values, "
                                       "key_unit, covers_above, covers_upto) VALUES (?, ?, ?, ?, ?, ?, ?)")
                            .arg(kSourcesTable)),
          query);
    const QVariant noNumber(QMetaType::fromType<double>());
    query.bindValue(0, layout.name);
    query.bindValue(1, source.source);
    query.bindValue(2, QDate::currentDate().toString(Qt::ISODate));
    query.bindValue(3, source.referenceValues ? 1 : 0);
    query.bindValue(4, layout.keyUnit.isEmpty() ? QVariant(QMetaType::fromType<QString>()) : QVariant(layout.keyUnit));
    query.bindValue(5, source.coversAbove ? QVariant(double(*source.coversAbove)) : noNumber);
    query.bindValue(6, source.coversUpto ? QVariant(double(*source.coversUpto)) : noNumber);
    check(query.exec(), query);
}

} // namespace

QList<Problem> writeTable(const QString& databasePath, const TableLayout& layout, const TableTexts& data,
                          const SourceUpdate& source)
{
    const QList<Problem> problems = validateTable(layout, data);
    if (!problems.isEmpty())
        return problems;
    Database database(databasePath, false);
    QSqlDatabase db = database.db();
    if (!db.transaction())
        throw RulesError(QStringLiteral("无法开始写入数据表 %1：%2").arg(layout.name, db.lastError().text()));
    QString failure;
    {
        QSqlQuery query(db);
        try {
            replaceRows(query, layout, data);
            recordSource(query, layout, source);
        } catch (const StatementFailed& failed) {
            failure = failed.reason;
        }
    }
    if (failure.isEmpty() && !db.commit())
        failure = db.lastError().text();
    if (!failure.isEmpty()) {
        db.rollback();
        throw RulesError(QStringLiteral("数据表 %1 没有写入：%2").arg(layout.name, failure));
    }
    return {};
}

namespace {

QString csvField(const QString& text)
{
    if (!text.contains(QLatin1Char(',')) && !text.contains(QLatin1Char('"')) && !text.contains(QLatin1Char('\n'))
        && !text.contains(QLatin1Char('\r')))
        return text;
    QString inner = text;
    inner.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return QLatin1Char('"') + inner + QLatin1Char('"');
}

struct CsvRecord {
    int line = 0; // the file line it starts on, from 1
    QStringList fields;
};

// RFC 4180 records: fields split by commas, a quoted field may hold commas,
// doubled quotes and line breaks; lines end in CRLF or LF. Blank lines are
// skipped. A quote left open is a problem of the record it starts.
QList<CsvRecord> parseCsv(const QString& text, QList<Problem>& problems)
{
    QList<CsvRecord> records;
    CsvRecord record;
    QString field;
    bool inQuotes = false, fieldQuoted = false, recordStarted = false;
    int line = 1;
    record.line = 1;
    auto endField = [&] {
        record.fields << (fieldQuoted ? field : field.trimmed());
        field.clear();
        fieldQuoted = false;
    };
    auto endRecord = [&] {
        if (recordStarted) {
            endField();
            records << record;
        }
        record = CsvRecord();
        recordStarted = false;
    };
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (inQuotes) {
            if (c == u'"' && i + 1 < text.size() && text[i + 1] == u'"') {
                field += c;
                ++i;
            } else if (c == u'"') {
                inQuotes = false;
            } else {
                if (c == u'\n')
                    ++line;
                field += c;
            }
            continue;
        }
        if (c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n')
            continue;
        if (c == u'\n' || c == u'\r') {
            endRecord();
            ++line;
            record.line = line;
            continue;
        }
        if (!recordStarted && c != u' ' && c != u'\t')
            recordStarted = true;
        if (c == u',') {
            recordStarted = true;
            endField();
        } else if (c == u'"' && field.trimmed().isEmpty()) {
            recordStarted = true;
            inQuotes = true;
            fieldQuoted = true;
            field.clear();
        } else {
            field += c;
        }
    }
    if (inQuotes)
        problems.append({0, QString(), QStringLiteral("文件第 %1 行起的引号没有结束").arg(record.line)});
    endRecord();
    return records;
}

// The file line of the first byte that is not UTF-8, or 0 when all are.
int firstLineNotUtf8(const QByteArray& bytes)
{
    int line = 1;
    qsizetype start = 0;
    while (start <= bytes.size()) {
        qsizetype end = bytes.indexOf('\n', start);
        if (end < 0)
            end = bytes.size();
        QStringDecoder decoder(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
        const QString decoded = decoder(QByteArrayView(bytes).sliced(start, end - start));
        if (decoder.hasError())
            return line;
        start = end + 1;
        ++line;
    }
    return 0;
}

} // namespace

QByteArray tableToCsv(const TableLayout& layout, const TableTexts& data)
{
    QStringList heading;
    for (const ColumnLayout& column : layout.columns)
        heading << csvField(column.name);
    QString text = heading.join(QLatin1Char(',')) + QStringLiteral("\r\n");
    for (const QStringList& row : data.rows) {
        QStringList fields;
        for (const QString& value : row)
            fields << csvField(value);
        text += fields.join(QLatin1Char(',')) + QStringLiteral("\r\n");
    }
    return text.toUtf8();
}

TableTexts csvToTable(const QByteArray& input, const TableLayout& layout, QList<Problem>& problems)
{
    TableTexts data;
    QByteArray bytes = input;
    // Spreadsheet programs put a byte-order mark before UTF-8 text.
    if (bytes.startsWith("\xEF\xBB\xBF"))
        bytes.remove(0, 3);
    if (bytes.trimmed().isEmpty()) {
        problems.append({0, QString(), QStringLiteral("文件是空的，须有标题行和数据行")});
        return data;
    }
    if (const int line = firstLineNotUtf8(bytes)) {
        problems.append({0, QString(),
                         QStringLiteral("文件第 %1 行不是 UTF-8 编码的文字；请以 UTF-8 编码保存 CSV 文件").arg(line)});
        return data;
    }
    if (bytes.contains('\0')) {
        problems.append({0, QString(), QStringLiteral("文件含有空字符，不是文本文件")});
        return data;
    }
    const QList<CsvRecord> records = parseCsv(QString::fromUtf8(bytes), problems);
    if (!problems.isEmpty())
        return data;
    if (records.isEmpty()) {
        problems.append({0, QString(), QStringLiteral("文件是空的，须有标题行和数据行")});
        return data;
    }
    // Heading: the database names of the columns, in any order.
    const QStringList heading = records.first().fields;
    QList<int> position(layout.columns.size(), -1);
    for (int h = 0; h < heading.size(); ++h) {
        const int c = layout.indexOf(heading[h]);
        if (c < 0)
            problems.append({0, heading[h], QStringLiteral("标题行中的这一列不属于数据表 %1").arg(layout.name)});
        else if (position[c] >= 0)
            problems.append({0, heading[h], QStringLiteral("标题行中这一列出现了两次")});
        else
            position[c] = h;
    }
    for (int c = 0; c < layout.columns.size(); ++c)
        if (position[c] < 0)
            problems.append({0, layout.columns[c].name, QStringLiteral("标题行缺少这一列（%1）").arg(layout.columns[c].heading)});
    if (!problems.isEmpty())
        return data;
    for (int r = 1; r < records.size(); ++r) {
        const QStringList& fields = records[r].fields;
        if (fields.size() != heading.size()) {
            problems.append({r, QString(),
                             QStringLiteral("有 %1 个值，标题行有 %2 列（文件第 %3 行）")
                                 .arg(fields.size())
                                 .arg(heading.size())
                                 .arg(records[r].line)});
            continue;
        }
        QStringList row;
        for (int c = 0; c < layout.columns.size(); ++c)
            row << fields[position[c]];
        data.rows << row;
    }
    if (records.size() == 1 && layout.isRangeTable())
        problems.append({0, QString(), QStringLiteral("文件只有标题行，没有数据行")});
    return data;
}

TableTexts readCsvFile(const QString& path, const TableLayout& layout, QList<Problem>& problems)
{
    const QString shown = QDir::toNativeSeparators(path);
    const QFileInfo info(path);
    if (info.isFile() && info.size() > kMaxCsvBytes) {
        problems.append({0, QString(),
                         QStringLiteral("文件 %1 有 %2 字节，超过表格文件的上限 %3 字节，不是本程序的表格文件")
                             .arg(shown)
                             .arg(info.size())
                             .arg(kMaxCsvBytes)});
        return {};
    }
    QByteArray bytes;
    const WriteOutcome read = readRegularFile(path, kMaxCsvBytes, bytes);
    if (!read.ok()) {
        problems.append({0, QString(), QStringLiteral("无法读取文件 %1：%2").arg(shown, read.error)});
        return {};
    }
    TableTexts data = csvToTable(bytes, layout, problems);
    if (problems.isEmpty())
        problems = validateTable(layout, data);
    return data;
}

} // namespace tpworm::rules
