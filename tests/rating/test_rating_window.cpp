// The "传动校核" window on the real main window, offscreen; the design file
// with a duty, read back by python3-xlrd; and tpworm-cli rate.
#include "app/tform_rating.h"
#include "common/gui_fixture.h"
#include "core/numeric.h"
#include "rating/rating_tables.h"

#include "../documents/readers.h"

#include <QAction>
#include <QComboBox>
#include <QGroupBox>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QToolBar>
#include <QToolButton>

#include <gtest/gtest.h>

using namespace tpworm;
using tpworm::testing::ProgramFixture;

namespace {

QAction* ratingAction(TForm1& f) { return f.findChild<QAction*>("RatingAction"); }
QToolButton* ratingButton(TForm1& f) { return f.findChild<QToolButton*>("RatingButton"); }

// The manual's example design, typed as a user would.
void calculateExample(TForm1& f)
{
    f.Edit1->setText("250");
    f.Edit3->setText("45");
    f.Edit4->setText("2");
    f.SpeedButton2Click();
    f.SpeedButton3Click();
    f.Edit5->setText("160");
    f.Edit6->setText("2");
    f.Edit7->setText("90");
    f.Edit13->setText("0.5");
    f.SpeedButton4Click();
    ASSERT_FALSE(f.GroupBox1->isHidden());
}

TFormRating& openWindow(TForm1& f)
{
    ratingAction(f)->trigger();
    TFormRating* w = ratingWindow(f);
    EXPECT_NE(w, nullptr);
    return *w;
}

QString shown3(double v) { return FloatToStr(RoundTo(v, -3)); }

TEST(RatingWindow, EnabledOnceCalculatedAndShowsTheCheckOfTheDesign)
{
    ProgramFixture fx;
    TForm1& f = fx.start();
    ASSERT_NE(ratingAction(f), nullptr);
    ASSERT_NE(ratingButton(f), nullptr);
    EXPECT_FALSE(ratingAction(f)->isEnabled());
    EXPECT_FALSE(ratingButton(f)->isEnabled());
    EXPECT_EQ(ratingButton(f)->toolTip(), QStringLiteral("传动校核"));
    EXPECT_EQ(ratingButton(f)->parentWidget(), f.ToolBar1);
    EXPECT_GT(f.Label32->x(), ratingButton(f)->geometry().right()) << "the notice leaves the button free";
    EXPECT_EQ(f.Label32->geometry().right(), f.ToolBar1->width() - 1);

    calculateExample(f);
    EXPECT_TRUE(ratingAction(f)->isEnabled());
    EXPECT_TRUE(ratingButton(f)->isEnabled());
    TFormRating& w = openWindow(f);
    EXPECT_TRUE(w.isVisible());
    EXPECT_EQ(w.MaterialBox->currentText(), QStringLiteral("淬硬钢蜗杆 / 磷青铜蜗轮"));
    EXPECT_EQ(w.AmbientEdit->text(), "20");
    EXPECT_EQ(w.OilLimitEdit->text(), "80");
    EXPECT_EQ(w.HeatTransferEdit->text(), "14");
    EXPECT_EQ(w.OtherEfficiencyEdit->text(), "0.96");
    EXPECT_TRUE(w.AreaHint->text().contains("2.457")) << w.AreaHint->text().toStdString();
    w.PowerEdit->setText("15");
    w.SpeedEdit->setText("1450");
    fx.dialogs.messages.clear(); // the start's own, whatever they are
    w.CheckButton->click();
    ASSERT_TRUE(w.hasResult());
    EXPECT_TRUE(fx.dialogs.messages.isEmpty()) << fx.dialogs.messageTexts().join('|').toStdString();
    // The hand-checked values of the manual's example (hand_check.py).
    EXPECT_EQ(w.resultText("T1"), shown3(98.793103448275858));
    EXPECT_EQ(w.resultText("T2"), shown3(1912.5521264234105));
    EXPECT_EQ(w.resultText("vs"), shown3(6.9716143071025352));
    EXPECT_EQ(w.resultText("eta"), FloatToStr(RoundTo(0.86040739447397951, -4)));
    EXPECT_EQ(w.resultText("to"), shown3(80.86871191215134));
    EXPECT_EQ(w.resultText("S"), shown3(2.4571491858837673) + QStringLiteral("（估算）"));
    EXPECT_EQ(w.resultText("KA"), QStringLiteral("未计算"));
    // 80.87 °C is above the limit: the verdict, to and Sreq in red, and why.
    EXPECT_TRUE(w.resultIsRed("to"));
    EXPECT_TRUE(w.resultIsRed("thermal"));
    EXPECT_FALSE(w.resultIsRed("T1"));
    EXPECT_TRUE(w.WarningLabel->text().contains(QStringLiteral("Sreq = 2.493 m²"))) << w.WarningLabel->text().toStdString();
    EXPECT_TRUE(w.WarningLabel->text().contains(QStringLiteral("未计算强度")));
    EXPECT_EQ(w.WarningLabel->palette().color(QPalette::WindowText), QColor(255, 0, 0));

    // A recalculation that fails takes the results and the command away.
    f.SpeedButton3Click();
    f.Edit5->setText("x");
    f.SpeedButton4Click();
    EXPECT_FALSE(w.hasResult());
    EXPECT_FALSE(ratingAction(f)->isEnabled());
    EXPECT_FALSE(w.CheckButton->isEnabled());
}

TEST(RatingWindow, BadInputGivesAMessageNoResultAndLeavesTheDesign)
{
    ProgramFixture fx;
    TForm1& f = fx.start();
    calculateExample(f);
    TFormRating& w = openWindow(f);
    w.PowerEdit->setText("15");
    w.SpeedEdit->setText("1450");
    w.CheckButton->click();
    ASSERT_TRUE(w.hasResult());

    const DesignRecord before = f.Design;
    const QString lead = f.Label28->text();
    const bool saved = f.Design.DesignSaved;
    struct Bad {
        QLineEdit* edit;
        const char* text;
        const char* says;
    };
    const Bad bad[] = {
        {w.PowerEdit, "abc", "输入功率 P1：“abc”不是合法数字"},
        {w.SpeedEdit, "", "蜗杆转速 n1：不能为空"},
        {w.OtherEfficiencyEdit, "1.5", "轴承及搅油效率 ηo：不能大于 1"},
        {w.AreaEdit, "-2", "箱体散热面积 S：必须大于 0"},
    };
    for (const Bad& b : bad) {
        SCOPED_TRACE(b.says);
        const QString good = b.edit->text();
        b.edit->setText(QString::fromUtf8(b.text));
        fx.dialogs.messages.clear();
        w.CheckButton->click();
        ASSERT_EQ(fx.dialogs.messages.size(), 1);
        EXPECT_TRUE(fx.dialogs.messages[0].text.startsWith(QString::fromUtf8(b.says)))
            << fx.dialogs.messages[0].text.toStdString();
        EXPECT_FALSE(w.hasResult());
        b.edit->setText(good);
    }
    EXPECT_EQ(f.Label28->text(), lead);
    EXPECT_EQ(f.Design.ThroatLeadAngle, before.ThroatLeadAngle);
    EXPECT_EQ(f.Design.WheelReferenceDiameter, before.WheelReferenceDiameter);
    EXPECT_EQ(f.Design.DesignSaved, saved);
    EXPECT_FALSE(f.GroupBox1->isHidden());
}

TEST(RatingWindow, RemembersTheDutyAndSavesItInColumnD)
{
    ProgramFixture fx;
    TForm1& f = fx.start();
    calculateExample(f);
    TFormRating& w = openWindow(f);
    w.PowerEdit->setText("15");
    w.SpeedEdit->setText("1450");
    w.MaterialBox->setCurrentIndex(w.MaterialBox->findData("iron-iron"));
    w.AreaEdit->setText("3.5");
    w.CheckButton->click();
    ASSERT_TRUE(w.hasResult());
    w.close();
    ratingButton(f)->click();
    EXPECT_EQ(ratingWindow(f), &w) << "one window for the run";
    EXPECT_EQ(w.PowerEdit->text(), "15");
    EXPECT_EQ(w.MaterialBox->currentData().toString(), "iron-iron");
    EXPECT_EQ(w.AreaEdit->text(), "3.5");

    const QString file = fx.path("duty");
    fx.dialogs.files << file;
    fx.dialogs.messages.clear();
    f.N5Click();
    ASSERT_TRUE(fx.dialogs.messages.isEmpty()) << fx.dialogs.messages.value(0).text.toStdString();

    // xlrd reads the old layout unchanged and the duty beside it.
    const tpworm::testing::ReadBook book = tpworm::testing::readWithXlrd(file + ".wpx");
    ASSERT_TRUE(book.error.isEmpty()) << book.error.toStdString();
    const tpworm::testing::ReadSheet& sheet = book.sheets.at(0);
    const QStringList a = {"250", "22.5", "45", "2", "160", "2", "90"};
    for (int row = 0; row < a.size(); ++row) {
        EXPECT_EQ(sheet.text(QStringLiteral("A%1").arg(row + 1)), a[row]);
        EXPECT_EQ(sheet.cells.value(QStringLiteral("A%1").arg(row + 1)).type, "text");
    }
    EXPECT_EQ(sheet.text("A14"), "");
    const QStringList d = {"15", "1450", "iron-iron", "", "20", "80", "14", "3.5", "0.96", "tpworm-duty-1"};
    for (int row = 0; row < d.size(); ++row)
        EXPECT_EQ(sheet.text(QStringLiteral("A%1").arg(row + 34)), d[row]) << "A" << row + 34;

    // Opened in a new run: the design as before and the duty in the window.
    ProgramFixture again;
    TForm1& g = again.start({file + ".wpx"});
    ASSERT_FALSE(g.GroupBox1->isHidden());
    EXPECT_EQ(g.Edit7->text(), "90");
    ASSERT_NE(ratingWindow(g), nullptr);
    ASSERT_TRUE(ratingWindow(g)->lastDuty().has_value());
    EXPECT_EQ(ratingWindow(g)->lastDuty()->material, "iron-iron");
    EXPECT_EQ(ratingWindow(g)->lastDuty()->housingArea, "3.5");
    TFormRating& restored = openWindow(g);
    EXPECT_EQ(restored.SpeedEdit->text(), "1450");
    restored.CheckButton->click();
    EXPECT_TRUE(restored.hasResult());
}

TEST(RatingWindow, AFileWithoutADutyOpensAsBefore)
{
    ProgramFixture fx;
    TForm1& f = fx.start();
    calculateExample(f);
    const QString file = fx.path("plain");
    fx.dialogs.files << file;
    f.N5Click();
    const tpworm::testing::ReadBook book = tpworm::testing::readWithXlrd(file + ".wpx");
    ASSERT_TRUE(book.error.isEmpty()) << book.error.toStdString();
    EXPECT_EQ(book.sheets.at(0).text("A43"), "") << "no duty, no duty cells";
    ProgramFixture again;
    TForm1& g = again.start({file + ".wpx"});
    EXPECT_FALSE(g.GroupBox1->isHidden());
    EXPECT_EQ(ratingWindow(g), nullptr);
}

// ---- tpworm-cli rate --------------------------------------------------------

struct CliRun {
    int status = -1;
    QByteArray out, err;
};

CliRun cli(const QStringList& arguments)
{
    QProcess p;
    p.start(QStringLiteral(TPWORM_PROGRAM_DIR "/tpworm-cli"), arguments);
    p.waitForFinished(30000);
    return {p.exitCode(), p.readAllStandardOutput(), p.readAllStandardError()};
}

const QStringList kExample = {"rate", "--centre-distance", "250", "--teeth", "45", "--starts", "2", "main-base=160",
                              "reference-diameter=90", "tip-eccentricity=2", "grinding=0.5"};

TEST(RateCommand, JsonOfTheManualExampleMatchesTheHandCheck)
{
    const CliRun run = cli(kExample + QStringList{"--power", "15", "--speed", "1450", "--json"});
    ASSERT_EQ(run.status, 0) << run.err.toStdString();
    const QJsonObject doc = QJsonDocument::fromJson(run.out).object();
    EXPECT_TRUE(doc.value("calculated").toBool());
    EXPECT_TRUE(doc.contains("labels")) << "the design document as design --json prints it";
    const QJsonObject r = doc.value("rating").toObject();
    const QStringList keys = {"input_torque", "output_torque", "output_speed", "output_power", "sliding_speed",
                              "friction", "friction_angle", "mesh_efficiency", "efficiency", "backdrive_efficiency",
                              "self_locking", "wheel_tangential_force", "worm_tangential_force", "radial_force",
                              "heat_loss", "oil_temperature", "required_surface", "surface", "thermal_ok",
                              "service_factor", "warnings", "centre_distance", "ratio", "worm_reference_diameter",
                              "wheel_reference_diameter", "throat_lead_angle", "profile_angle"};
    EXPECT_EQ(r.keys().size(), keys.size());
    for (const QString& key : keys)
        EXPECT_TRUE(r.contains(key)) << key.toStdString();
    // hand_check.py, relative 1e-11.
    const std::pair<const char*, double> expected[] = {
        {"input_torque", 98.793103448275858},  {"output_torque", 1912.5521264234105},
        {"sliding_speed", 6.9716143071025352}, {"friction", 0.020634062831476958},
        {"efficiency", 0.86040739447397951},   {"radial_force", 4034.6234796922249},
        {"oil_temperature", 80.86871191215134}, {"required_surface", 2.4927250986789371},
        {"surface", 2.4571491858837673},       {"throat_lead_angle", 11.446},
        {"profile_angle", 22.97},              {"wheel_reference_diameter", 410},
    };
    for (const auto& [key, value] : expected)
        EXPECT_NEAR(r.value(key).toDouble(), value, 1e-11 * std::max(1.0, std::fabs(value))) << key;
    EXPECT_FALSE(r.value("thermal_ok").toBool());
    EXPECT_FALSE(r.value("self_locking").toBool());
    EXPECT_TRUE(r.value("service_factor").isNull());
    EXPECT_EQ(r.value("warnings").toArray().size(), 3);
}

TEST(RateCommand, TypedFrictionAndBadDuty)
{
    CliRun run = cli(kExample + QStringList{"--power", "2", "--speed", "750", "--friction", "0.3", "--json"});
    ASSERT_EQ(run.status, 0) << run.err.toStdString();
    QJsonObject r = QJsonDocument::fromJson(run.out).object().value("rating").toObject();
    EXPECT_EQ(r.value("friction").toDouble(), 0.3);
    EXPECT_TRUE(r.value("self_locking").toBool()) << "ρ' 18° above γ 11.4°";
    EXPECT_EQ(r.value("backdrive_efficiency").toDouble(), 0.0);

    run = cli(kExample + QStringList{"--power", "0", "--speed", "1450", "--json"});
    EXPECT_EQ(run.status, 1);
    EXPECT_TRUE(QString::fromUtf8(run.err).contains(QStringLiteral("输入功率 P1：必须大于 0")));
    const QJsonObject doc = QJsonDocument::fromJson(run.out).object();
    EXPECT_TRUE(doc.value("rating").isNull());
    EXPECT_TRUE(doc.value("calculated").toBool()) << "the design stands";
    EXPECT_TRUE(doc.value("messages").toArray().contains(QStringLiteral("输入功率 P1：必须大于 0（现为 0）")));

    run = cli(kExample + QStringList{"--power", "15", "--speed", "1450", "--material", "wood"});
    EXPECT_EQ(run.status, 1);
    EXPECT_TRUE(QString::fromUtf8(run.err).contains(QStringLiteral("没有材料配对“wood”")));
    run = cli(kExample + QStringList{"--power", "15", "--bogus"});
    EXPECT_EQ(run.status, 2);
}

} // namespace
