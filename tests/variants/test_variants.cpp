// "方案比较" on the real main window, offscreen; the drive check of every
// candidate against rating:: and tpworm-cli rate.
#include "common/gui_fixture.h"

#include "app/tform1.h"
#include "app/tform_rating.h"
#include "app/variants_window.h"
#include "core/design_form.h"
#include "core/numeric.h"
#include "rating/rating_tables.h"
#include "rules/rules_memory.h"

#include <QAction>
#include <QComboBox>
#include <QFile>
#include <QGroupBox>
#include <QHeaderView>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QPushButton>
#include <QLabel>
#include <QLineEdit>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

#include <gtest/gtest.h>

namespace tpworm {
namespace {
using testing::ProgramFixture;

QStringList column(QTableWidget* t, int c)
{
    QStringList texts;
    for (int r = 0; r < t->rowCount(); ++r)
        texts << t->item(r, c)->text();
    return texts;
}

// The captions and fields of the main window itself (not of the windows it owns).
QStringList captions(TForm1& f)
{
    QStringList texts;
    for (QLabel* label : f.findChildren<QLabel*>())
        if (label->window() == &f)
            texts << label->objectName() + "=" + label->text();
    for (QLineEdit* edit : f.findChildren<QLineEdit*>())
        if (edit->window() == &f)
            texts << edit->objectName() + "=" + edit->text() + (edit->isEnabled() ? "" : " locked");
    texts.sort();
    return texts;
}

TEST(Variants, SortsByHeaderAndLoadsACandidateAsIfTyped)
{
    ProgramFixture typed;
    TForm1& t = typed.start();
    t.Edit1->setText("315");
    t.Edit3->setText("45");
    t.Edit4->setText("2");
    t.SpeedButton2Click();
    const QStringList expected = captions(t);

    ProgramFixture fx;
    TForm1& f = fx.start();
    f.Edit1->setText("250");
    f.Edit3->setText("45");
    f.Edit4->setText("2");
    f.findChild<QToolButton*>("VariantsButton")->click();
    auto* window = f.findChild<VariantsWindow*>();
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window));
    QTableWidget* table = window->table();
    ASSERT_EQ(table->rowCount(), 29);

    // A click on the header of the generating-plane tilt sorts by it, as numbers.
    const int throat = 9;
    QTest::mouseClick(table->horizontalHeader()->viewport(), Qt::LeftButton, {},
                      QPoint(table->horizontalHeader()->sectionViewportPosition(throat) + 5, 5));
    QList<double> values;
    for (const QString& text : column(table, throat))
        if (!text.isEmpty())
            values << text.toDouble();
    ASSERT_GT(values.size(), 10);
    EXPECT_TRUE(std::is_sorted(values.begin(), values.end()) || std::is_sorted(values.rbegin(), values.rend()));
    QStringList distances = column(table, 0);
    EXPECT_FALSE(std::is_sorted(distances.begin(), distances.end(),
                                [](const QString& a, const QString& b) { return a.toDouble() < b.toDouble(); }))
        << "the rows moved away from the series order";

    // A double-click on the 315 mm candidate: the main window as typing it gives.
    const int row = int(column(table, 0).indexOf("315"));
    ASSERT_GE(row, 0);
    const QRect cell = table->visualItemRect(table->item(row, 0));
    QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, cell.center());
    QTest::mouseDClick(table->viewport(), Qt::LeftButton, {}, cell.center());
    EXPECT_EQ(captions(f), expected);
    EXPECT_FALSE(f.Edit1->isEnabled());

    // Saved as CSV through the dialog seam: header and one line per candidate.
    QTemporaryDir dir;
    fx.dialogs.files.append(dir.filePath("v.csv"));
    window->saveAsCsv();
    QFile saved(dir.filePath("v.csv"));
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
    const QList<QByteArray> lines = saved.readAll().split('\n');
    EXPECT_EQ(lines.size(), 29 + 2);
    EXPECT_TRUE(lines[0].startsWith("中心距,头数,齿数,速比"));
}


// ---- the drive check of the candidates ----------------------------------------

QString shown3(long double v) { return FloatToStr(RoundTo(double(v), -3)); }
QString shown4(long double v) { return FloatToStr(RoundTo(double(v), -4)); }

VariantsWindow& openVariants(TForm1& f)
{
    f.findChild<QToolButton*>("VariantsButton")->click();
    auto* window = f.findChild<VariantsWindow*>();
    EXPECT_NE(window, nullptr);
    return *window;
}

