#include "calc/geometry.h"

#include "core/numeric.h"

#include <gtest/gtest.h>

#include <map>

using namespace tpworm;
using calc::GeometryOutcome;

namespace {

class RecordingSink final : public calc::ResultSink {
public:
    void caption(int label, const QString& text) override { captions[label] = text; order.push_back(label); }
    void warning(int label, bool warn) override { warnings[label] = warn; }
    // The value part of a caption, before its suffix.
    QString value(int label) const
    {
        const QString text = captions.at(label);
        return text.left(text.size() - calc::resultSuffix(label).size());
    }
    std::map<int, QString> captions;
    std::map<int, bool> warnings;
    std::vector<int> order;
};

// The coefficients of the worked example.
const std::array<double, 16> kExampleN = {0.875, 1.2, 1, 0.5, 0, 0.55, 2, 0, 0.15, 0.5, 0.5, 1, 0.5, 1, 0.9, 9};

calc::GeometryTexts exampleTexts()
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
    return t;
}

struct Outcome {
    GeometryOutcome outcome;
    DesignRecord record;
    RecordingSink sink;
};

Outcome run(const calc::GeometryTexts& t, const std::array<double, 16>& N = kExampleN)
{
    Outcome r;
    r.outcome = calc::calculateGeometry(t, N, r.record, r.sink);
    return r;
}

TEST(Geometry, WorkedExampleCaptionForCaption)
{
    const Outcome r = run(exampleTexts());
    ASSERT_EQ(r.outcome, GeometryOutcome::Completed);
    const std::map<int, QString> expected = {
        {24, "2"}, {23, "410"}, {8, "215.933"}, {9, "197.889"}, {10, "114"}, {11, "18"}, {12, "160"},
        {14, "22.97"}, {13, "13.758"}, {16, "12.33"}, {17, "9.014"}, {25, "9.111"}, {26, "4.5"},
        {27, "16"}, {28, "11.446"}, {53, "68.13"}, {48, "124.996"}, {43, "4.28"},
        {18, "194.7"}, {19, "216.433"}, {20, "127"}, {21, "12.63"}, {22, "12.203"}, {29, "5"}, {49, "1.62"},
        {33, "437"}, {44, "15.43"}, {45, "9.262"}, {34, "81"}, {35, "428.222"}, {40, "42"},
        {41, "13.804"}, {42, "22.75"}, {51, "252.278"}, {52, "161.778"},
    };
    EXPECT_EQ(r.sink.captions.size(), expected.size());
    for (const auto& [label, value] : expected)
        EXPECT_EQ(r.sink.value(label), value) << "Label" << label;
    EXPECT_EQ(r.sink.captions.at(8), "215.933-----蜗杆齿根圆弧半径");
    EXPECT_EQ(r.sink.captions.at(26), "4.5-----包围齿数");
    EXPECT_EQ(r.sink.captions.at(14), "22.97----分度圆齿形角");
    EXPECT_EQ(r.sink.captions.at(44), "15.43------蜗轮法向弦齿厚");
    for (int label : {14, 28, 53})
        EXPECT_FALSE(r.sink.warnings.at(label)) << "Label" << label;

    // RoundTo multiplies back by the double nearest 0.001, so a stored result
    // need not be the double nearest its decimal: compare as displayed.
    const DesignRecord& d = r.record;
    EXPECT_EQ(d.RatioClassAngle, 6);
    const std::pair<double, const char*> fields[] = {
        {d.Dedendum, "10.933"}, {d.WormThroatRootDiameter, "68.134"}, {d.Addendum, "9.111"},
        {d.WormThroatTipDiameter, "108.222"}, {d.AngularPitch, "8"}, {d.CircularPitch, "28.623"},
        {d.WormToothThickness, "12.58"}, {d.HobHalfAngle, "18"}, {d.HobToothThickness, "12.886"},
        {d.WheelToothThickness, "15.743"}, {d.ModifiedRatio, "22.75"}, {d.ThroatLeadAngle, "11.446"},
    };
    for (const auto& [value, text] : fields)
        EXPECT_EQ(FloatToStr(value), text);
    EXPECT_EQ(d.GeneratingPlaneTiltText, "13.758");
}

