// The menu tables' cell maps, the automation layer's registry and variants, and
// the LibreOffice backend driven directly.
#include "calc/geometry.h"
#include "core/cell_address.h"
#include "documents/automation.h"
#include "documents/automation_cells.h"
#include "documents/automation_store.h"
#include "lo_support.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QUrl>

#include <csignal>
#include <memory>

#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <map>

using namespace tpworm;
using namespace tpworm::testing;
using automation::Error;

namespace {

// ---- Cell maps ---------------------------------------------------------------

class NullSink final : public calc::ResultSink {
public:
    void caption(int, const QString&) override {}
    void warning(int, bool) override {}
};

// The worked example (a = 250, z2 = 45, z1 = 2, db = 160, d1 = 90, j = 0.3):
// its shown results are known digit for digit.
DesignRecord workedExample()
{
    calc::GeometryTexts t;
    t.centreDistance = "250";
    t.ratio = "22.5";
    t.wheelTeeth = "45";
    t.wormStarts = "2";
    t.mainBaseDiameter = "160";
    t.tipEccentricity = "2";
    t.wormReferenceDiameter = "90";
    t.backlash = "0.3";
    t.grindingIncrement = "0.5";
    const std::array<double, 16> N = {0.875, 1.2, 1, 0.5, 0, 0.55, 2, 0, 0.15, 0.5, 0.5, 1, 0.5, 1, 0.9, 9};
    DesignRecord record;
    NullSink sink;
    EXPECT_EQ(calc::calculateGeometry(t, N, record, sink), calc::GeometryOutcome::Completed);
    record.GradeTolerance3 = "0.020";
    record.GradeTolerance8 = "0.045";
    record.GradeTolerance11 = "0.060";
    return record;
}

documents::FieldTexts exampleFields()
{
    documents::FieldTexts f;
    f.edits = {"250", "22.5", "45", "2", "160", "2", "90", "0.3", "7级 GB/T16445-1996", "左旋", "2.5 * 30",
               "1.5 * 20", "0.5"};
    return f;
}

using CellMap = std::map<QString, QString>;

CellMap byName(const QList<documents::AutomationCell>& cells)
{
    CellMap map;
    for (const documents::AutomationCell& c : cells)
        map[tpworm::CellAddress{c.column - 1, c.row - 1}.name()] = c.text;
    return map;
}

QStringList order(const QList<documents::AutomationCell>& cells)
{
    QStringList names;
    for (const documents::AutomationCell& c : cells)
        names << tpworm::CellAddress{c.column - 1, c.row - 1}.name();
    return names;
}

// The menu export writes what the tool bar writes, value under its caption:
// the worked example's values at the rows the templates name them.
TEST(MenuCellMaps, WormTableHoldsEachValueUnderItsCaption)
{
    const auto cells = documents::automationCells(documents::ParameterTable::Worm, workedExample(), exampleFields());
    const CellMap expected = {
        {"C2", "2"},       {"C3", "45"},      {"C4", "9.111"},   {"C5", "4.5"},
        {"C6", "13.758"},  {"C7", "16"},      {"C8", "11.446"},  {"C9", "22.97"},
        {"B10", "左旋"},   {"B11", "7级 GB/T16445-1996"},         {"C12", "12.33"},
        {"D13", "-0.045"}, {"C14", "9.014"},  {"C15", "2.5 * 30"}, {"C16", "1.5 * 20"},
        {"C17", "0.020"},  {"C18", ""},       {"C20", "0.5"},    {"C21", "252.278"},
        {"C22", "22.75"},  {"C23", "161.778"}, {"C24", "13.804"},
    };
    EXPECT_EQ(byName(cells), expected);
    EXPECT_EQ(order(cells), (QStringList{"C2", "C3", "C4", "C5", "C6", "C7", "C8", "C9", "B10", "B11", "C12", "D13",
                                         "C14", "C15", "C16", "C17", "C18", "C20", "C21", "C22", "C23", "C24"}));
}

TEST(MenuCellMaps, WheelTablePutsTheCentreDistanceAndTolerancesUnderTheirCaptions)
{
    const auto cells = documents::automationCells(documents::ParameterTable::Wheel, workedExample(), exampleFields());
    const CellMap expected = {
        {"C2", "2"},      {"C3", "45"},     {"C4", "9.111"},  {"C5", "11.446"}, {"C6", "22.97"},
        {"C7", "16"},     {"C8", "6.97"},   {"C9", "13.758"}, {"B10", "左旋"},  {"C11", "4.5"},
        {"C12", "0.3"},   {"C13", "9.262"}, {"C14", "15.43"}, {"D15", "-0.060"}, {"C16", "250"},
        {"C17", ""},      {"C18", ""},
    };
    EXPECT_EQ(byName(cells), expected);
}

TEST(MenuCellMaps, HobTableHoldsTheThicknessAndHeightUnderTheirCaptions)
{
    const auto cells = documents::automationCells(documents::ParameterTable::Hob, workedExample(), exampleFields());
    const CellMap expected = {
        {"C2", "2"},   {"C3", "45"},   {"C4", "9.111"},   {"C5", "5"},      {"C6", "13.758"}, {"C7", "16"},
        {"C8", "11.446"}, {"C9", "22.97"}, {"B10", "左旋"}, {"C11", "12.63"}, {"D11", "+0.060"},
        {"C13", "12.203"},
    };
    EXPECT_EQ(byName(cells), expected);
}

// One map for both exports: the menu's cells are the tool bar's, shifted to
// the server's 1-based addressing, in the same order.
TEST(MenuCellMaps, AreTheToolBarMapInTheServersAddressing)
{
    const DesignRecord d = workedExample();
    for (auto table : {documents::ParameterTable::Worm, documents::ParameterTable::Wheel, documents::ParameterTable::Hob}) {
        const QList<documents::CellText> toolBar = documents::tableCells(table, d, exampleFields());
        const QList<documents::AutomationCell> menu = documents::automationCells(table, d, exampleFields());
        ASSERT_EQ(menu.size(), toolBar.size());
        for (qsizetype i = 0; i < menu.size(); ++i)
            EXPECT_EQ(menu[i], (documents::AutomationCell{toolBar[i].row + 1, toolBar[i].column + 1, toolBar[i].text}));
    }
}

TEST(MenuCellMaps, CellNamesReadAsRowAndColumn)
{
    EXPECT_EQ(documents::cellAt("C2", "x"), (documents::AutomationCell{2, 3, "x"}));
    EXPECT_EQ(documents::cellAt("B10", ""), (documents::AutomationCell{10, 2, ""}));
    EXPECT_EQ(documents::cellAt("AA1", ""), (documents::AutomationCell{1, 27, ""}));
    // One A1 type for every cell name of the program: letters in either case,
    // within the sheet's columns A ... IV and rows 1 ... 65536.
    EXPECT_EQ(documents::cellAt("c2", "x"), (documents::AutomationCell{2, 3, "x"}));
    EXPECT_EQ(documents::cellAt("IV65536", ""), (documents::AutomationCell{65536, 256, ""}));
    for (const char* bad : {"", "C", "2", "C0", "C02", "C2x", "IW1", "A65537"})
        EXPECT_THROW(documents::cellAt(bad, ""), std::invalid_argument) << bad;
}

// ---- Registry and variants -------------------------------------------------------

class RecordingObject final : public automation::Object {
public:
    void put(const QString& name, const automation::Arguments&, const automation::Variant&) override
    {
        log << "put " + name;
    }
    automation::Variant get(const QString& name, const automation::Arguments&) override
    {
        throw unknownMember("Recording", name);
    }
    automation::Variant call(const QString& name, const automation::Arguments&) override
    {
        log << "call " + name;
        return {};
    }
    QStringList log;
};

TEST(AutomationRegistry, CreatesByIdentifierWithoutRegardToCase)
{
    automation::Registry registry;
    int created = 0;
    registry.add("Excel.Application", [&] {
        ++created;
        return std::make_shared<RecordingObject>();
    });
    EXPECT_TRUE(registry.has("excel.application"));
    const auto first = registry.create("EXCEL.APPLICATION");
    const auto second = registry.create("Excel.Application");
    EXPECT_NE(first, second) << "every creation is a new server instance";
    EXPECT_EQ(created, 2);
}

TEST(AutomationRegistry, FailuresToCreateAreErrorsOfTheLayer)
{
    automation::Registry registry;
    registry.add("Broken.Application", []() -> std::shared_ptr<automation::Object> {
        throw Error("the server refused to start");
    });
    registry.add("Empty.Application", [] { return std::shared_ptr<automation::Object>(); });
    EXPECT_THROW(registry.create("Excel.Application"), Error);
    EXPECT_THROW(registry.create("Broken.Application"), Error);
    EXPECT_THROW(registry.create("Empty.Application"), Error);
}

TEST(AutomationVariant, ConversionsRefuseOtherKinds)
{
    const automation::Variant text("12");
    const automation::Variant whole(12);
    const automation::Variant flag(true);
    const automation::Variant none;
    EXPECT_EQ(text.toText("v"), "12");
    EXPECT_EQ(whole.toInt("v"), 12);
    EXPECT_TRUE(flag.toBool("v"));
    EXPECT_TRUE(whole.toBool("v"));
    EXPECT_TRUE(none.isEmpty());
    EXPECT_THROW(text.toInt("v"), Error);
    EXPECT_THROW(whole.toText("v"), Error);
    EXPECT_THROW(text.toBool("v"), Error);
    EXPECT_THROW(none.toObject("v"), Error);
    EXPECT_THROW(automation::Variant(std::shared_ptr<automation::Object>()).toObject("v"), Error);
}

// ---- The stored workbook's check ----------------------------------------------------

void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes);
}

