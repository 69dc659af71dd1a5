// The rule-set commands 还原默认设置, 加载用户设置 and 另存用户设置 through the
// real main window, with the file dialogs answered by the scripted seam.
#include "common/gui_fixture.h"
#include "rules/tform5.h"
#include "rules_testing.h"

#include <QDir>
#include <QLabel>
#include <QPushButton>

using namespace tpworm;
using namespace tpworm::testing;

namespace {

// Files of the program directory other than the ones the fixture copied:
// what a command left behind.
QStringList strayFiles(const ProgramFixture& fx)
{
    QStringList stray = QDir(fx.dir.path()).entryList(QDir::Files | QDir::Hidden);
    for (const QString& name : ProgramFixture::defaultFiles())
        stray.removeAll(name);
    return stray;
}

// The program started afresh on the same program directory.
std::unique_ptr<TForm1> restart(ProgramFixture& fx)
{
    fx.form.reset();
    fx.dialogs.messages.clear();
    auto form = createWindows(fx.context);
    form->show();
    return form;
}

} // namespace

TEST(SaveRuleSet, AlwaysAppendsTheExtensionAndReplacesSilently)
{
    ProgramFixture fx;
    TForm1& f = fx.start();
    const QByteArray rules = fileBytes(fx.path("db1.mdb"));
    QTemporaryDir out;
    writeBytes(out.filePath("old.wrx"), "an older set");
    struct Case {
        QString chosen;
        QString written;
    };
    const Case cases[] = {
        {out.filePath("abc"), out.filePath("abc.wrx")},
        {out.filePath("abc.wrx"), out.filePath("abc.wrx.wrx")},
        {out.filePath("old"), out.filePath("old.wrx")},
    };
    for (const Case& c : cases) {
        fx.dialogs.files = {c.chosen};
        f.N17Click();
        EXPECT_EQ(fileBytes(c.written), rules) << c.written.toStdString();
    }
    EXPECT_TRUE(fx.dialogs.messages.isEmpty());
    ASSERT_EQ(fx.dialogs.fileDialogs.size(), 3);
    EXPECT_EQ(fx.dialogs.fileDialogs[0].name, "SaveDialog3");
    EXPECT_EQ(fx.dialogs.fileDialogs[0].filter, "*.wrx|*.wrx");
    EXPECT_FALSE(QFile::exists(out.filePath("abc")));
    EXPECT_EQ(QDir(out.path()).entryList(QDir::Files | QDir::Hidden).size(), 3) << "no temporary file is left";

    // Cancelling writes nothing.
    f.N17Click();
    EXPECT_EQ(QDir(out.path()).entryList(QDir::Files | QDir::Hidden).size(), 3);
    EXPECT_TRUE(fx.dialogs.messages.isEmpty());
}

TEST(SaveRuleSet, AFailedSaveIsReported)
{
    ProgramFixture fx;
    TForm1& f = fx.start();
    QTemporaryDir out;
    ASSERT_TRUE(QDir(out.path()).mkdir("taken.wrx"));
    const QString targets[] = {out.filePath("no/such/folder/set"), out.filePath("taken")};
    for (const QString& chosen : targets) {
        fx.dialogs.messages.clear();
        fx.dialogs.files = {chosen};
        f.N17Click();
        ASSERT_EQ(fx.dialogs.messages.size(), 1) << chosen.toStdString();
        EXPECT_EQ(fx.dialogs.messages[0].caption, "提示");
        EXPECT_TRUE(fx.dialogs.messages[0].text.contains(QDir::toNativeSeparators(chosen + ".wrx")));
    }
    EXPECT_TRUE(QFileInfo(out.filePath("taken.wrx")).isDir());
}