TEST(Geometry, WorkedExampleWithWholeTeeth)
{
    calc::GeometryTexts t = exampleTexts();
    t.wholeTeeth = true;
    const Outcome r = run(t);
    ASSERT_EQ(r.outcome, GeometryOutcome::Completed);
    EXPECT_EQ(r.sink.value(26), "4");
    EXPECT_EQ(r.sink.value(27), "14");
    EXPECT_EQ(r.sink.value(10), "100");
    EXPECT_EQ(r.sink.value(48), "121.064");
    EXPECT_EQ(r.sink.value(29), "5") << "the hob count starts from the whole part of K either way";
    EXPECT_EQ(r.sink.value(20), "127");
    EXPECT_EQ(r.sink.value(40), "40");
}

TEST(Geometry, LabelsAreWrittenInStepOrder)
{
    const Outcome r = run(exampleTexts());
    const std::vector<int> expected = {24, 23, 8, 9, 10, 11, 12, 14, 13, 16, 17, 25, 26, 27, 28, 53,
                                       18, 19, 20, 21, 22, 29, 44, 45, 33, 34, 35, 48, 40, 43, 49, 41, 42, 51, 52};
    EXPECT_EQ(r.sink.order, expected);
}

struct ClassCase { const char* teeth; const char* starts; const char* ratio; int delta; };

TEST(Geometry, RatioClassAngle)
{
    const ClassCase cases[] = {
        {"40", "4", "10", 6}, {"19", "2", "9.5", 4}, {"31", "1", "31", 8}, {"61", "2", "30.5", 6},
        {"3099", "100", "30.99", 6}, {"45", "2", "22.5", 6},
    };
    for (const auto& c : cases) {
        calc::GeometryTexts t = exampleTexts();
        t.wheelTeeth = c.teeth;
        t.wormStarts = c.starts;
        t.ratio = c.ratio;
        DesignRecord d;
        RecordingSink sink;
        calc::calculateGeometry(t, kExampleN, d, sink);
        EXPECT_EQ(d.RatioClassAngle, c.delta) << c.ratio;
    }
}

struct OutcomeCase { const char* why; void (*change)(calc::GeometryTexts&); GeometryOutcome outcome; };

TEST(Geometry, FailureRows)
{
    const OutcomeCase cases[] = {
        {"ratio within 0.001 passes", [](calc::GeometryTexts& t) { t.wheelTeeth = "40"; t.wormStarts = "1"; t.ratio = "40.001"; t.mainBaseDiameter = "150"; }, GeometryOutcome::Completed},
        {"ratio off by more than 0.001", [](calc::GeometryTexts& t) { t.wheelTeeth = "40"; t.wormStarts = "1"; t.ratio = "40.0011"; }, GeometryOutcome::RatioMismatch},
        {"wrong ratio is reported before invalid recommended fields", [](calc::GeometryTexts& t) { t.ratio = "20"; t.mainBaseDiameter = "x"; }, GeometryOutcome::RatioMismatch},
        {"empty ratio", [](calc::GeometryTexts& t) { t.ratio = ""; }, GeometryOutcome::Fault},
        {"teeth not an integer", [](calc::GeometryTexts& t) { t.wheelTeeth = "45.0"; }, GeometryOutcome::Fault},
        {"zero starts divides by zero", [](calc::GeometryTexts& t) { t.wormStarts = "0"; }, GeometryOutcome::Fault},
        {"zero teeth with zero ratio", [](calc::GeometryTexts& t) { t.wheelTeeth = "0"; t.ratio = "0"; }, GeometryOutcome::Fault},
        {"negative counts give no drive", [](calc::GeometryTexts& t) { t.wheelTeeth = "-45"; t.ratio = "-22.5"; }, GeometryOutcome::Fault},
        {"empty main base circle", [](calc::GeometryTexts& t) { t.mainBaseDiameter = ""; }, GeometryOutcome::Fault},
        {"backlash not a number", [](calc::GeometryTexts& t) { t.backlash = "0.3a"; }, GeometryOutcome::Fault},
        {"main base circle above the reference diameter", [](calc::GeometryTexts& t) { t.mainBaseDiameter = "411"; }, GeometryOutcome::Fault},
        {"tip arc radius below half the working length", [](calc::GeometryTexts& t) { t.tipEccentricity = "-150"; }, GeometryOutcome::Fault},
        {"grinding increment read last", [](calc::GeometryTexts& t) { t.grindingIncrement = "a"; }, GeometryOutcome::Fault},
    };
    for (const auto& c : cases) {
        calc::GeometryTexts t = exampleTexts();
        c.change(t);
        EXPECT_EQ(run(t).outcome, c.outcome) << c.why;
    }
}