// What the server stored is put in the target's place only when it is a
// workbook: an xlwt workbook passes, and each way of not being one is named.
TEST(StoredWorkbookCheck, PassesAWorkbookAndNamesWhatIsWrongWithAnythingElse)
{
    Scratch scratch;
    const QString good = scratch.path("good.xls");
    makeTemplate(good);
    EXPECT_EQ(automation::workbookFileProblem(good), QString());
    const QByteArray bytes = contentOf(good);
    ASSERT_GT(bytes.size(), 4096);

    const QByteArray name = QByteArray("W\0o\0r\0k\0b\0o\0o\0k\0", 16);
    ASSERT_GE(bytes.indexOf(name), 0);
    QByteArray renamed = bytes;
    renamed[renamed.indexOf(name) + 14] = 'x'; // "Workboox": no workbook stream
    // xlwt's workbook stream is long enough to begin in the first sector.
    ASSERT_EQ(bytes.mid(512, 2), QByteArray("\x09\x08", 2));
    QByteArray noBof = bytes;
    noBof[512] = 0x0A;
    QByteArray badSectors = bytes;
    badSectors[0x1E] = 7;

    struct Case {
        const char* what;
        QByteArray content;
        const char* says;
    };
    for (const Case& c : {Case{"empty", {}, "is empty"},
                          Case{"a text file", "not a workbook at all\n", "not an OLE2 compound file"},
                          Case{"cut after the header", bytes.left(512), "sector table"},
                          Case{"cut in the middle", bytes.left(bytes.size() / 2), "damaged"},
                          Case{"no workbook stream", renamed, "no workbook stream"},
                          Case{"no BOF record", noBof, "BOF"},
                          Case{"a wrong sector size", badSectors, "sector size"}}) {
        SCOPED_TRACE(c.what);
        const QString path = scratch.path("bad.xls");
        writeFile(path, c.content);
        const QString problem = automation::workbookFileProblem(path);
        EXPECT_TRUE(problem.contains(QLatin1String(c.says))) << problem.toStdString();
    }
    EXPECT_FALSE(automation::workbookFileProblem(scratch.path("missing.xls")).isEmpty());
    EXPECT_FALSE(automation::workbookFileProblem(scratch.dir.path()).isEmpty()) << "a folder";
}

