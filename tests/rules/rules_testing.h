// Helpers of the rules tests: copies of the shipped database changed by SQL,
// and plain files compared byte for byte.
#pragma once

#include <QByteArray>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QString>
#include <QStringList>
#include <QUuid>
#include <QVariant>

#include <gtest/gtest.h>

namespace tpworm::testing {

inline QString shippedDatabase() { return QStringLiteral(TPWORM_PROGRAM_DIR "/db1.mdb"); }
inline QString shippedDefaultSet() { return QStringLiteral(TPWORM_PROGRAM_DIR "/db1.wrx"); }

inline QByteArray fileBytes(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QByteArray();
    return file.readAll();
}

inline void writeBytes(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate)) << path.toStdString();
    ASSERT_EQ(file.write(bytes), bytes.size());
}

// Runs each statement on the database at path, failing the test on an error.
inline void runSql(const QString& path, const QStringList& statements)
{
    const QString name = QUuid::createUuid().toString();
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(path);
        ASSERT_TRUE(db.open()) << db.lastError().text().toStdString();
        QSqlQuery query(db);
        for (const QString& statement : statements)
            ASSERT_TRUE(query.exec(statement))
                << statement.toStdString() << ": " << query.lastError().text().toStdString();
        query.finish();
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
}

// The first value of a query on the database at path (invalid on an error).
inline QVariant queryValue(const QString& path, const QString& sql)
{
    const QString name = QUuid::createUuid().toString();
    QVariant value;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(path);
        db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY"));
        if (db.open()) {
            QSqlQuery query(db);
            if (query.exec(sql) && query.next())
                value = query.value(0);
        }
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
    return value;
}

// Column N of the row of coefficient k in the database at path.
inline double storedCoefficient(const QString& path, int k)
{
    return queryValue(path, QStringLiteral("SELECT N FROM nzhi WHERE Coefficient = 'N%1'").arg(k)).toDouble();
}

// A copy of the shipped database at path, then changed by the statements.
inline void makeRulesCopy(const QString& path, const QStringList& statements = {})
{
    QFile::remove(path);
    ASSERT_TRUE(QFile::copy(shippedDatabase(), path));
    QFile(path).setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    runSql(path, statements);
}

} // namespace tpworm::testing
