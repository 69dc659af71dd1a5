#include "rules_db.h"

#include "core/numeric.h"

#include <QAtomicInt>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>

#include <algorithm>

namespace tpworm::rules {

namespace {

QString newConnectionName()
{
    static QAtomicInt counter;
    return QStringLiteral("tpworm-rules-%1").arg(counter.fetchAndAddRelaxed(1));
}

QString quoted(const QString& identifier)
{
    QString inner = identifier;
    inner.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return QLatin1Char('"') + inner + QLatin1Char('"');
}

} // namespace

QString connectionString(const QString& prefix, const QString& databasePath)
{
    return prefix + databasePath + kConnectionSuffix;
}

QString dataSource(const QString& connectionString)
{
    const QString key = QStringLiteral("Data Source=");
    const int start = connectionString.indexOf(key, 0, Qt::CaseInsensitive);
    if (start < 0)
        return QString();
    const int from = start + key.size();
    const int end = connectionString.indexOf(QLatin1Char(';'), from);
    return connectionString.mid(from, end < 0 ? -1 : end - from);
}

RulesConnection::RulesConnection() : name_(newConnectionName()) {}

RulesConnection::~RulesConnection()
{
    Close();
    if (QSqlDatabase::contains(name_))
        QSqlDatabase::removeDatabase(name_);
}

void RulesConnection::Close()
{
    if (QSqlDatabase::contains(name_))
        QSqlDatabase::database(name_, false).close();
}

void RulesConnection::SetConnectionString(const QString& connectionString)
{
    connectionString_ = connectionString;
}

void RulesConnection::Open()
{
    const QString path = dataSource(connectionString_);
    if (path.isEmpty())
        throw RulesError(QStringLiteral("连接字符串中没有指明计算法则数据库"));
    // SQLite would create a missing file; a missing database is an error.
    if (!QFileInfo(path).isFile())
        throw RulesError(QStringLiteral("计算法则数据库 %1 不存在").arg(QDir::toNativeSeparators(path)));
    QSqlDatabase db = QSqlDatabase::contains(name_) ? QSqlDatabase::database(name_, false)
                                                    : QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name_);
    if (!db.isValid())
        throw RulesError(QStringLiteral("缺少 SQLite 数据库驱动（Qt 的 QSQLITE 插件），无法打开计算法则数据库"));
    db.close();
    db.setDatabaseName(path);
    db.setConnectOptions(readOnly_ ? QStringLiteral("QSQLITE_OPEN_READONLY") : QString());
    if (!db.open())
        throw RulesError(QStringLiteral("无法打开计算法则数据库 %1：%2")
                             .arg(QDir::toNativeSeparators(path), db.lastError().text()));
}

bool RulesConnection::IsOpen() const
{
    return QSqlDatabase::contains(name_) && QSqlDatabase::database(name_, false).isOpen();
}

RulesTable::RulesTable(RulesConnection& connection, const QString& tableName)
    : connection_(connection), tableName_(tableName)
{
}

void RulesTable::SetTableName(const QString& tableName)
{
    Close();
    tableName_ = tableName;
}

void RulesTable::Open()
{
    Close();
    if (!connection_.IsOpen())
        throw RulesError(QStringLiteral("计算法则数据库没有打开"));
    QSqlDatabase db = QSqlDatabase::database(connection_.name(), false);
    QSqlQuery query(db);
    query.setForwardOnly(true);
    if (!query.exec(QStringLiteral("SELECT * FROM %1 ORDER BY rowid").arg(quoted(tableName_))))
        throw RulesError(QStringLiteral("无法读取数据表 %1：%2").arg(tableName_, query.lastError().text()));
    const QSqlRecord record = query.record();
    for (int c = 0; c < record.count(); ++c)
        columnNames_ << record.fieldName(c);
    while (query.next()) {
        QVariantList row;
        row.reserve(record.count());
        for (int c = 0; c < record.count(); ++c)
            row << query.value(c);
        rows_ << row;
    }
    if (query.lastError().isValid()) {
        const QString error = query.lastError().text();
        Close();
        throw RulesError(QStringLiteral("无法读取数据表 %1：%2").arg(tableName_, error));
    }
    open_ = true;
}

void RulesTable::Close()
{
    open_ = false;
    columnNames_.clear();
    rows_.clear();
}

QVariant RulesTable::Field(int row, int column) const
{
    if (!open_)
        throw RulesError(QStringLiteral("数据表 %1 没有打开").arg(tableName_));
    if (row < 0 || row >= rows_.size())
        throw RulesError(QStringLiteral("数据表 %1 没有第 %2 行").arg(tableName_).arg(row + 1));
    if (column < 0 || column >= columnNames_.size())
        throw RulesError(QStringLiteral("数据表 %1 只有 %2 列，缺少第 %3 列（从 0 数起）")
                             .arg(tableName_)
                             .arg(columnNames_.size())
                             .arg(column));
    return rows_[row][column];
}

QString RulesTable::Text(int row, int column) const
{
    Field(row, column);
    return Data().Text(row, column);
}

QVariant RulesTable::FieldByName(int row, const QString& column) const
{
    const int index = columnNames_.indexOf(column);
    if (index < 0)
        throw RulesError(QStringLiteral("数据表 %1 没有列 %2").arg(tableName_, column));
    return Field(row, index);
}

long double RulesTable::Number(int row, int column) const
{
    Field(row, column);
    return Data().Number(row, column);
}

int RulesTable::RangeSearch(long double key) const
{
    return Data().RangeSearch(key);
}