// The worked design calculated and a duty checked in "传动校核", as a user does.
void checkDuty(TForm1& f, const QString& power, const QString& speed, const QString& oilLimit)
{
    f.Edit1->setText("250");
    f.Edit3->setText("45");
    f.Edit4->setText("2");
    f.SpeedButton2Click();
    ASSERT_FALSE(f.GroupBox1->isHidden());
    showRatingWindow(f);
    TFormRating* check = ratingWindow(f);
    ASSERT_NE(check, nullptr);
    check->PowerEdit->setText(power);
    check->SpeedEdit->setText(speed);
    check->OilLimitEdit->setText(oilLimit);
    check->CheckButton->click();
    ASSERT_TRUE(check->hasResult());
}

QStringList ratingCells(QTableWidget* t, int row)
{
    QStringList texts;
    for (const char* key : {"eta", "T2", "S", "to", "thermal"})
        texts << t->item(row, VariantsWindow::ratingColumn(key))->text();
    return texts;
}

TEST(VariantsRating, EveryCandidateCarriesTheDriveCheckOfRatingAndOfTheCommandLine)
{
    ProgramFixture fx;
    TForm1& f = fx.start();
    checkDuty(f, "10", "1450", "80");
    VariantsWindow& window = openVariants(f);
    EXPECT_EQ(window.PowerEdit->text(), "10") << "prefilled from the duty checked";
    EXPECT_EQ(window.OilLimitEdit->text(), "80");
    QTableWidget* table = window.table();
    ASSERT_EQ(table->rowCount(), 29);
    EXPECT_TRUE(window.DutyLine->text().contains("P1 = 10 kW")) << window.DutyLine->text().toStdString();
    EXPECT_TRUE(table->horizontalHeaderItem(VariantsWindow::ratingColumn("S"))->text().contains("估算"));

    // Each row against rating:: for that candidate, designed as the sweep designs it.
    const rules::RulesData rules = rules::readRulesData(f.rulesDatabasePath());
    const rating::RatingTables tables = rating::loadRatingTables(f.rulesDatabasePath());
    const rating::Duty duty = rating::parseDuty(window.dutyTexts());
    int passing = 0, failing = 0;
    double smallest = 1e9;
    for (int row = 0; row < table->rowCount(); ++row) {
        core::DesignRequest request;
        request.centreDistance = table->item(row, 0)->text();
        request.teeth = "45";
        request.starts = "2";
        const core::DesignForm design = core::runDesign(request, rules);
        SCOPED_TRACE(request.centreDistance.toStdString());
        if (!design.calculated()) {
            EXPECT_EQ(ratingCells(table, row).join(""), "") << "no check without a design";
            continue;
        }
        const rating::Rating r = rating::rate(rating::driveValues(design.design()), duty, tables.friction, tables.ratedPower);
        EXPECT_EQ(ratingCells(table, row), (QStringList{shown4(r.efficiency), shown3(r.outputTorque), shown3(r.surface),
                                                        shown3(r.oilTemperature), r.thermalOk ? "合格" : "不合格"}));
        const QTableWidgetItem* verdict = table->item(row, VariantsWindow::ratingColumn("thermal"));
        EXPECT_EQ(verdict->foreground().color() == QColor(255, 0, 0), !r.thermalOk) << "a failure is red";
        EXPECT_DOUBLE_EQ(double(r.surface), double(rating::estimatedHousingArea(design.design().CentreDistance)));
        (r.thermalOk ? passing : failing) += 1;
        if (r.thermalOk)
            smallest = std::min(smallest, design.design().CentreDistance);
    }
    ASSERT_GT(passing, 0);
    ASSERT_GT(failing, 0) << "the duty separates the small housings from the large ones";
    EXPECT_TRUE(window.DutyLine->text().contains(QStringLiteral("最小中心距：a = %1 mm").arg(FloatToStr(smallest))))
        << window.DutyLine->text().toStdString();

    // One candidate against tpworm-cli rate --json.
    const int row = int(column(table, 0).indexOf("315"));
    ASSERT_GE(row, 0);
    QProcess cli;
    cli.start(QStringLiteral(TPWORM_PROGRAM_DIR "/tpworm-cli"),
              {"rate", "--json", "--centre-distance", "315", "--teeth", "45", "--starts", "2", "--power", "10",
               "--speed", "1450", "--oil-limit", "80"});
    ASSERT_TRUE(cli.waitForFinished(60000));
    ASSERT_EQ(cli.exitCode(), 0) << cli.readAllStandardError().toStdString();
    const QJsonObject json = QJsonDocument::fromJson(cli.readAllStandardOutput()).object().value("rating").toObject();
    EXPECT_EQ(ratingCells(table, row),
              (QStringList{shown4(json["efficiency"].toDouble()), shown3(json["output_torque"].toDouble()),
                           shown3(json["surface"].toDouble()), shown3(json["oil_temperature"].toDouble()),
                           json["thermal_ok"].toBool() ? "合格" : "不合格"}));

    // Sorting by oil temperature is numeric: the column holds temperatures
    // of two and of three digits, which text order would interleave.
    const int oil = VariantsWindow::ratingColumn("to");
    QTest::mouseClick(table->horizontalHeader()->viewport(), Qt::LeftButton, {},
                      QPoint(table->horizontalHeader()->sectionViewportPosition(oil) + 5, 5));
    QList<double> temperatures;
    for (const QString& text : column(table, oil))
        if (!text.isEmpty())
            temperatures << text.toDouble();
    ASSERT_GT(temperatures.size(), 10);
    ASSERT_TRUE(std::any_of(temperatures.begin(), temperatures.end(), [](double t) { return t >= 100; }));
    ASSERT_TRUE(std::any_of(temperatures.begin(), temperatures.end(), [](double t) { return t < 100; }));
    EXPECT_TRUE(std::is_sorted(temperatures.begin(), temperatures.end())
                || std::is_sorted(temperatures.rbegin(), temperatures.rend()));

    // The CSV carries the rating columns as the table shows them.
    QTemporaryDir dir;
    fx.dialogs.files.append(dir.filePath("v.csv"));
    window.saveAsCsv();
    QFile saved(dir.filePath("v.csv"));
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
    const QStringList lines = QString::fromUtf8(saved.readAll()).split('\n');
    ASSERT_EQ(lines.size(), 29 + 2);
    const QStringList header = lines[0].split(',');
    for (const char* caption : {"效率 η", "T2（N·m）", "S（m²，估算）", "油温 to（°C）", "热平衡"})
        EXPECT_TRUE(header.contains(QString::fromUtf8(caption))) << caption;
    const QStringList first = lines[1].split(',');
    EXPECT_EQ(first.mid(VariantsWindow::ratingColumn("eta"), 5), ratingCells(table, 0));

    // A housing surface typed in "传动校核" holds for every candidate, and the header says so.
    ratingWindow(f)->AreaEdit->setText("3");
    window.RateButton->click();
    QStringList surfaces = column(table, VariantsWindow::ratingColumn("S"));
    surfaces.removeAll(QString());
    surfaces.removeDuplicates();
    EXPECT_EQ(surfaces, QStringList{"3"});
    EXPECT_TRUE(table->horizontalHeaderItem(VariantsWindow::ratingColumn("S"))->text().contains("输入值"));
}

