// The drive check against values worked out apart from the program.
//
// The expected values of the case table were computed by hand_check.py in
// this folder: an implementation of its own, written from the relations as
// the manual states them, in plain Python floats (IEEE double). The program
// computes in long double, so a relative difference of 1e-11 is allowed; any
// fault in a relation, a unit or an interpolation shows far above that.
#include "calc/geometry.h"
#include "core/numeric.h"
#include "rating/rating.h"
#include "rating/rating_output.h"
#include "rating/rating_tables.h"

#include "../rules/rules_testing.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <string>

#include <QJsonDocument>

using namespace tpworm;
using namespace tpworm::rating;

namespace {

FrictionCurve curve(const char* key, std::initializer_list<FrictionPoint> points)
{
    return {QString::fromLatin1(key), QString::fromLatin1(key), QList<FrictionPoint>(points)};
}

// The shipped friction table, as Carvill's handbook gives it.
const QList<FrictionCurve> kFriction = {
    curve("steel-bronze", {{0.5L, 0.06L}, {1, 0.05L}, {2, 0.035L}, {5, 0.023L}, {10, 0.017L}, {20, 0.014L}}),
    curve("iron-iron", {{0.5L, 0.08L}, {1, 0.067L}, {2, 0.050L}, {5, 0.037L}, {10, 0.022L}, {20, 0.018L}}),
};

// The manual's example design as the window shows it.
DriveValues manualExample() { return {250, 22.5L, 90, 410, 11.446L, 22.97L}; }

DutyTexts duty(const char* power, const char* speed, const char* material = "steel-bronze")
{
    DutyTexts d;
    d.inputPower = QString::fromLatin1(power);
    d.wormSpeed = QString::fromLatin1(speed);
    d.material = QString::fromLatin1(material);
    return d;
}

// T1, n2, vs, μ, ρ', ηm, η, ηb, T2, P2, Ft2, Ft1, Fr, H, S, to, Sreq.
using Expected = std::array<long double, 17>;

std::array<long double, 17> actual(const Rating& r)
{
    return {r.inputTorque, r.outputSpeed, r.slidingSpeed, r.friction, r.frictionAngle, r.meshEfficiency,
            r.efficiency, r.backdriveEfficiency, r.outputTorque, r.outputPower, r.wheelTangentialForce,
            r.wormTangentialForce, r.radialForce, r.heatLoss, r.surface, r.oilTemperature, r.requiredSurface};
}

const char* const kNames[17] = {"T1", "n2", "vs", "mu", "rho'", "eta_m", "eta", "eta_b", "T2", "P2",
                                "Ft2", "Ft1", "Fr", "H", "S", "to", "Sreq"};

bool mentions(const QStringList& warnings, const QString& part)
{
    for (const QString& w : warnings)
        if (w.contains(part))
            return true;
    return false;
}

struct HandCase {
    const char* why;
    DriveValues design;
    DutyTexts duty;
    bool selfLocking, thermalOk, outsideTable;
    Expected expected;
};

DutyTexts withFriction(DutyTexts d, const char* mu)
{
    d.friction = QString::fromLatin1(mu);
    return d;
}

DutyTexts hotDuty()
{
    DutyTexts d = duty("30", "1450", "iron-iron");
    d.ambient = "35";
    d.oilLimit = "85";
    d.heatTransfer = "10";
    d.housingArea = "1";
    d.otherEfficiency = "0.95";
    return d;
}

const HandCase kCases[] = {
    {"manual example at 15 kW / 1450 r/min, steel-bronze: vs 6.97 m/s between the 5 and 10 m/s points; "
     "the estimated housing leaves the oil at 80.87 °C, just over the limit",
     manualExample(), duty("15", "1450"), false, false, false,
     {98.793103448275858L, 64.444444444444443L, 6.9716143071025352L, 0.020634062831476958L, 1.2838436921428218L,
      0.89625770257706205L, 0.86040739447397951L, 0.88529518873452173L, 1912.5521264234105L, 12.906110917109693L,
      9329.5225679190753L, 2195.4022988505744L, 4034.6234796922249L, 2093.8890828903072L, 2.4571491858837673L,
      80.86871191215134L, 2.4927250986789371L}},
    {"self-locking: γ 3.5° is below ρ' 6.07° with a typed μ 0.1; ηb is reported as 0",
     {200, 50, 80, 320, 3.5L, 20}, withFriction(duty("2", "750", ""), "0.1"), true, true, false,
     {25.466666666666665L, 15L, 3.1474633071173446L, 0.1L, 6.0744278964670837L, 0.36259924453102199L,
      0.34809527474978108L, 0L, 443.24131651472123L, 0.69619054949956216L, 2770.2582282170079L,
      636.66666666666663L, 1010.1757176447617L, 1303.8094505004378L, 1.6261028141803977L, 77.271437975621978L,
      1.5521541077386165L}},
    {"vs 0.24 m/s below the first point: μ is the end value 0.06, with a warning",
     manualExample(), duty("1", "50"), false, true, true,
     {191L, 2.2222222222222223L, 0.24040049334836328L, 0.06L, 3.7285304463096964L, 0.74652849761537743L,
      0.71666735771076229L, 0.66930964921575253L, 3079.8779697620007L, 0.71666735771076229L, 15023.794974448783L,
      4244.4444444444443L, 6497.1551884581804L, 283.3326422892377L, 2.4571491858837673L, 28.236392805967796L,
      0.33730076463004488L}},
    {"vs 21.6 m/s above the last point: μ is the end value 0.014, with a warning",
     manualExample(), duty("15", "4500"), false, true, true,
     {31.833333333333332L, 200L, 21.636044401352695L, 0.014L, 0.87115345558434443L, 0.92728197747878105L,
      0.89019069837962983L, 0.92206077156696276L, 637.59908771440985L, 13.352860475694447L, 3110.2394522654135L,
      707.40740740740739L, 1345.046869249823L, 1647.1395243055526L, 2.4571491858837673L, 67.881839588981222L,
      1.9608803860780388L}},
    {"failing heat check: 30 kW iron-iron into 1 m² at αs 10 and 35 °C ambient gives 609 °C; "
     "11.48 m² would be needed",
     manualExample(), hotDuty(), false, false, false,
     {197.58620689655172L, 64.444444444444443L, 6.9716143071025352L, 0.031085157078692395L, 1.9336961320486592L,
      0.85122222205752007L, 0.80866111095464399L, 0.82759197869856915L, 3595.0563355112922L, 24.259833328639321L,
      17536.860173225818L, 4390.8045977011489L, 7583.9494786449686L, 5740.1666713606801L, 1L, 609.01666713606801L,
      11.480333342721361L}},
};

TEST(DriveCheck, HandCheckedCases)
{
    for (const HandCase& c : kCases) {
        SCOPED_TRACE(c.why);
        const Rating r = rate(c.design, parseDuty(c.duty), kFriction, {});
        const auto got = actual(r);
        for (std::size_t k = 0; k < got.size(); ++k) {
            const long double tolerance = 1e-11L * std::max(1.0L, std::fabs(c.expected[k]));
            EXPECT_NEAR(double(got[k]), double(c.expected[k]), double(tolerance)) << kNames[k];
        }
        EXPECT_EQ(r.selfLocking, c.selfLocking);
        EXPECT_EQ(r.thermalOk, c.thermalOk);
        EXPECT_EQ(mentions(r.warnings, "摩擦系数表"), c.outsideTable);
        EXPECT_EQ(mentions(r.warnings, "热平衡校核不合格"), !c.thermalOk);
        if (!c.thermalOk) {
            EXPECT_TRUE(mentions(r.warnings, "Sreq = " + FloatToStr(RoundTo(double(c.expected[16]), -3))))
                << r.warnings.join('\n').toStdString();
        }
        EXPECT_EQ(r.surfaceEstimated, c.duty.housingArea.isEmpty());
        EXPECT_EQ(mentions(r.warnings, "估算值"), c.duty.housingArea.isEmpty());
        // No table of rated powers: no strength verdict, said plainly.
        EXPECT_FALSE(r.serviceFactor.has_value());
        EXPECT_TRUE(r.warnings.contains(strengthNotComputedText()));
    }
}

// The manual's example, calculated by the program's geometry, gives the
// design values the case table starts from.
TEST(DriveCheck, DesignValuesComeFromTheCalculatedDesign)
{
    struct Sink final : calc::ResultSink {
        void caption(int, const QString&) override {}
        void warning(int, bool) override {}
    } sink;
    calc::GeometryTexts t;
    t.centreDistance = "250", t.ratio = "22.5", t.wheelTeeth = "45", t.wormStarts = "2";
    t.mainBaseDiameter = "160", t.tipEccentricity = "2", t.wormReferenceDiameter = "90", t.backlash = "0.3";
    t.grindingIncrement = "0.5";
    DesignRecord record;
    const std::array<double, 16> N = {0.875, 1.2, 1, 0.5, 0, 0.55, 2, 0, 0.15, 0.5, 0.5, 1, 0.5, 1, 0.9, 9};
    ASSERT_EQ(calc::calculateGeometry(t, N, record, sink), calc::GeometryOutcome::Completed);
    const DriveValues v = driveValues(record);
    const DriveValues m = manualExample();
    EXPECT_EQ(v.centreDistance, m.centreDistance);
    EXPECT_EQ(v.ratio, m.ratio);
    EXPECT_EQ(v.wormReferenceDiameter, m.wormReferenceDiameter);
    EXPECT_EQ(v.wheelReferenceDiameter, m.wheelReferenceDiameter);
    EXPECT_EQ(double(v.throatLeadAngle), double(m.throatLeadAngle));
    EXPECT_EQ(double(v.profileAngle), double(m.profileAngle));
}

TEST(DriveCheck, FrictionIsReadLinearlyBetweenThePoints)
{
    struct Row {
        long double vs, mu;
        bool outside;
    };
    // Exact points, midpoints by hand, and both ends.
    const Row rows[] = {
        {0.5L, 0.06L, false}, {0.75L, 0.055L, false}, {3.5L, 0.029L, false}, {20, 0.014L, false},
        {15, 0.0155L, false}, {0.1L, 0.06L, true},    {25, 0.014L, true},
    };
    for (const Row& row : rows) {
        bool outside = !row.outside;
        EXPECT_NEAR(double(frictionAt(kFriction[0], row.vs, &outside)), double(row.mu), 1e-15) << double(row.vs);
        EXPECT_EQ(outside, row.outside) << double(row.vs);
    }
    EXPECT_THROW(frictionAt(curve("empty", {}), 1), RatingError);
}

// Every bad duty text: a message that names the input, and nothing computed.
TEST(DriveCheck, BadDutyInputsAreRefusedWithTheirName)
{
    struct Bad {
        const char* why;
        void (*spoil)(DutyTexts&);
        const char* names;
    };
    const Bad bad[] = {
        {"empty power", [](DutyTexts& d) { d.inputPower = ""; }, "输入功率 P1：不能为空"},
        {"blank speed", [](DutyTexts& d) { d.wormSpeed = "  "; }, "蜗杆转速 n1：不能为空"},
        {"text for a power", [](DutyTexts& d) { d.inputPower = "15kW"; }, "输入功率 P1：“15kW”不是合法数字"},
        {"zero power", [](DutyTexts& d) { d.inputPower = "0"; }, "输入功率 P1：必须大于 0"},
        {"negative speed", [](DutyTexts& d) { d.wormSpeed = "-1450"; }, "蜗杆转速 n1：必须大于 0"},
        {"zero friction", [](DutyTexts& d) { d.friction = "0"; }, "摩擦系数 μ：必须大于 0"},
        {"neither pair nor μ", [](DutyTexts& d) { d.material = ""; }, "摩擦系数 μ：请选择材料配对"},
        {"ambient not a number", [](DutyTexts& d) { d.ambient = "abc"; }, "环境温度 ta：“abc”不是合法数字"},
        {"ambient below absolute zero", [](DutyTexts& d) { d.ambient = "-300"; }, "环境温度 ta：低于绝对零度"},
        {"oil limit at ambient", [](DutyTexts& d) { d.oilLimit = "20"; }, "允许油温 tlim：必须高于环境温度 ta"},
        {"empty oil limit", [](DutyTexts& d) { d.oilLimit = ""; }, "允许油温 tlim：不能为空"},
        {"negative heat transfer", [](DutyTexts& d) { d.heatTransfer = "-14"; }, "散热系数 αs：必须大于 0"},
        {"zero housing area", [](DutyTexts& d) { d.housingArea = "0"; }, "箱体散热面积 S：必须大于 0"},
        {"ηo above 1", [](DutyTexts& d) { d.otherEfficiency = "1.2"; }, "轴承及搅油效率 ηo：不能大于 1"},
        {"ηo zero", [](DutyTexts& d) { d.otherEfficiency = "0"; }, "轴承及搅油效率 ηo：必须大于 0"},
        {"ηo empty", [](DutyTexts& d) { d.otherEfficiency = ""; }, "轴承及搅油效率 ηo：不能为空"},
    };
    for (const Bad& b : bad) {
        SCOPED_TRACE(b.why);
        DutyTexts d = duty("15", "1450");
        b.spoil(d);
        try {
            parseDuty(d);
            ADD_FAILURE() << "accepted";
        } catch (const RatingError& e) {
            EXPECT_TRUE(e.message().startsWith(QString::fromUtf8(b.names))) << e.message().toStdString();
        }
    }
    // The limits themselves are good values: ηo = 1, a cold ambient of 0 °C.
    DutyTexts edge = duty("15", "1450");
    edge.otherEfficiency = "1";
    edge.ambient = "0";
    EXPECT_EQ(double(parseDuty(edge).otherEfficiency), 1.0);
    EXPECT_EQ(double(parseDuty(edge).ambient), 0.0);
}

TEST(DriveCheck, RefusesWhatItCannotCheck)
{
    const Duty d = parseDuty(duty("15", "1450", "bronze-on-wood"));
    EXPECT_THROW(rate(manualExample(), d, kFriction, {}), RatingError);
    // A rules file from before the friction table: only a typed μ works.
    EXPECT_THROW(rate(manualExample(), parseDuty(duty("15", "1450")), {}, {}), RatingError);
    EXPECT_NO_THROW(rate(manualExample(), parseDuty(withFriction(duty("15", "1450"), "0.03")), {}, {}));
    // No design calculated yet.
    EXPECT_THROW(rate(DriveValues{}, parseDuty(duty("15", "1450")), kFriction, {}), RatingError);
    // μ so large that γ + ρ' reaches 90°.
    EXPECT_THROW(rate(manualExample(), parseDuty(withFriction(duty("15", "1450"), "50")), kFriction, {}), RatingError);
}

// Rows for a = 250: ratios 20 and 25 at 1000 and 1500 r/min, and a row of
// another centre distance that must not be used. At i = 22.5, n1 = 1450:
// along i = 20, 100 + 40·0.9 = 136; along i = 25, 80 + 30·0.9 = 107; halfway
// between, 121.5 kW, so at 15 kW the service factor is 8.1.
const QList<RatedPowerRow> kRated = {
    {250, 20, 1000, 100}, {250, 20, 1500, 140}, {250, 25, 1000, 80}, {250, 25, 1500, 110}, {200, 22.5L, 1450, 1},
};

TEST(DriveCheck, ServiceFactorFromTheRatedPowerTable)
{
    const Rating r = rate(manualExample(), parseDuty(duty("15", "1450")), kFriction, kRated);
    ASSERT_TRUE(r.serviceFactor.has_value());
    EXPECT_NEAR(double(*r.serviceFactor), 8.1, 1e-12);
    EXPECT_FALSE(mentions(r.warnings, "强度"));
    // On a point of the table: 140 kW at i = 20, 1500 r/min.
    EXPECT_NEAR(double(ratedPowerAt(kRated, 250, 20, 1500)), 140, 1e-12);
    // A rating below the duty is said so.
    const Rating weak = rate(manualExample(), parseDuty(duty("150", "1450")), kFriction, kRated);
    EXPECT_NEAR(double(*weak.serviceFactor), 0.81, 1e-12);
    EXPECT_TRUE(mentions(weak.warnings, "小于 1"));
}

TEST(DriveCheck, RatedPowerOutsideTheTableIsRefused)
{
    struct Outside {
        long double a, i, n;
        const char* says;
    };
    const Outside cases[] = {
        {260, 22.5L, 1450, "中心距 a = 260 mm"},
        {250, 30, 1450, "传动比 i = 30"},
        {250, 22.5L, 1600, "蜗杆转速 n1 = 1600 r/min"},
        {250, 22.5L, 900, "蜗杆转速 n1 = 900 r/min"},
    };
    for (const Outside& c : cases) {
        SCOPED_TRACE(c.says);
        try {
            ratedPowerAt(kRated, c.a, c.i, c.n);
            ADD_FAILURE() << "interpolated outside the table";
        } catch (const RatingError& e) {
            EXPECT_TRUE(e.message().contains(QString::fromUtf8(c.says))) << e.message().toStdString();
        }
    }
    // In the check: no factor, and the reason among the warnings.
    const Rating r = rate(manualExample(), parseDuty(duty("15", "1600")), kFriction, kRated);
    EXPECT_FALSE(r.serviceFactor.has_value());
    EXPECT_TRUE(mentions(r.warnings, "未计算使用系数：蜗杆转速 n1 = 1600 r/min"));
}

TEST(DriveCheck, HousingAreaEstimate)
{
    // 9e-5 · 250^1.85 and 9e-5 · 100^1.85 = 9e-5 · 10^3.7, by hand_check.py's formula.
    EXPECT_NEAR(double(estimatedHousingArea(250)), 2.4571491858837673, 1e-13);
    EXPECT_NEAR(double(estimatedHousingArea(100)), 9e-5 * std::pow(10.0, 3.7), 1e-13);
}

// ---- The tables of the rules database ----------------------------------

TEST(RatingTables, ShippedDatabaseHoldsTheHandbookFrictionAndNoRatedPowers)
{
    const RatingTables t = loadRatingTables(tpworm::testing::shippedDatabase());
    EXPECT_TRUE(t.frictionTableFound);
    EXPECT_TRUE(t.ratedPowerTableFound);
    EXPECT_TRUE(t.ratedPower.isEmpty());
    ASSERT_EQ(t.friction.size(), 2);
    for (int k = 0; k < 2; ++k) {
        EXPECT_EQ(t.friction[k].key, kFriction[k].key);
        ASSERT_EQ(t.friction[k].points.size(), 6);
        for (int p = 0; p < 6; ++p) {
            EXPECT_EQ(double(t.friction[k].points[p].slidingSpeed), double(kFriction[k].points[p].slidingSpeed));
            EXPECT_EQ(double(t.friction[k].points[p].friction), double(kFriction[k].points[p].friction));
        }
    }
    EXPECT_EQ(t.friction[0].name, QStringLiteral("淬硬钢蜗杆 / 磷青铜蜗轮"));
    EXPECT_EQ(t.friction[1].name, QStringLiteral("铸铁蜗杆 / 铸铁蜗轮"));
}

TEST(RatingTables, UserRowsOldFilesAndBadRows)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("db1.mdb");
    ASSERT_TRUE(QFile::copy(tpworm::testing::shippedDatabase(), path));
    tpworm::testing::runSql(path, {"INSERT INTO rated_power VALUES (1, 250, 20, 1000, 100)",
                           "INSERT INTO rated_power VALUES (2, 250, 20, 1500, 140)",
                           "INSERT INTO friction VALUES (13, 'mine', '我的材料', 1, 0.04)"});
    RatingTables t = loadRatingTables(path);
    ASSERT_EQ(t.ratedPower.size(), 2);
    EXPECT_EQ(double(t.ratedPower[1].ratedPower), 140.0);
    ASSERT_EQ(t.friction.size(), 3);
    EXPECT_EQ(t.friction[2].name, QStringLiteral("我的材料"));

