// Changed rules reach the calculation at its next run, never by themselves:
// the worked design recalculated after the settings dialog and the restore.
#include "common/gui_fixture.h"
#include "rules/tform5.h"
#include "rules_testing.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTest>

using namespace tpworm;
using namespace tpworm::testing;

namespace {

void enterWorkedDesign(TForm1& f)
{
    const std::pair<QLineEdit*, const char*> fields[] = {
        {f.Edit1, "250"}, {f.Edit3, "45"}, {f.Edit4, "2"}, {f.Edit5, "160"}, {f.Edit6, "2"},
        {f.Edit7, "90"},  {f.Edit8, "0.3"}, {f.Edit13, "0.5"},
    };
    for (const auto& [field, text] : fields)
        field->setText(QString::fromUtf8(text));
}

} // namespace

TEST(RulesInCalculation, ASavedCoefficientTakesEffectAtTheNextCalculation)
{
    ProgramFixture fx;
    TForm1& f = fx.start();
    enterWorkedDesign(f);
    ASSERT_EQ(f.Edit2->text(), "22.5");
    f.Button1Click();
    const QString shipped = QStringLiteral("215.933-----蜗杆齿根圆弧半径");
    ASSERT_EQ(f.Label8->text(), shipped) << "the shipped coefficients are those of the worked design";

    // Dedendum factor N1 from 1.2 to 1.3: hf = 11.844, df1 = 66.312.
    QTimer::singleShot(0, &f, [&] {
        TForm5& d = *f.Form5;
        d.DBGrid1->selectRow(1);
        d.DBEdit1->setText("1.3");
        d.Button1->click();
        d.Button2->click();
    });
    f.N13Click();
    ASSERT_EQ(fx.dialogs.messageTexts(), QStringList{"数据保存成功......"});
    // Results of the old rules never stay on screen under the new ones.
    EXPECT_EQ(f.Label8->text(), QStringLiteral("216.844-----蜗杆齿根圆弧半径")) << "saving recalculates";
    EXPECT_FALSE(f.Label50->isHidden());

    f.N15Click();
    EXPECT_TRUE(f.Label50->isHidden());
    EXPECT_EQ(f.Label8->text(), shipped) << "restoring recalculates";
    EXPECT_EQ(fx.dialogs.messages.size(), 1);
}