TEST(RestoreDefaults, CopiesTheDefaultSetHidesTheNoticeAndReloads)
{
    ProgramFixture fx;
    makeRulesCopy(fx.path("db1.mdb"), {"UPDATE nzhi SET N = 1.3 WHERE ID = 2", "UPDATE \"7ji\" SET standard_backlash = '9'"});
    TForm1& f = fx.start();
    ASSERT_FALSE(f.Label50->isHidden());
    ASSERT_EQ(f.Design.RuleCoefficients[1], 1.3);
    // A look-up leaves the main connection open; the copy must take effect all the same.
    f.ADOConnection1.Open();
    f.ADOTable2.Open();

    f.N15Click();
    EXPECT_TRUE(fx.dialogs.messages.isEmpty());
    EXPECT_EQ(fileBytes(fx.path("db1.mdb")), fileBytes(fx.path("db1.wrx"))) << "grade tables are restored too";
    EXPECT_EQ(f.Design.RuleCoefficients[1], 1.2);
    EXPECT_TRUE(f.Label50->isHidden());
    EXPECT_TRUE(f.Design.UpdateCheckSuppressed);
    EXPECT_TRUE(strayFiles(fx).isEmpty()) << strayFiles(fx).join(' ').toStdString();
}

TEST(RestoreDefaults, AMissingOrDamagedDefaultSetLeavesTheRules)
{
    const std::pair<const char*, std::function<void(const QString&)>> cases[] = {
        {"missing", [](const QString& path) { QFile::remove(path); }},
        {"damaged", [](const QString& path) { writeBytes(path, fileBytes(path).left(3000)); }},
    };
    for (const auto& [why, damage] : cases) {
        ProgramFixture fx;
        makeRulesCopy(fx.path("db1.mdb"), {"UPDATE nzhi SET N = 1.3 WHERE ID = 2"});
        damage(fx.path("db1.wrx"));
        TForm1& f = fx.start();
        const QByteArray before = fileBytes(fx.path("db1.mdb"));
        f.N15Click();
        EXPECT_EQ(fileBytes(fx.path("db1.mdb")), before) << why;
        ASSERT_EQ(fx.dialogs.messages.size(), 1) << why;
        EXPECT_EQ(fx.dialogs.messages[0].caption, "提示");
        EXPECT_TRUE(fx.dialogs.messages[0].text.startsWith("还原默认设置失败")) << why;
        // Hidden, then raised again by the reload of the still edited rules.
        EXPECT_FALSE(f.Label50->isHidden()) << why;
        EXPECT_EQ(f.Design.RuleCoefficients[1], 1.3) << why;
        EXPECT_TRUE(f.isVisible()) << why;
    }
}

TEST(LoadRuleSet, ReplacesTheRulesAndReloads)
{
    ProgramFixture fx;
    QTemporaryDir sets;
    // A set that equals its own defaults, and the shipped defaults.
    const QString own = sets.filePath("own.wrx");
    makeRulesCopy(own, {"UPDATE nzhi SET N = 1, N_default = 1 WHERE ID = 1"});
    const QString defaults = sets.filePath("defaults.wrx");
    makeRulesCopy(defaults);

    TForm1& f = fx.start();
    fx.dialogs.files = {own};
    f.N16Click();
    EXPECT_TRUE(fx.dialogs.messages.isEmpty());
    EXPECT_EQ(fx.dialogs.fileDialogs.last().name, "OpenDialog2");
    EXPECT_EQ(fx.dialogs.fileDialogs.last().filter, "*.wrx|*.wrx");
    EXPECT_EQ(fileBytes(fx.path("db1.mdb")), fileBytes(own));
    EXPECT_EQ(f.Design.RuleCoefficients[0], 1.0);
    EXPECT_TRUE(f.Label50->isHidden()) << "the set equals its own defaults";

    // Edits saved, then the defaults loaded as a set: the values return, the
    // notice stays.
    runSql(fx.path("db1.mdb"), {"UPDATE nzhi SET N = 0.6 WHERE ID = 6"});
    f.Design.UpdateCheckSuppressed = true;
    f.FormShow();
    ASSERT_FALSE(f.Label50->isHidden());
    fx.dialogs.files = {defaults};
    f.N16Click();
    EXPECT_EQ(f.Design.RuleCoefficients[0], 0.875);
    EXPECT_EQ(f.Design.RuleCoefficients[5], 0.55);
    EXPECT_FALSE(f.Label50->isHidden());
    EXPECT_TRUE(strayFiles(fx).isEmpty());

    // Cancelling changes nothing.
    const QByteArray before = fileBytes(fx.path("db1.mdb"));
    f.N16Click();
    EXPECT_EQ(fileBytes(fx.path("db1.mdb")), before);
    EXPECT_TRUE(fx.dialogs.messages.isEmpty());
}

