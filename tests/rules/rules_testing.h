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

// A copy of the shipped database at path, then changed by the statements.
inline void makeRulesCopy(const QString& path, const QStringList& statements = {})
{
    QFile::remove(path);
    ASSERT_TRUE(QFile::copy(shippedDatabase(), path));
    QFile(path).setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    runSql(path, statements);
}

} // namespace tpworm::testing