TEST(Geometry, AFaultKeepsTheCaptionsWrittenBeforeIt)
{
    calc::GeometryTexts t = exampleTexts();
    t.mainBaseDiameter = "411"; // arcsine of a value above 1 in the profile angle
    const Outcome r = run(t);
    ASSERT_EQ(r.outcome, GeometryOutcome::Fault);
    EXPECT_EQ(r.sink.order, (std::vector<int>{24, 23, 8, 9, 10, 11, 12}));
    EXPECT_EQ(r.sink.warnings.count(14), 0u) << "the faulting step colours nothing";

    t = exampleTexts();
    t.grindingIncrement = "";
    const Outcome late = run(t);
    EXPECT_EQ(late.sink.captions.count(49), 1u);
    EXPECT_EQ(late.sink.captions.count(41), 0u);
}

TEST(Geometry, EnclosedTeethRounding)
{
    struct Case { const char* teeth; const char* ratio; double n7; double n15; bool whole; double K; };
    const Case cases[] = {
        {"45", "22.5", 0, 9, false, 4.5}, {"65", "32.5", 0, 9, false, 6.5}, {"44", "22", 0, 9, false, 4},
        {"49", "24.5", 0, 9, false, 4.5}, {"50", "25", 0, 9, false, 5}, {"9", "4.5", 0, 9, false, 0.5},
        {"45", "22.5", 1, 9, true, 5}, {"45", "22.5", 1, 4.5, true, 4.5}, {"45", "22.5", 1, 4.5, false, 4.5},
        // 8 + (1 - 2^-53) is stored as the double 9 before it is truncated.
        {"80", "40", 0.99999999999999989, 9, true, 9},
    };
    for (const auto& c : cases) {
        calc::GeometryTexts t = exampleTexts();
        t.wheelTeeth = c.teeth;
        t.ratio = c.ratio;
        t.wholeTeeth = c.whole;
        std::array<double, 16> N = kExampleN;
        N[7] = c.n7;
        N[15] = c.n15;
        DesignRecord d;
        RecordingSink sink;
        calc::calculateGeometry(t, N, d, sink);
        EXPECT_EQ(d.EnclosedTeeth, c.K) << c.teeth << " N7=" << c.n7 << " N15=" << c.n15 << " whole=" << c.whole;
    }
}

TEST(Geometry, WarningBoundaries)
{
    // The profile angle from the main base circle: sin(alpha) = db / d2 with d2 = 410.
    struct Case { const char* db; bool warn; };
    const Case alphaCases[] = {{"142.9", true}, {"143.6", false}, {"160", false}, {"170.3", true}};
    for (const auto& c : alphaCases) {
        calc::GeometryTexts t = exampleTexts();
        t.mainBaseDiameter = c.db;
        const Outcome r = run(t);
        EXPECT_EQ(r.sink.warnings.at(14), c.warn) << c.db << " gives " << r.sink.value(14).toStdString();
    }
    // A small worm reference diameter raises the lead angle above 25 degrees.
    calc::GeometryTexts t = exampleTexts();
    t.wormReferenceDiameter = "30";
    t.mainBaseDiameter = "200";
    const Outcome steep = run(t);
    EXPECT_TRUE(steep.sink.warnings.at(28)) << steep.sink.value(28).toStdString();
    EXPECT_FALSE(run(exampleTexts()).sink.warnings.at(28));
    // The worm root diameter at the throat below 30 mm warns.
    EXPECT_TRUE(steep.sink.warnings.at(53)) << steep.sink.value(53).toStdString();
    EXPECT_FALSE(run(exampleTexts()).sink.warnings.at(53));
}

TEST(Geometry, ModificationWithoutIncrement)
{
    calc::GeometryTexts t = exampleTexts();
    t.grindingIncrement = "0";
    const Outcome r = run(t);
    ASSERT_EQ(r.outcome, GeometryOutcome::Completed);
    EXPECT_EQ(r.record.ModifiedCentreDistance, 250);
    EXPECT_EQ(r.record.ModifiedRatio, 22.5);
    EXPECT_EQ(r.record.ModifiedWheelReferenceDiameter, 45 * 9.111);
    EXPECT_NEAR(r.record.ModifiedProfileAngle, r.record.ProfileAngle, 1e-12);
}

} // namespace
