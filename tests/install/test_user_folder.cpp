// Where an installed program keeps what it writes: the shipped folder stays as
// shipped, and the rules database the settings dialog and the rule sets change
// is the user's copy.
#include "common/gui_fixture.h"
#include "core/program_paths.h"
#include "rules/tform5.h"

#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTest>

#include <gtest/gtest.h>

using namespace tpworm;
using namespace tpworm::testing;

namespace {

QByteArray bytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// <root>/usr/bin and <root>/usr/share/tpworm with the shipped data files, as
// the package lays them out.
struct InstalledLayout {
    InstalledLayout()
    {
        QDir(root.path()).mkpath(QStringLiteral("usr/bin"));
        QDir(root.path()).mkpath(QStringLiteral("usr/share/tpworm"));
        for (const QString& name : ProgramFixture::defaultFiles())
            QFile::copy(QStringLiteral(TPWORM_PROGRAM_DIR "/") + name, share() + QLatin1Char('/') + name);
    }
    QString bin() const { return root.filePath(QStringLiteral("usr/bin")); }
    QString share() const { return root.filePath(QStringLiteral("usr/share/tpworm")); }
    QString userData() const { return root.filePath(QStringLiteral("home/.local/share/tpworm")); }
    QTemporaryDir root;
};

} // namespace

TEST(ProgramPaths, AnInstalledProgramReadsTheShareFolderAndWritesTheUserFolder)
{
    InstalledLayout layout;
    const ProgramPaths paths = resolveProgramPaths(layout.bin(), layout.userData());
    EXPECT_TRUE(paths.error.isEmpty()) << paths.error.toStdString();
    EXPECT_EQ(QDir(paths.programDir).canonicalPath(), QDir(layout.share()).canonicalPath());
    EXPECT_EQ(paths.userDir, layout.userData());
    EXPECT_EQ(bytes(layout.userData() + "/db1.mdb"), bytes(layout.share() + "/db1.mdb")) << "copied on first use";

    // A second start keeps the user's own copy as the user left it.
    QFile changed(layout.userData() + "/db1.mdb");
    ASSERT_TRUE(changed.open(QIODevice::Append));
    changed.write("x");
    changed.close();
    const QByteArray tuned = bytes(layout.userData() + "/db1.mdb");
    resolveProgramPaths(layout.bin(), layout.userData());
    EXPECT_EQ(bytes(layout.userData() + "/db1.mdb"), tuned);
}

TEST(ProgramPaths, TheBuildFolderStaysTheProgramAndTheDataFolder)
{
    const ProgramPaths paths = resolveProgramPaths(QStringLiteral(TPWORM_PROGRAM_DIR), QStringLiteral("/nonexistent/data"));
    EXPECT_EQ(paths.programDir, QStringLiteral(TPWORM_PROGRAM_DIR));
    EXPECT_EQ(paths.userDir, QStringLiteral(TPWORM_PROGRAM_DIR));
    EXPECT_TRUE(paths.error.isEmpty());
}

TEST(ProgramPaths, AFolderOfBinWithoutOurDataIsNoInstall)
{
    // Only a share folder that holds our rules database makes an install.
    QTemporaryDir root;
    QDir(root.path()).mkpath(QStringLiteral("usr/bin"));
    EXPECT_FALSE(isInstalledLayout(root.filePath(QStringLiteral("usr/bin"))));
    EXPECT_EQ(resolveProgramDir(root.filePath(QStringLiteral("usr/bin"))), root.filePath(QStringLiteral("usr/bin")));
}

TEST(ProgramPaths, SettingsAndDefaultsChangeTheUserCopyOnly)
{
    InstalledLayout layout;
    const ProgramPaths paths = resolveProgramPaths(layout.bin(), layout.userData());
    const QByteArray shipped = bytes(layout.share() + "/db1.mdb");

    ProgramFixture fx;
    fx.context.programDir = paths.programDir;
    fx.context.userDir = paths.userDir;
    TForm1& f = fx.start();
    ASSERT_TRUE(f.isVisible());

    bool ran = false;
    QTimer::singleShot(0, &f, [&] {
        ran = true;
        TForm5& d = *f.Form5;
        const QRect cell = d.DBGrid1->visualRect(d.ADOTable1->index(1, 1));
        QTest::mouseClick(d.DBGrid1->viewport(), Qt::LeftButton, {}, cell.center());
        d.DBEdit1->selectAll();
        QTest::keyClick(d.DBEdit1, Qt::Key_Backspace);
        QTest::keyClicks(d.DBEdit1, QStringLiteral("1.3"));
        d.Button1->click();
        if (d.isVisible())
            d.Button2->click();
    });
    f.N13Click();
    ASSERT_TRUE(ran);
    EXPECT_DOUBLE_EQ(f.Design.RuleCoefficients[1], 1.3) << "the program reads the user's copy";
    EXPECT_NE(bytes(paths.userDir + "/db1.mdb"), shipped) << "the change lands in the user's folder";
    EXPECT_EQ(bytes(layout.share() + "/db1.mdb"), shipped) << "the shipped database is untouched";

    // Restoring the defaults copies the shipped default set over the user's copy.
    f.N15Click();
    EXPECT_EQ(bytes(paths.userDir + "/db1.mdb"), bytes(layout.share() + "/db1.wrx"));
    EXPECT_EQ(bytes(layout.share() + "/db1.mdb"), shipped);
}
