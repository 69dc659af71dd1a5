// The program start: what the first showing of the main window does, with
// and without a design file on the command line.
#include "common/gui_fixture.h"
#include "common/update_server.h"
#include "support/tform7.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTimer>
#include <QUuid>

using tpworm::TForm1;
using tpworm::testing::ProgramFixture;
using tpworm::testing::UpdateServer;

namespace {

// Sets coefficient N[index] of the rules database at path.
void setCoefficient(const QString& path, int index, double value)
{
    const QString name = QUuid::createUuid().toString();
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(path);
        ASSERT_TRUE(db.open()) << db.lastError().text().toStdString();
        QSqlQuery query(db);
        query.prepare(QStringLiteral("UPDATE nzhi SET N = ? WHERE Coefficient = ?"));
        query.addBindValue(value);
        query.addBindValue(QStringLiteral("N%1").arg(index));
        ASSERT_TRUE(query.exec()) << query.lastError().text().toStdString();
        ASSERT_EQ(query.numRowsAffected(), 1);
    }
    QSqlDatabase::removeDatabase(name);
}

// A server that knows the current version: the check finds nothing newer.
void serveCurrentVersion(UpdateServer& server, const ProgramFixture& fx)
{
    QFile local(fx.path("v.txt"));
    const QByteArray version = local.open(QIODevice::ReadOnly) ? local.readAll() : QByteArrayLiteral("1.0\r\n");
    server.files["/uploads/v.txt"] = version;
    server.files["/uploads/guanggao.txt"] = QByteArrayLiteral("欢迎使用");
}

} // namespace

TEST(Start, EveryShowingLoadsTheCoefficients)
{
    ProgramFixture fx;
    setCoefficient(fx.path("db1.mdb"), 5, 1.75);
    TForm1& f = fx.start();
    EXPECT_TRUE(f.isVisible());
    EXPECT_EQ(f.Design.RuleCoefficients[5], 1.75) << "the first showing loads the coefficients";
    setCoefficient(fx.path("db1.mdb"), 5, 1.5);
    f.hide();
    f.show();
    EXPECT_EQ(f.Design.RuleCoefficients[5], 1.5);
}

// While the main window is being created, the secondary windows do not exist
// yet: a showing then (the command-line open shows the window early) loads the
// coefficients but must not start the update check, which needs its notice
// window.
TEST(Start, AShowingDuringCreationNeverChecksForUpdates)
{
    ProgramFixture fx;
    UpdateServer server;
    serveCurrentVersion(server, fx);
    fx.context.updateAddress = server.address();
    setCoefficient(fx.path("db1.mdb"), 3, 2.25);

    TForm1 form(fx.context);
    form.FormCreate();
    ASSERT_EQ(form.Form7, nullptr);
    form.show();
    EXPECT_EQ(form.Design.RuleCoefficients[3], 2.25);
    EXPECT_TRUE(server.requests.isEmpty()) << server.requests.join(' ').toStdString();
}
