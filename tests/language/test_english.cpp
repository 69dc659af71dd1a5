// The English interface: every caption translated, nothing clipped at the
// windows' sizes. The translation is the one the build compiled from
// data/translations, loaded as the program loads it.
#include "app/retranslate.h"
#include "app/tform6.h"
#include "common/gui_fixture.h"
#include "core/translation.h"
#include "rules/tform5.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionGroupBox>
#include <QToolButton>

#include <gtest/gtest.h>

using namespace tpworm;
using namespace tpworm::testing;

namespace {

bool hasChinese(const QString& text)
{
    for (const QChar c : text)
        if (c.unicode() >= 0x3000 && c != QChar(0x2191)) // the arrow of the hints is no word
            return true;
    return false;
}

// Texts of the window that a user reads, with the width they have; field
// values (the grade text, the hand) are data and stay as they are.
struct Shown {
    QString where;
    QString text;
    int needed;
    int available;
};

QList<Shown> shownTexts(QWidget* window)
{
    QList<Shown> shown;
    for (QWidget* w : window->findChildren<QWidget*>()) {
        if (!w->isVisibleTo(window))
            continue;
        const QFontMetrics fm = w->fontMetrics();
        if (auto* label = qobject_cast<QLabel*>(w); label && !label->text().isEmpty() && !label->wordWrap())
            shown.append({label->objectName(), label->text(), fm.horizontalAdvance(label->text()), label->contentsRect().width()});
        else if (auto* group = qobject_cast<QGroupBox*>(w); group && !group->title().isEmpty())
            shown.append({group->objectName(), group->title(), fm.horizontalAdvance(group->title()) + 16, group->width()});
        else if (auto* box = qobject_cast<QCheckBox*>(w); box && !box->text().isEmpty())
            shown.append({box->objectName(), box->text(), box->sizeHint().width(), box->width()});
        else if (auto* button = qobject_cast<QAbstractButton*>(w); button && !button->text().isEmpty()
                 && !(qobject_cast<QToolButton*>(w) && qobject_cast<QToolButton*>(w)->toolButtonStyle() == Qt::ToolButtonIconOnly))
            shown.append({button->objectName(), button->text(), fm.horizontalAdvance(button->text()), button->width()});
    }
    return shown;
}

void expectFits(QWidget* window)
{
    // A widget that grew with its caption still lies inside its parent.
    for (QWidget* w : window->findChildren<QWidget*>()) {
        QWidget* parent = w->parentWidget();
        if (!w->isVisibleTo(window) || w->isWindow() || !parent || !qobject_cast<QAbstractButton*>(w) && !qobject_cast<QLabel*>(w))
            continue;
        // (A widget wholly outside, like the calculation's own button, is never seen.)
        if (!parent->rect().intersects(w->geometry()))
            continue;
        EXPECT_TRUE(parent->rect().contains(w->geometry()))
            << w->objectName().toStdString() << " reaches outside " << parent->objectName().toStdString();
    }
    for (const Shown& s : shownTexts(window)) {
        EXPECT_FALSE(hasChinese(s.text)) << s.where.toStdString() << ": untranslated \"" << s.text.toStdString() << '"';
        EXPECT_LE(s.needed, s.available) << s.where.toStdString() << ": \"" << s.text.toStdString() << "\" is clipped";
    }
}

class English : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(installTranslations(*qApp, Language::English, QStringLiteral(TPWORM_PROGRAM_DIR)))
            << "tpworm_en.qm in the program directory";
        translateWindowsAsShown(*qApp);
    }
};

} // namespace

TEST_F(English, TheMainWindowAfterACalculationSpeaksEnglishAndNothingIsClipped)
{
    ProgramFixture fx;
    TForm1& f = fx.start();
    f.Edit1->setText("250");
    f.Edit3->setText("45");
    f.Edit4->setText("2");
    f.SpeedButton2Click();
    ASSERT_TRUE(f.GroupBox1->isVisible()) << "the design calculated";
    EXPECT_EQ(f.GroupBox1->title().trimmed(), "Worm");
    EXPECT_TRUE(f.Label8->text().endsWith("-----root arc radius")) << f.Label8->text().toStdString();
    for (QAction* menu : f.menuBar()->actions())
        EXPECT_FALSE(hasChinese(menu->text())) << menu->text().toStdString();
    expectFits(&f);
    f.grab().save(QStringLiteral(TPWORM_PROGRAM_DIR "/tests/english-main.png"));
}

TEST_F(English, TheSettingsDialogAndTheAboutWindowFit)
{
    ProgramFixture fx;
    TForm1& f = fx.start();
    bool ran = false;
    QTimer::singleShot(0, &f, [&] {
        ran = true;
        expectFits(f.Form5);
        f.Form5->grab().save(QStringLiteral(TPWORM_PROGRAM_DIR "/tests/english-settings.png"));
        f.Form5->Button2->click();
    });
    f.N13Click();
    EXPECT_TRUE(ran);

    f.Form6->show();
    expectFits(f.Form6);
    f.Form6->grab().save(QStringLiteral(TPWORM_PROGRAM_DIR "/tests/english-about.png"));
    f.Form6->close();
}

TEST_F(English, AFixedMessageIsTranslatedAndAFieldValueIsNot)
{
    EXPECT_EQ(uiText("数据尚未保存，是否保存？"), "The design has not been saved. Save it?");
    ProgramFixture fx;
    TForm1& f = fx.start();
    EXPECT_EQ(f.Edit10->text(), "右旋") << "the hand is data of the design file, not a caption";
    f.N2Click();
    ASSERT_FALSE(fx.desktop.opened.isEmpty());
    EXPECT_TRUE(fx.desktop.opened.last().endsWith("/help_en.htm")) << "the English help page";
}