void LoadCoefficients(RulesConnection& connection, RulesTable& nzhi, const QString& connectionString,
                      Coefficients& coefficients, bool& anyDiffers)
{
    nzhi.Close();
    connection.Close();
    connection.SetConnectionString(connectionString);
    try {
        connection.Open();
        nzhi.Open();
        if (nzhi.RowCount() == 0)
            throw RulesError(QStringLiteral("数据表 %1 没有数据").arg(nzhi.TableName()));
        for (int k = 0; k < kCoefficientCount; ++k) {
            // Moving on from the last row stays on it.
            const int row = std::min(k, nzhi.RowCount() - 1);
            const long double current = nzhi.Number(row, 2);
            coefficients[k] = double(current);
            if (current != nzhi.Number(row, 3))
                anyDiffers = true;
        }
    } catch (...) {
        nzhi.Close();
        connection.Close();
        throw;
    }
    nzhi.Close();
    connection.Close();
}

namespace {

// What the program reads of one table.
struct TableRequirement {
    QString name;
    int columns;                 // at least this many
    QList<int> numericColumns;   // must read as numbers in every row checked
    int rowsChecked;             // 0: every row
    bool ascending;              // column 2 ascending (a range table)
    QString namedColumn;         // a column read by name, or empty
};

QList<TableRequirement> requirements()
{
    return {
        {QStringLiteral("nzhi"), 4, {2, 3}, kCoefficientCount, false, QStringLiteral("JSGS")},
        {QStringLiteral("6ji"), 17, {1, 2}, 0, true, QString()},
        {QStringLiteral("7ji"), 17, {1, 2}, 0, true, QString()},
        {QStringLiteral("8ji"), 17, {1, 2}, 0, true, QString()},
        {QStringLiteral("xiuyuan"), 7, {2, 3, 4, 5, 6}, 0, true, QString()},
        {QStringLiteral("xiuyuanchangdu"), 5, {2}, 0, true, QString()},
    };
}

void checkTable(RulesTable& table, const TableRequirement& need)
{
    table.SetTableName(need.name);
    table.Open();
    if (table.ColumnCount() < need.columns)
        throw RulesError(QStringLiteral("数据表 %1 只有 %2 列，至少需要 %3 列")
                             .arg(need.name)
                             .arg(table.ColumnCount())
                             .arg(need.columns));
    if (!need.namedColumn.isEmpty() && !table.ColumnNames().contains(need.namedColumn))
        throw RulesError(QStringLiteral("数据表 %1 缺少列 %2").arg(need.name, need.namedColumn));
    if (table.RowCount() == 0)
        throw RulesError(QStringLiteral("数据表 %1 没有数据").arg(need.name));
    const int rows = need.rowsChecked > 0 ? std::min(need.rowsChecked, table.RowCount()) : table.RowCount();
    for (int row = 0; row < rows; ++row) {
        for (int column : need.numericColumns)
            table.Number(row, column);
        if (need.ascending && row > 0 && table.Number(row, 2) < table.Number(row - 1, 2))
            throw RulesError(QStringLiteral("数据表 %1 第 %2 行的上限小于上一行，各行须按第 2 列由小到大排列")
                                 .arg(need.name)
                                 .arg(row + 1));
    }
    table.Close();
}

void checkIntegrity(const RulesConnection& connection)
{
    QSqlQuery query(QSqlDatabase::database(connection.name(), false));
    if (!query.exec(QStringLiteral("PRAGMA quick_check")) || !query.next())
        throw RulesError(QStringLiteral("文件不是计算法则数据库：%1").arg(query.lastError().text()));
    const QString result = query.value(0).toString();
    if (result != QStringLiteral("ok"))
        throw RulesError(QStringLiteral("数据库文件已损坏：%1").arg(result));
}

} // namespace

void CheckRulesDatabase(const QString& path)
{
    RulesConnection connection;
    connection.SetReadOnly(true);
    connection.SetConnectionString(connectionString(kConnectionPrefix, path));
    connection.Open();
    checkIntegrity(connection);
    RulesTable table(connection, QString());
    for (const TableRequirement& need : requirements())
        checkTable(table, need);
}

void ReplaceFile(const QString& source, const QString& target)
{
    const QString shownSource = QDir::toNativeSeparators(source);
    const QString shownTarget = QDir::toNativeSeparators(target);
    QFile in(source);
    if (!in.open(QIODevice::ReadOnly))
        throw RulesError(QStringLiteral("无法读取文件 %1：%2").arg(shownSource, in.errorString()));
    const QFileInfo existing(target);
    if (existing.exists() && (!existing.isFile() || !existing.isWritable()))
        throw RulesError(QStringLiteral("文件 %1 不能被替换（只读或不是普通文件）").arg(shownTarget));
    QSaveFile out(target);
    if (!out.open(QIODevice::WriteOnly))
        throw RulesError(QStringLiteral("无法写入文件 %1：%2").arg(shownTarget, out.errorString()));
    while (!in.atEnd()) {
        const QByteArray chunk = in.read(1 << 16);
        if (chunk.isEmpty() && in.error() != QFileDevice::NoError)
            throw RulesError(QStringLiteral("读取文件 %1 时出错：%2").arg(shownSource, in.errorString()));
        if (out.write(chunk) != chunk.size())
            throw RulesError(QStringLiteral("写入文件 %1 时出错：%2").arg(shownTarget, out.errorString()));
    }
    if (!out.commit())
        throw RulesError(QStringLiteral("无法完成文件 %1 的写入：%2").arg(shownTarget, out.errorString()));
}

} // namespace tpworm::rules
