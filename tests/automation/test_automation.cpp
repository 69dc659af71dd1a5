// The menu tables' cell maps, the automation layer's registry and variants, and
// the LibreOffice backend driven directly.
#include "calc/geometry.h"
#include "core/cell_address.h"
#include "documents/automation.h"
#include "documents/automation_cells.h"
#include "lo_support.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>

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
        EXPECT_EQ(scratch.servers(), QStringList()) << "a spreadsheet process was left behind";
        EXPECT_EQ(scratch.leftovers(), QStringList()) << "a server profile was left behind";
    }
    std::shared_ptr<automation::Object> start()
    {
        return automation::platformRegistry().create("Excel.Application");
    }

    Scratch scratch;
    QString templatePath;
};

TEST_F(LibreOfficeBackend, WritesTextCellsSavesUnderTheNameAsGivenAndEnds)
{
    const QString target = scratch.path("table"); // no extension
    {
        auto app = start();
        EXPECT_EQ(scratch.servers().size(), 1);
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
        EXPECT_EQ(scratch.servers(), QStringList()) << "Quit returns once the server has ended";
        EXPECT_THROW(app->object("WorkBooks")->call("Open", {templatePath}), Error);
    }
    ASSERT_TRUE(QFileInfo::exists(target));
    EXPECT_FALSE(QFileInfo::exists(target + ".xls"));
    EXPECT_EQ(QDir(scratch.dir.path()).entryList({".*tmp"}, QDir::Files | QDir::Hidden), QStringList());

    const Sheet before = readSheet(templatePath);
    Sheet expected = before;
    expected["C2"] = {"text", "12.5"};
    expected["C3"] = {"text", "045"};
    expected["B10"] = {"text", "右"};
    expected["C14"] = {"text", "2.5 * 30"};
    expected.erase("C16");
    expected["C4"] = {"text", "1E15"};
    EXPECT_EQ(readSheet(target), expected);
    EXPECT_EQ(before.at("E26"), (std::pair<QString, QString>{"number", "3.5"}));
}

TEST_F(LibreOfficeBackend, RefusedCallsLeaveTheFilesAsTheyWereAndReleaseEndsTheServer)
{
    const QString protectedTarget = scratch.path("protected.xls");
    {
        QFile file(protectedTarget);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("earlier table");
    }
    QFile::setPermissions(protectedTarget, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);
    QDir().mkpath(scratch.path("folder.xls"));

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
    for (const Case& c : {Case{"write-protected file", protectedTarget},
                          Case{"missing folder", scratch.path("no/such/folder/t.xls")},
                          Case{"a folder", scratch.path("folder.xls")}})
        EXPECT_THROW(app->object("ActiveWorkBook")->call("Saveas", {c.name}), Error) << c.what;
    QFile file(protectedTarget);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), "earlier table");

    // Members beyond those the exports use are not offered.
    EXPECT_THROW(app->get("Version"), Error);
    EXPECT_THROW(app->object("WorkBooks")->call("Add"), Error);
    EXPECT_THROW(app->object("Cells", {2, 3})->put("Formula", QString("=1")), Error);
    EXPECT_THROW(app->object("Cells", {QString("2"), 3}), Error);

    EXPECT_EQ(scratch.servers().size(), 1);
    app.reset(); // as after a failure that never reached Quit
    EXPECT_EQ(scratch.servers(), QStringList());
}

TEST(LibreOfficeHidden, CreationFailsAtOnceAndStartsNothing)
{
    Scratch scratch;
    ScopedEnv hidden("TPWORM_SOFFICE", "/nonexistent/program/soffice.bin");
    EXPECT_THROW(automation::platformRegistry().create("Excel.Application"), Error);
    EXPECT_EQ(scratch.servers(), QStringList());
    EXPECT_EQ(scratch.leftovers(), QStringList());
}

} // namespace
