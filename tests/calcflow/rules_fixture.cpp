#include "rules_fixture.h"

#include <QFile>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>

#include <gtest/gtest.h>

namespace tpworm::testing {

namespace {

FixtureTable gradeTable(const QString& name, const QList<std::pair<double, double>>& ranges, const QStringList& backlash)
{
    FixtureTable t{name, {"ID", "XX", "SX"}, {}};
    for (int c = 3; c <= 15; ++c)
        t.columns << QStringLiteral("T%1").arg(c);
    t.columns << "CX";
    for (int r = 0; r < ranges.size(); ++r) {
        QVariantList row{r + 1, ranges[r].first, ranges[r].second};
        // Tolerance texts name their grade, row and column: "7-2-9".
        for (int c = 3; c <= 15; ++c)
            row << QStringLiteral("%1-%2-%3").arg(name.left(1)).arg(r).arg(c);
        row << backlash[r];
        t.rows << row;
    }
    return t;
}

void exec(QSqlQuery& query, const QString& sql)
{
    if (!query.exec(sql))
        ADD_FAILURE() << sql.toStdString() << ": " << query.lastError().text().toStdString();
}

} // namespace

RulesFixture RulesFixture::standard()
{
    RulesFixture f;
    FixtureTable nzhi{"nzhi", {"ID", "XH", "N", "MRZ", "JSGS"}, {}};
    for (int k = 0; k < 16; ++k)
        nzhi.rows << QVariantList{k + 1, QStringLiteral("N%1").arg(k), kFixtureCoefficients[k], kFixtureCoefficients[k],
                                  QStringLiteral("法则%1").arg(k)};
    f.tables_.push_back(nzhi);

    const QList<std::pair<double, double>> ranges{{40, 80}, {80, 160}, {160, 315}, {315, 630}};
    f.tables_.push_back(gradeTable("6ji", ranges, {"0.13", "0.17", "0.21", "0.28"}));
    f.tables_.push_back(gradeTable("7ji", ranges, {"0.16", "0.21", "0.26", "0.34"}));
    f.tables_.push_back(gradeTable("8ji", {{40, 80}, {100, 160}, {160, 315}, {315, 630}}, {"0.20", "0.26", "0.32", "0.42"}));

    // Relief amounts by centre distance; one amount is stored as text to
    // show that it is copied as it stands.
    f.tables_.push_back({"xiuyuan",
                         {"ID", "MC", "ZXJ", "S1", "S2", "S3", "S4"},
                         {{1, "a100", 100.0, 0.3, 0.25, 0.2, 0.15},
                          {2, "a200", 200.0, 0.5, 0.45, 0.4, 0.35},
                          {3, "a400", 400.0, QStringLiteral("0.80"), 0.7, 0.6, 0.5},
                          {4, "a1000", 1000.0, 1.5, 1.2, 1.0, 0.8}}});
    f.tables_.push_back({"xiuyuanchangdu",
                         {"ID", "MC", "CS", "RK", "CK"},
                         {{1, "z30", 30.0, "30", "20"},
                          {2, "z50", 50.0, "40", "25"},
                          {3, "z100", 100.0, "55", "35"},
                          {4, "z300", 300.0, "70", "45"}}});
    return f;
}

FixtureTable& RulesFixture::table(const QString& name)
{
    for (FixtureTable& t : tables_)
        if (t.name == name)
            return t;
    throw std::invalid_argument("no fixture table " + name.toStdString());
}

void RulesFixture::drop(const QString& name)
{
    std::erase_if(tables_, [&](const FixtureTable& t) { return t.name == name; });
}

void RulesFixture::write(const QString& path) const
{
    QFile::remove(path);
    const QString connection = QStringLiteral("rules-fixture");
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connection);
        db.setDatabaseName(path);
        if (!db.open()) {
            ADD_FAILURE() << "cannot create " << path.toStdString() << ": " << db.lastError().text().toStdString();
        } else {
            QSqlQuery query(db);
            // One transaction: a file synced per row makes every test slow.
            if (!db.transaction())
                ADD_FAILURE() << db.lastError().text().toStdString();
            for (const FixtureTable& t : tables_) {
                exec(query, QStringLiteral("CREATE TABLE \"%1\" (%2)").arg(t.name, t.columns.join(QLatin1Char(','))));
                for (const QVariantList& row : t.rows) {
                    QStringList marks;
                    for (int c = 0; c < row.size(); ++c)
                        marks << QStringLiteral("?");
                    if (!query.prepare(QStringLiteral("INSERT INTO \"%1\" VALUES (%2)").arg(t.name, marks.join(QLatin1Char(',')))))
                        ADD_FAILURE() << query.lastError().text().toStdString();
                    for (const QVariant& v : row)
                        query.addBindValue(v);
                    if (!query.exec())
                        ADD_FAILURE() << t.name.toStdString() << ": " << query.lastError().text().toStdString();
                }
            }
            if (!db.commit())
                ADD_FAILURE() << db.lastError().text().toStdString();
            db.close();
        }
    }
    QSqlDatabase::removeDatabase(connection);
}

} // namespace tpworm::testing