TEST(LoadRuleSet, RefusesDamagedOrForeignFilesAndTheNextStartStillWorks)
{
    QTemporaryDir sets;
    const QByteArray shipped = fileBytes(shippedDatabase());
    writeBytes(sets.filePath("half.wrx"), shipped.left(shipped.size() / 2));
    writeBytes(sets.filePath("text.wrx"), "Provider=Microsoft.Jet.OLEDB.4.0; this is no database\n");
    writeBytes(sets.filePath("zeros.wrx"), QByteArray(8192, '\0'));
    runSql(sets.filePath("foreign.wrx"), {"CREATE TABLE orders (id INTEGER, item TEXT)"});
    makeRulesCopy(sets.filePath("no-relief.wrx"), {"DROP TABLE xiuyuan"});
    makeRulesCopy(sets.filePath("short-grade.wrx"),
                  {"CREATE TABLE t AS SELECT ID, centre_distance_above_mm, centre_distance_upto_mm FROM \"6ji\"",
                   "DROP TABLE \"6ji\"", "ALTER TABLE t RENAME TO \"6ji\""});
    const char* names[] = {"half.wrx", "text.wrx", "zeros.wrx", "foreign.wrx", "no-relief.wrx", "short-grade.wrx",
                           "missing.wrx"};
    for (const char* name : names) {
        ProgramFixture fx;
        TForm1& f = fx.start();
        const QByteArray before = fileBytes(fx.path("db1.mdb"));
        const QString chosen = sets.filePath(name);
        const QByteArray chosenBefore = fileBytes(chosen);
        fx.dialogs.files = {chosen};
        f.N16Click();
        ASSERT_EQ(fx.dialogs.messages.size(), 1) << name;
        EXPECT_EQ(fx.dialogs.messages[0].caption, "提示");
        EXPECT_TRUE(fx.dialogs.messages[0].text.contains(QDir::toNativeSeparators(chosen))) << name;
        EXPECT_EQ(fileBytes(fx.path("db1.mdb")), before) << name << ": the rules are untouched";
        EXPECT_EQ(fileBytes(chosen), chosenBefore) << name << ": the chosen file is only read";
        EXPECT_EQ(f.Design.RuleCoefficients[0], 0.875) << name;
        EXPECT_TRUE(f.isVisible()) << name;
        EXPECT_TRUE(strayFiles(fx).isEmpty()) << name;

        auto next = restart(fx);
        QCoreApplication::processEvents();
        EXPECT_TRUE(fx.dialogs.messages.isEmpty()) << name << ": the next start loads its rules";
        EXPECT_TRUE(next->isVisible()) << name;
        EXPECT_EQ(next->Design.RuleCoefficients[15], 9.0) << name;
    }
}

TEST(RuleSets, CommandsCloseTheSettingsDialogConnectionBeforeReplacing)
{
    ProgramFixture fx;
    TForm1& f = fx.start();
    // The dialog's table is closed on every way out; closing it again is safe.
    f.Form5->closeDatabase();
    QTemporaryDir sets;
    makeRulesCopy(sets.filePath("set.wrx"), {"UPDATE nzhi SET N = 2 WHERE ID = 3"});
    fx.dialogs.files = {sets.filePath("set.wrx")};
    f.N16Click();
    EXPECT_EQ(f.Design.RuleCoefficients[2], 2.0);
    bool opened = false;
    QTimer::singleShot(0, &f, [&] {
        opened = f.Form5->isVisible();
        EXPECT_EQ(f.Form5->ADOTable1->index(2, 2).data().toDouble(), 2.0) << "the dialog reads the new rules";
        f.Form5->Button2->click();
    });
    f.N13Click();
    EXPECT_TRUE(opened);
}
