// Typing the drive data: the ratio, the clearing on error and the
// runs it causes, the basis hints, and when the change handlers run at all.
#include "calcflow_fixture.h"

#include <QLabel>
#include <QSignalSpy>

using tpworm::TForm1;
using tpworm::testing::CalcFlowTest;

namespace {

const QString kTeethStartsMessage = QStringLiteral("参数输入不合法，请输入合法参数.........");
const QString kCentreDistanceMessage = QStringLiteral("输入参数有误，请输入合法有效的数字.........");

} // namespace

class DriveEntry : public CalcFlowTest {};

TEST_F(DriveEntry, RatioFromTeethAndStarts)
{
    struct Case {
        const char* teeth;
        const char* starts;
        const char* ratio; // nullptr: the previous ratio stays
        bool rejected;     // message shown and both fields emptied
    };
    const Case cases[] = {
        {"40", "1", "40", false},
        {"40", "3", "13.3333333333333", false},
        {"41", "3", "13.6666666666667", false},
        {"405", "9", "45", false},
        {"999", "1", "999", false},        // no range check
        {"4.5", "1", "4.5", false},        // teeth read as a decimal number here
        {" 40", "2", "20", false},         // leading blanks are allowed
        {"1e2", "3", "33.3333333333333", false},
        {"-40", "4", "-10", false},
        {"40", "0", nullptr, true},        // division by zero
        {"0", "0", nullptr, true},         // zero by zero
        {"4x", "1", nullptr, true},
        {"40", "x", nullptr, true},
        {"40 ", "1", "40", false},         // trailing blanks too
    };
    TForm1& f = start();
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "teeth '" << c.teeth << "', starts '" << c.starts << "'");
        f.Edit3->clear();
        f.Edit4->clear();
        f.Edit2->setText("stale");
        program->dialogs.messages.clear();
        // Starts first, while the teeth are empty, so that one run sees both.
        f.Edit4->setText(c.starts);
        f.Edit3->setText(c.teeth);
        EXPECT_EQ(f.Edit2->text(), c.ratio ? QString(c.ratio) : QString("stale"));
        if (c.rejected) {
            EXPECT_EQ(messages(), QStringList{kTeethStartsMessage});
            EXPECT_EQ(f.Edit3->text(), "");
            EXPECT_EQ(f.Edit4->text(), "");
        } else {
            EXPECT_EQ(messages(), QStringList());
            EXPECT_EQ(f.Edit3->text(), c.teeth);
        }
    }
}

TEST_F(DriveEntry, ClearingOnErrorRerunsTheHandlersWhichFindEmptyFields)
{
    TForm1& f = start();
    type(f.Edit3, "40");
    ASSERT_EQ(f.Edit2->text(), "40");
    QSignalSpy teethChanges(f.Edit3, &QLineEdit::textChanged);
    QSignalSpy startsChanges(f.Edit4, &QLineEdit::textChanged);
    type(f.Edit4, "0"); // the deletion of "1" runs the handler once more, quietly
    // The error cleared both fields (each a change that ran its handler
    // again), and those runs stopped at the empty field: one message only.
    EXPECT_EQ(messages(), QStringList{kTeethStartsMessage});
    EXPECT_EQ(teethChanges.count(), 1);
    EXPECT_EQ(startsChanges.count(), 3); // "" , "0", "" again
    EXPECT_EQ(f.Edit3->text(), "");
    EXPECT_EQ(f.Edit4->text(), "");
    EXPECT_EQ(f.Edit2->text(), "40");

    // Typing into the cleared fields works again at once.
    type(f.Edit4, "3");
    type(f.Edit3, "41");
    EXPECT_EQ(f.Edit2->text(), "13.6666666666667");
    EXPECT_EQ(messages(), QStringList{kTeethStartsMessage});
}

TEST_F(DriveEntry, EmptyingAFieldLeavesTheLastRatio)
{
    TForm1& f = start();
    type(f.Edit3, "40");
    type(f.Edit4, "2");
    ASSERT_EQ(f.Edit2->text(), "20");
    f.Edit4->clear();
    EXPECT_EQ(f.Edit2->text(), "20");
    // Bad teeth while the starts are empty: nothing happens at all.
    type(f.Edit3, "4x");
    EXPECT_EQ(f.Edit3->text(), "4x");
    EXPECT_EQ(f.Edit2->text(), "20");
    EXPECT_EQ(messages(), QStringList());
}