TEST(VariantsRating, WithoutADutyTheColumnsStayEmptyAndABadDutyIsRefusedWithTheDesignUntouched)
{
    ProgramFixture fx;
    TForm1& f = fx.start();
    f.Edit1->setText("250");
    f.Edit3->setText("45");
    f.Edit4->setText("2");
    f.SpeedButton2Click();
    fx.dialogs.messages.clear();
    const QStringList before = captions(f);
    VariantsWindow& window = openVariants(f);
    QTableWidget* table = window.table();
    ASSERT_EQ(table->rowCount(), 29);
    for (int row = 0; row < table->rowCount(); ++row)
        EXPECT_EQ(ratingCells(table, row).join(""), "");
    EXPECT_TRUE(window.DutyLine->text().startsWith("未给工况")) << window.DutyLine->text().toStdString();
    EXPECT_TRUE(fx.dialogs.messages.isEmpty()) << "no duty is no fault";

    struct Case {
        const char* power;
        const char* oilLimit;
        const char* message;
    } cases[] = {{"abc", "80", "输入功率 P1：“abc”不是合法数字"},
                 {"10", "15", "允许油温 tlim：必须高于环境温度 ta（现为 15 °C，ta = 20 °C）"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.message);
        window.PowerEdit->setText(c.power);
        window.SpeedEdit->setText("1450");
        window.OilLimitEdit->setText(c.oilLimit);
        fx.dialogs.messages.clear();
        window.RateButton->click();
        ASSERT_EQ(fx.dialogs.messageTexts(), QStringList{QString::fromUtf8(c.message)});
        EXPECT_EQ(table->rowCount(), 29) << "the designs are listed all the same";
        for (int row = 0; row < table->rowCount(); ++row)
            EXPECT_EQ(ratingCells(table, row).join(""), "");
        EXPECT_TRUE(window.DutyLine->text().startsWith("工况有误")) << window.DutyLine->text().toStdString();
        EXPECT_EQ(captions(f), before) << "the design on the screen is untouched";
    }

    // A duty typed here stays when the window is opened again.
    window.OilLimitEdit->setText("80");
    window.close();
    openVariants(f);
    EXPECT_EQ(window.PowerEdit->text(), "10");
    int rated = 0;
    for (int row = 0; row < table->rowCount(); ++row) {
        const bool calculated = !table->item(row, 4)->text().isEmpty();
        EXPECT_EQ(!table->item(row, VariantsWindow::ratingColumn("thermal"))->text().isEmpty(), calculated)
            << "rated wherever the candidate calculated";
        rated += calculated;
    }
    EXPECT_GT(rated, 20);
}

} // namespace
} // namespace tpworm