    // A rules file from before the drive check: neither table, no error.
    tpworm::testing::runSql(path, {"DROP TABLE friction", "DROP TABLE rated_power"});
    t = loadRatingTables(path);
    EXPECT_FALSE(t.frictionTableFound);
    EXPECT_FALSE(t.ratedPowerTableFound);
    EXPECT_TRUE(t.friction.isEmpty());

    const QString bad = dir.filePath("bad.mdb");
    ASSERT_TRUE(QFile::copy(tpworm::testing::shippedDatabase(), bad));
    tpworm::testing::runSql(bad, {"UPDATE friction SET sliding_speed_m_s = 0.7 WHERE ID = 3"});
    EXPECT_THROW(loadRatingTables(bad), RatingError);
    tpworm::testing::runSql(bad, {"UPDATE friction SET sliding_speed_m_s = 2 WHERE ID = 3",
                          "INSERT INTO rated_power VALUES (1, 250, 20, 1000, -5)"});
    EXPECT_THROW(loadRatingTables(bad), RatingError);
    EXPECT_THROW(loadRatingTables(dir.filePath("missing.mdb")), RatingError);
}

} // namespace

namespace {

// The columns a table of designs shows under a duty: names and texts line up,
// numbers in full, the verdicts as yes/no, no factor as an empty text.
TEST(DriveCheck, TableColumnsOfADesignUnderADuty)
{
    const Rating r = rate(manualExample(), parseDuty(duty("15", "1450")), kFriction, {});
    const QStringList names = ratingColumnNames();
    const QStringList texts = ratingColumnTexts(r);
    ASSERT_EQ(names.size(), texts.size());
    EXPECT_EQ(names, (QStringList{"efficiency", "output_torque", "oil_temperature", "thermal_ok", "self_locking",
                                  "service_factor"}));
    EXPECT_EQ(texts[0].left(12), "0.8604073944") << "η of hand_check.py, in full";
    EXPECT_EQ(texts[2].left(8), "80.86871");
    EXPECT_EQ(texts[3], "no");
    EXPECT_EQ(texts[4], "no");
    EXPECT_EQ(texts[5], "");
    const Rating rated = rate(manualExample(), parseDuty(duty("15", "1450")), kFriction, kRated);
    EXPECT_EQ(ratingColumnTexts(rated)[5], "8.1");
}

} // namespace

