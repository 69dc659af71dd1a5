#include "rules_db.h"

#include "app/numeric.h"

#include <QAtomicInt>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>

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

RulesError::RulesError(const QString& message) : std::runtime_error(message.toStdString()) {}

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
        throw RulesError(QStringLiteral("the connection string names no database"));
    if (!QFileInfo(path).isFile())
        throw RulesError(QStringLiteral("the rules database %1 does not exist").arg(path));
    QSqlDatabase db = QSqlDatabase::contains(name_) ? QSqlDatabase::database(name_, false)
                                                    : QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name_);
    db.close();
    db.setDatabaseName(path);
    if (!db.open())
        throw RulesError(QStringLiteral("cannot open the rules database %1: %2").arg(path, db.lastError().text()));
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
        throw RulesError(QStringLiteral("the rules database is not open"));
    QSqlDatabase db = QSqlDatabase::database(connection_.name(), false);
    QSqlQuery query(db);
    query.setForwardOnly(true);
    if (!query.exec(QStringLiteral("SELECT * FROM %1 ORDER BY rowid").arg(quoted(tableName_))))
        throw RulesError(QStringLiteral("cannot read table %1: %2").arg(tableName_, query.lastError().text()));
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
    if (query.lastError().isValid())
        throw RulesError(QStringLiteral("cannot read table %1: %2").arg(tableName_, query.lastError().text()));
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
        throw RulesError(QStringLiteral("table %1 is not open").arg(tableName_));
    if (row < 0 || row >= rows_.size())
        throw RulesError(QStringLiteral("table %1 has no row %2").arg(tableName_).arg(row));
    if (column < 0 || column >= columnNames_.size())
        throw RulesError(QStringLiteral("table %1 has no column %2").arg(tableName_).arg(column));
    return rows_[row][column];
}

QString RulesTable::Text(int row, int column) const
{
    const QVariant value = Field(row, column);
    if (value.isNull())
        return QString();
    if (value.typeId() == QMetaType::Double)
        return FloatToStr(value.toDouble());
    return value.toString();
}

QVariant RulesTable::FieldByName(int row, const QString& column) const
{
    const int index = columnNames_.indexOf(column);
    if (index < 0)
        throw RulesError(QStringLiteral("table %1 has no column %2").arg(tableName_, column));
    return Field(row, index);
}

int RulesTable::RangeSearch(long double key) const
{
    if (RowCount() == 0)
        throw RulesError(QStringLiteral("table %1 is empty").arg(tableName_));
    int row = 0;
    while (row < RowCount() - 1 && StrToFloat(Text(row, 2)) < key)
        ++row;
    return row;
}

} // namespace tpworm::rules