TEST_F(DriveEntry, TypingRunsTheHandlerAtEveryKey)
{
    TForm1& f = start();
    type(f.Edit4, "2");
    // "-" alone is already a change, and no number: a negative tooth count
    // cannot be typed while the starts are filled.
    QTest::keyClicks(f.Edit3, "-40");
    EXPECT_EQ(messages(), QStringList{kTeethStartsMessage});
    EXPECT_EQ(f.Edit4->text(), "");
    EXPECT_EQ(f.Edit3->text(), "40"); // the keys after the clearing
}

TEST_F(DriveEntry, HandlersRunOnEveryRealChangeOfTextAndOnlyThen)
{
    TForm1& f = start();
    // Set by the program: the handler runs as for typing.
    f.Edit3->setText("40");
    EXPECT_EQ(f.Edit2->text(), "40");
    // The same text again is no change, so nothing recomputes the ratio.
    f.Edit2->setText("marker");
    f.Edit3->setText("40");
    f.Edit4->setText("1");
    EXPECT_EQ(f.Edit2->text(), "marker");
    f.Edit4->setText("4");
    EXPECT_EQ(f.Edit2->text(), "10");
    // Each typed key is a change.
    f.Edit3->clear();
    QTest::keyClick(f.Edit3, Qt::Key_6);
    EXPECT_EQ(f.Edit2->text(), "1.5");
    QTest::keyClick(f.Edit3, Qt::Key_2);
    EXPECT_EQ(f.Edit2->text(), "15.5");
    QTest::keyClick(f.Edit3, Qt::Key_Backspace);
    EXPECT_EQ(f.Edit2->text(), "1.5");
}

TEST_F(DriveEntry, BasisHintsOfTheCentreDistance)
{
    struct Case {
        double n0;
        const char* text;    // set once after "100" was set with the same N0
        const char* label46; // nullptr: unchanged
        const char* label47;
        bool message;
    };
    const Case cases[] = {
        {1, "250", "162", "190", false},   // 162.5 goes to the even 162
        {1, "90", "58", "68", false},      // 58.5 goes to 58
        {1, "170", "110", "129", false},   // 110.5 goes to 110
        {1, "2000", "1300", "1520", false}, // no range check
        {1, " 250 ", "162", "190", false},
        {0.875, "250", "162", "95", false},
        {0, "250", "162", "1", false},     // a^0 = 1
        {1, "-100", "-65", "-76", false},  // whole exponent: negative base allowed
        {0.875, "-100", "-65", nullptr, true}, // first hint set, second undefined
        {1, "12a", nullptr, nullptr, true},
        {1, "", nullptr, nullptr, false},  // emptied: both hints stay
        {1, "1e99", nullptr, nullptr, true}, // no whole number that large
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "N0 = " << c.n0 << ", centre distance '" << c.text << "'");
        TForm1& f = start();
        f.Design.RuleCoefficients[0] = c.n0;
        f.Edit1->setText("100");
        const QString before46 = f.Label46->text();
        const QString before47 = f.Label47->text();
        ASSERT_EQ(before46, "↑基础值：65");
        f.Edit1->setText(c.text);
        EXPECT_EQ(f.Label46->text(), c.label46 ? "↑基础值：" + QString(c.label46) : before46);
        EXPECT_EQ(f.Label47->text(), c.label47 ? "↑基础值：" + QString(c.label47) : before47);
        EXPECT_EQ(messages(), c.message ? QStringList{kCentreDistanceMessage} : QStringList());
    }
}

TEST_F(DriveEntry, HintsBeforeAnyInputAndAtEveryKeystroke)
{
    TForm1& f = start();
    EXPECT_EQ(f.Label46->text(), "↑0.65 * A");
    EXPECT_EQ(f.Label47->text(), "");
    const std::pair<QChar, const char*> keys[] = {{'5', "3"}, {'0', "32"}, {'0', "325"}};
    for (auto [key, basis] : keys) {
        QTest::keyClicks(f.Edit1, QString(key));
        EXPECT_EQ(f.Label46->text(), "↑基础值：" + QString(basis)) << f.Edit1->text().toStdString();
    }
    EXPECT_EQ(f.Label47->text(), "↑基础值：380");
    // A partial entry that is no number reports and keeps the hints.
    QTest::keyClicks(f.Edit1, ".");
    QTest::keyClicks(f.Edit1, "x");
    EXPECT_EQ(messages(), QStringList{kCentreDistanceMessage});
    EXPECT_EQ(f.Label46->text(), "↑基础值：325");
}