namespace {

// The batch writes the rating object itself; its text must be what
// QJsonDocument writes for ratingJson(), number for number: random values
// of every size, whole numbers about 2^53, a service factor or none, and
// warnings with quotes, control characters and Chinese.
TEST(RatingJson, WrittenDirectlyAsQJsonDocumentWritesIt)
{
    std::mt19937_64 random(53);
    auto any = [&]() -> long double {
        switch (random() % 6) {
        case 0: return static_cast<long double>(random() % 100000);                // whole
        case 1: return std::ldexp(static_cast<double>(random() >> 11), -53) * 1000; // 0 ... 1000
        case 2: return std::ldexp(static_cast<long double>(random()), int(random() % 200) - 130);
        case 3: return 9007199254740992.0L + static_cast<long double>(random() % 5) - 2;
        case 4: return -std::ldexp(static_cast<double>(random() >> 11), int(random() % 100) - 80);
        default: return static_cast<double>(RoundTo(std::ldexp(double(random() >> 11), -43), -3));
        }
    };
    for (int k = 0; k < 20000; ++k) {
        rating::DriveValues d{any(), any(), any(), any(), any(), any()};
        rating::Rating r;
        for (long double* v : {&r.inputTorque, &r.outputSpeed, &r.slidingSpeed, &r.friction, &r.frictionAngle,
                               &r.meshEfficiency, &r.efficiency, &r.backdriveEfficiency, &r.outputTorque,
                               &r.outputPower, &r.wheelTangentialForce, &r.wormTangentialForce, &r.radialForce,
                               &r.heatLoss, &r.surface, &r.oilTemperature, &r.requiredSurface})
            *v = any();
        r.selfLocking = random() % 2;
        r.thermalOk = random() % 2;
        if (random() % 2)
            r.serviceFactor = any();
        if (k % 7 == 0)
            r.warnings << QStringLiteral("油温 \"to\" = %1\t°C\\\n").arg(k) << QString(QChar(0x1f));
        std::string direct;
        rating::appendRatingJson(direct, d, r);
        const QByteArray viaDocument = QJsonDocument(rating::ratingJson(d, r)).toJson(QJsonDocument::Compact);
        ASSERT_EQ(QByteArray::fromStdString(direct), viaDocument) << "case " << k;
    }
}

} // namespace