// ---- The LibreOffice backend -------------------------------------------------------

class LibreOfficeBackend : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!automation::hasLibreOfficeBackend())
            GTEST_SKIP() << "built without the LibreOffice backend";
        templatePath = scratch.path("template.xls");
        makeTemplate(templatePath);
    }
    void TearDown() override
    {
        EXPECT_EQ(scratch.serversAfter(2000), QStringList()) << "a spreadsheet process was left behind";
        EXPECT_EQ(scratch.leftovers(), QStringList()) << "temporary files were left behind";
        EXPECT_EQ(scratch.pipesOf(QCoreApplication::applicationPid()), QStringList()) << "pipes were left in /tmp";
    }
    std::shared_ptr<automation::Object> start()
    {
        return automation::platformRegistry().create("Excel.Application");
    }
    // Temporary files of refused or failed saves beside the targets, and
    // lock files beside the template (a killed server would leave them).
    QStringList besideTargets() const
    {
        QStringList hidden;
        for (const QString& name : QDir(scratch.dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::System |
                                                                        QDir::NoDotAndDotDot))
            if (name.startsWith(QLatin1Char('.')))
                hidden << name;
        return hidden;
    }

    Scratch scratch;
    QString templatePath;
};

TEST_F(LibreOfficeBackend, WritesTextCellsSavesUnderTheNameAsGivenAndKeepsTheServerForTheRun)
{
    const QString target = scratch.path("table"); // no extension
    {
        auto app = start();
        ASSERT_EQ(scratch.servers().size(), 1);
        const qint64 pid = scratch.serverPids().at(0);
        EXPECT_EQ(parentOf(pid), QCoreApplication::applicationPid()) << "the server is a child of ours";
        app->put("Visible", false);
        app->object("WorkBooks")->call("Open", {templatePath});
        const std::map<std::pair<int, int>, QString> values = {
            {{2, 3}, "12.5"}, {{3, 3}, "045"}, {{10, 2}, "右"}, {{14, 3}, "2.5 * 30"}, {{16, 3}, ""},
            {{4, 3}, "1E15"}};
        for (const auto& [at, text] : values)
            app->object("cells", {at.first, at.second})->put("value", text);
        app->object("ActiveWorkBook")->call("Saveas", {target});
        app->object("ActiveWorkBook")->put("Saved", true);
        app->object("WorkBooks")->call("Close");
        app->call("Quit");
        EXPECT_EQ(scratch.serverPids(), QList<qint64>{pid}) << "Quit closes the workbooks, not the server";
        EXPECT_THROW(app->object("WorkBooks")->call("Open", {templatePath}), Error) << "the object that quit is done";

        // The next creation of the run is served by the same server, with
        // nothing of the last export open in it.
        auto next = start();
        EXPECT_THROW(next->object("ActiveWorkBook"), Error);
        next->object("WorkBooks")->call("Open", {templatePath});
        next->call("Quit");
        EXPECT_EQ(scratch.serverPids(), QList<qint64>{pid});
    }
    EXPECT_EQ(scratch.servers(), QStringList()) << "the last object released ends the server at once";
    ASSERT_TRUE(QFileInfo::exists(target));
    EXPECT_FALSE(QFileInfo::exists(target + ".xls"));
    EXPECT_EQ(besideTargets(), QStringList());
    ASSERT_EQ(scratch.homes().size(), 1);
    EXPECT_TRUE(QFileInfo(scratch.homes().at(0) + "/profile/user").isDir()) << "the profile stays for the next run";

    const Sheet before = readSheet(templatePath);
    Sheet expected = before;
    expected["C2"] = {"text", "12.5"};
    expected["C3"] = {"text", "045"};
    expected["B10"] = {"text", "右"};
    expected["C14"] = {"text", "2.5 * 30"};
    expected.erase("C16");
    expected["C4"] = {"text", "1E15"};
    const Sheet written = readSheet(target);
    EXPECT_EQ(written, expected);
    for (const auto& [cell, value] : expected)
        EXPECT_EQ(written.count(cell) ? written.at(cell) : (std::pair<QString, QString>{}), value) << cell.toStdString();
    for (const auto& [cell, value] : written)
        EXPECT_EQ(expected.count(cell), 1u) << "unexpected " << cell.toStdString();
    EXPECT_EQ(before.at("E26"), (std::pair<QString, QString>{"number", "3.5"}));
}

