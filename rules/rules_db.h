// Access to the rules database db1.mdb: an SQLite file reached through Qt SQL.
//
// The access pattern is that of the program's rules: every use closes the
// connection, sets the connection string, opens it, opens one table whole and
// reads it from the first row in stored order, columns by position.
#pragma once

#include <QList>
#include <QString>
#include <QVariant>

#include <stdexcept>

namespace tpworm::rules {

class RulesError : public std::runtime_error {
public:
    explicit RulesError(const QString& message);
};

// The start of a connection string; the database path and
// kConnectionSuffix follow it.
inline const QString kConnectionPrefix = QStringLiteral("Driver=QSQLITE;Data Source=");
inline const QString kConnectionSuffix = QStringLiteral(";Persist Security Info=False");

// prefix + path + suffix.
QString connectionString(const QString& prefix, const QString& databasePath);
// The path named by "Data Source=" of a connection string.
QString dataSource(const QString& connectionString);

class RulesConnection {
public:
    RulesConnection();
    ~RulesConnection();
    RulesConnection(const RulesConnection&) = delete;
    RulesConnection& operator=(const RulesConnection&) = delete;

    void Close();
    void SetConnectionString(const QString& connectionString);
    QString ConnectionString() const { return connectionString_; }
    // Opens the database named by the connection string; a missing file is an
    // error (it is never created).
    void Open();
    bool IsOpen() const;
    // Qt SQL name of this connection.
    QString name() const { return name_; }

private:
    QString name_;
    QString connectionString_;
};

// One table of the database, read whole into memory when opened.
class RulesTable {
public:
    RulesTable(RulesConnection& connection, const QString& tableName);

    void SetTableName(const QString& tableName);
    QString TableName() const { return tableName_; }
    void Open();  // reads every row in stored order
    void Close();
    bool IsOpen() const { return open_; }

    int RowCount() const { return int(rows_.size()); }
    int ColumnCount() const { return int(columnNames_.size()); }
    QStringList ColumnNames() const { return columnNames_; }
    // The value at a 0-based position; an error past the last row or column.
    QVariant Field(int row, int column) const;
    // The value as text (numbers in the program's number format).
    QString Text(int row, int column) const;
    // The value of a named column.
    QVariant FieldByName(int row, const QString& column) const;

    // The first row whose column 2, read as a number, is at least the key; a
    // key above every row stops at the last row. Errors: an empty table, or a
    // column 2 that is not a number.
    int RangeSearch(long double key) const;

private:
    RulesConnection& connection_;
    QString tableName_;
    bool open_ = false;
    QStringList columnNames_;
    QList<QVariantList> rows_;
};

} // namespace tpworm::rules
