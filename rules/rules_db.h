// Access to the rules database db1.mdb: an SQLite file reached through Qt SQL.
//
// The access pattern is that of the program's rules: every use closes the
// connection, sets the connection string, opens it, opens one table whole and
// reads it from the first row in stored order, columns by position.
#pragma once

#include "core/rules_data.h"

#include <QList>
#include <QString>
#include <QVariant>

#include <array>
#include <stdexcept>

namespace tpworm::rules {


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
    // A read-only connection never writes the file, not even a journal: the
    // main window only reads, and a --rules file must stay as it is.
    void SetReadOnly(bool readOnly) { readOnly_ = readOnly; }
    bool ReadOnly() const { return readOnly_; }
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
    bool readOnly_ = false;
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
    // The value as a number: a numeric value, or a text that reads as one.
    // Errors: an empty value, or a text that is not a number.
    long double Number(int row, int column) const;

    // The first row whose column 2, read as a number, is at least the key; a
    // key above every row stops at the last row. Errors: an empty table, or a
    // column 2 that is not a number.
    int RangeSearch(long double key) const;

    // The rows read, as plain values (shared, not copied).
    TableData Data() const
    {
        TableData data;
        data.name = tableName_;
        data.columnNames = columnNames_;
        data.rows = rows_;
        return data;
    }

private:
    RulesConnection& connection_;
    QString tableName_;
    bool open_ = false;
    QStringList columnNames_;
    QList<QVariantList> rows_;
};


// The coefficient load: close the table and the connection, set the connection
// string, open both, then for k = 0 ... 15 copy column 2 of row k into entry k;
// past the last row the last row is read again. Entries are written as they
// are read, so a failure part-way leaves the later ones as they were. The
// table and the connection are closed again, also after a failure. anyDiffers
// is set (never cleared) as soon as a row read has a current value (column 2)
// that differs from its default (column 3), so it tells the truth about the
// rows read before a failure too. Errors: RulesError.
void LoadCoefficients(RulesConnection& connection, RulesTable& nzhi, const QString& connectionString,
                      Coefficients& coefficients, bool& anyDiffers);

// Checks that the file at path is a rules database the program can use:
// an intact SQLite file with every table the program reads, each with the
// columns it reads by position or name, and the range tables in ascending
// order. The file is opened read-only and never changed. Errors: RulesError,
// its message saying what is wrong.
void CheckRulesDatabase(const QString& path);

// Copies source over target through a temporary file in the target's folder
// and a rename, so that target is either replaced whole or left as it was.
// Errors: RulesError.
void ReplaceFile(const QString& source, const QString& target);

} // namespace tpworm::rules