TEST_F(LibreOfficeBackend, RefusedCallsLeaveTheFilesAsTheyWereAndReleaseEndsTheServer)
{
    const QString protectedTarget = scratch.path("protected.xls");
    writeFile(protectedTarget, "earlier table");
    QFile::setPermissions(protectedTarget, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther); // 0444
    QDir().mkpath(scratch.path("folder.xls"));
    const QString fifo = scratch.path("fifo.xls");
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0644), 0);

    auto app = start();
    EXPECT_THROW(app->object("WorkBooks")->call("Open", {scratch.path("missing.xls")}), Error);
    EXPECT_THROW(app->object("ActiveWorkBook"), Error) << "nothing was opened";
    EXPECT_THROW(app->object("Cells", {2, 3}), Error);
    app->object("WorkBooks")->call("Open", {templatePath});
    app->object("Cells", {2, 3})->put("Value", QString("x"));
    struct Case {
        const char* what;
        QString name;
    };
    for (const Case& c : {Case{"write-protected file (0444, also for root)", protectedTarget},
                          Case{"missing folder", scratch.path("no/such/folder/t.xls")},
                          Case{"a folder", scratch.path("folder.xls")},
                          Case{"a FIFO", fifo}})
        EXPECT_THROW(app->object("ActiveWorkBook")->call("Saveas", {c.name}), Error) << c.what;
    EXPECT_EQ(contentOf(protectedTarget), "earlier table");
    struct stat st {};
    ASSERT_EQ(::stat(QFile::encodeName(protectedTarget).constData(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0444u) << "still read-only";
    ASSERT_EQ(::lstat(QFile::encodeName(fifo).constData(), &st), 0);
    EXPECT_TRUE(S_ISFIFO(st.st_mode)) << "the FIFO is not replaced";
    EXPECT_EQ(besideTargets(), QStringList()) << "a refused save leaves no temporary file";

    // Members beyond those the exports use are not offered.
    EXPECT_THROW(app->get("Version"), Error);
    EXPECT_THROW(app->object("WorkBooks")->call("Add"), Error);
    EXPECT_THROW(app->object("Cells", {2, 3})->put("Formula", QString("=1")), Error);
    EXPECT_THROW(app->object("Cells", {QString("2"), 3}), Error);

    EXPECT_EQ(scratch.servers().size(), 1);
    app.reset(); // as after a failure that never reached Quit
    EXPECT_EQ(scratch.servers(), QStringList());
}

// The workbook replaces the file it is saved over as core/safe_file.h
// replaces files: the mode and the owner stay, and a link stays a link to the
// file that is replaced.
TEST_F(LibreOfficeBackend, ASavedWorkbookKeepsTheModeAndOwnerOfTheFileItReplaces)
{
    const QString target = scratch.path("kept.xls");
    const QString link = scratch.path("link.xls");
    writeFile(target, "earlier table");
    ASSERT_EQ(::chmod(QFile::encodeName(target).constData(), 0640), 0);
    const bool root = ::geteuid() == 0;
    if (root)
        ASSERT_EQ(::chown(QFile::encodeName(target).constData(), 4242, 4343), 0);
    ASSERT_TRUE(QFile::link(target, link));

    auto app = start();
    app->object("WorkBooks")->call("Open", {templatePath});
    app->object("Cells", {2, 3})->put("Value", QString("first"));
    app->object("ActiveWorkBook")->call("Saveas", {target});
    app->object("Cells", {2, 3})->put("Value", QString("through the link"));
    app->object("ActiveWorkBook")->call("Saveas", {link});
    app->object("ActiveWorkBook")->put("Saved", true);
    app->call("Quit");
    app.reset();

    struct stat st {};
    ASSERT_EQ(::stat(QFile::encodeName(target).constData(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
    if (root) {
        EXPECT_EQ(st.st_uid, 4242u);
        EXPECT_EQ(st.st_gid, 4343u);
    }
    EXPECT_TRUE(QFileInfo(link).isSymLink());
    EXPECT_EQ(readSheet(target).at("C2"), (std::pair<QString, QString>{"text", "through the link"}));
    EXPECT_EQ(besideTargets(), QStringList());
}

// A workbook an export closed is kept loaded for the next opening of its
// file, with what the export wrote undone, however it was written (a column
// of cells at once, a text of two lines on its own, an emptied cell); a file
// changed since is loaded anew; the object of a closed workbook stays closed.
TEST_F(LibreOfficeBackend, EveryOpeningOfAWorkbookFindsItsFileAsItIsThen)
{
    const Sheet original = readSheet(templatePath);
    const QString first = scratch.path("first.xls");
    const QString second = scratch.path("second.xls");
    const QString third = scratch.path("third.xls");
    auto app = start();
    const std::shared_ptr<automation::Object> opened =
        app->object("WorkBooks")->call("Open", {templatePath}).toObject("the opened workbook");
    struct Write {
        int row, column;
        QString text;
    };
    for (const Write& w : {Write{2, 3, "first"}, Write{3, 3, "045"}, Write{4, 3, "1E15"}, Write{16, 3, ""},
                           Write{10, 2, "two\nlines"}, Write{13, 4, "-0.11"}, Write{2, 3, "last wins"}})
        app->object("Cells", {w.row, w.column})->put("Value", w.text);
    app->object("ActiveWorkBook")->call("SaveAs", {first});
    app->object("ActiveWorkBook")->put("Saved", true);
    app->object("WorkBooks")->call("Close");
    EXPECT_THROW(opened->call("SaveAs", {scratch.path("stale.xls")}), Error) << "the workbook was closed";
    EXPECT_THROW(opened->put("Saved", true), Error);

    app->object("WorkBooks")->call("Open", {templatePath});
    app->object("Cells", {5, 3})->put("Value", QString("second"));
    app->object("ActiveWorkBook")->call("SaveAs", {second});
    app->object("WorkBooks")->call("Close");

    // The template is replaced by the first table: the next opening reads it.
    ASSERT_TRUE(QFile::remove(templatePath));
    ASSERT_TRUE(QFile::copy(first, templatePath));
    app->object("WorkBooks")->call("Open", {templatePath});
    app->object("Cells", {6, 3})->put("Value", 2.5);
    app->object("ActiveWorkBook")->call("SaveAs", {third});
    app->call("Quit");
    app.reset();

    Sheet expected = original;
    expected["C2"] = {"text", "last wins"};
    expected["C3"] = {"text", "045"};
    expected["C4"] = {"text", "1E15"};
    expected.erase("C16");
    expected["B10"] = {"text", "two\nlines"};
    expected["D13"] = {"text", "-0.11"};
    EXPECT_EQ(readSheet(first), expected);
    Sheet afterUndo = original;
    afterUndo["C5"] = {"text", "second"};
    EXPECT_EQ(readSheet(second), afterUndo) << "the first export's cells were not undone";
    expected["C6"] = {"number", "2.5"};
    EXPECT_EQ(readSheet(third), expected) << "the changed template was not loaded anew";
    EXPECT_FALSE(QFileInfo::exists(scratch.path("stale.xls")));
}

// A server killed from outside: the save that meets it fails and leaves the
// earlier file as it was, and the next creation starts a new server.
TEST_F(LibreOfficeBackend, AFailedStoreKeepsTheEarlierFileAndAKilledServerIsReplaced)
{
    const QString target = scratch.path("table.xls");
    writeFile(target, "earlier table");
    auto app = start();
    app->object("WorkBooks")->call("Open", {templatePath});
    app->object("Cells", {2, 3})->put("Value", QString("x"));
    ASSERT_EQ(scratch.servers().size(), 1);
    const qint64 killed = scratch.serverPids().at(0);
    ASSERT_EQ(::kill(static_cast<pid_t>(killed), SIGKILL), 0);
    EXPECT_EQ(scratch.serversAfter(2000), QStringList());

    EXPECT_THROW(app->object("ActiveWorkBook")->call("Saveas", {target}), Error);
    EXPECT_EQ(contentOf(target), "earlier table");
    EXPECT_EQ(besideTargets(), QStringList()) << "the failed store's temporary file is removed";

    auto next = start();
    ASSERT_EQ(scratch.servers().size(), 1);
    EXPECT_NE(scratch.serverPids().at(0), killed);
    next->object("WorkBooks")->call("Open", {templatePath});
    next->object("Cells", {2, 3})->put("Value", QString("y"));
    next->object("ActiveWorkBook")->call("Saveas", {target});
    next->call("Quit");
    app.reset();
    next.reset();
    EXPECT_EQ(readSheet(target).at("C2"), (std::pair<QString, QString>{"text", "y"}));
}

// A run killed in a way its server did not notice leaves the server's
// record in the home: the next start ends that server, and only that one.
TEST_F(LibreOfficeBackend, AServerLeftByAKilledRunIsEndedByTheNextStart)
{
    start().reset(); // makes the home and its profile
    ASSERT_EQ(scratch.homes().size(), 1);
    const QString home = scratch.homes().at(0);
    const QString profileUrl = QUrl::fromLocalFile(home + "/profile").toString(QUrl::FullyEncoded);

    // A process with the profile on its command line, as a left server has.
    QProcess left;
    left.start("/bin/sh", {"-c", "sleep 600", "-env:UserInstallation=" + profileUrl});
    ASSERT_TRUE(left.waitForStarted());
    QProcess stranger;
    stranger.start("/bin/sleep", {"600"});
    ASSERT_TRUE(stranger.waitForStarted());
    QDir().mkpath(home + "/tmp/lu4242abcd.tmp");
    writeFile(home + "/server", QStringLiteral("%1 tpworm-left\n").arg(left.processId()).toUtf8());

    auto app = start();
    EXPECT_TRUE(left.waitForFinished(5000)) << "the left server was not ended";
    EXPECT_EQ(left.exitStatus(), QProcess::CrashExit);
    EXPECT_FALSE(QFileInfo::exists(home + "/tmp/lu4242abcd.tmp")) << "what it left in its TMPDIR goes";
    EXPECT_EQ(scratch.servers().size(), 1);
    app.reset();

    // A number in the record that now belongs to another process is left alone.
    writeFile(home + "/server", QStringLiteral("%1 tpworm-left\n").arg(stranger.processId()).toUtf8());
    app = start();
    app.reset();
    EXPECT_FALSE(stranger.waitForFinished(300)) << "a process that is no server of ours was killed";
    stranger.kill();
    stranger.waitForFinished();
}

TEST(LibreOfficeHidden, CreationFailsAtOnceAndStartsNothing)
{
    Scratch scratch;
    ScopedEnv hidden("TPWORM_SOFFICE", "/nonexistent/program/soffice.bin");
    EXPECT_THROW(automation::platformRegistry().create("Excel.Application"), Error);
    EXPECT_EQ(automation::platformRegistry().startEarly("Excel.Application"), nullptr);
    EXPECT_EQ(scratch.servers(), QStringList());
    EXPECT_EQ(scratch.leftovers(), QStringList());
}

// An installation whose soffice.bin never answers: every other file is the
// real installation's (the UNO runtime of this process needs them), the
// program records its starts and ends at once.
class FailingInstallation : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!automation::hasLibreOfficeBackend())
            GTEST_SKIP() << "built without the LibreOffice backend";
        starts = scratch.path("starts");
        const QString fake = makeFakeInstallation(
            scratch.path("program"),
            QStringLiteral("[ \"$1\" = --version ] && exit 0\necho \"$*\" >> '%1'\nexit 3\n").arg(starts));
        program = std::make_unique<ScopedEnv>("TPWORM_SOFFICE", fake);
    }
    int startCount() const { return QString::fromUtf8(contentOf(starts)).count(QLatin1Char('\n')); }

    Scratch scratch;
    QString starts;
    std::unique_ptr<ScopedEnv> program;
};

// A kept profile that the server will not start with is set up anew once;
// a new profile is not tried twice. Either way the creation then fails.
TEST_F(FailingInstallation, AKeptProfileIsMadeAnewOnceThenTheCreationFails)
{
    EXPECT_THROW(automation::platformRegistry().create("Excel.Application"), Error);
    EXPECT_EQ(startCount(), 1) << "no profile was kept: nothing to make anew";

    ASSERT_EQ(scratch.homes().size(), 1);
    const QString profile = scratch.homes().at(0) + "/profile";
    QDir().mkpath(profile + "/user");
    writeFile(profile + "/user/damaged", "damaged");
    EXPECT_THROW(automation::platformRegistry().create("Excel.Application"), Error);
    EXPECT_EQ(startCount(), 3) << "the kept profile, then a new one";
    EXPECT_FALSE(QFileInfo::exists(profile + "/user/damaged")) << "the damaged profile was removed";
    EXPECT_EQ(scratch.leftovers(), QStringList());
}

} // namespace
