// Starts the real main window offscreen on a temporary program directory
// whose db1.mdb is the small known rules database of rules_fixture.h.
#pragma once

#include "common/gui_fixture.h"
#include "rules_fixture.h"

#include <QComboBox>
#include <QLineEdit>
#include <QTest>
#include <QToolButton>

#include <gtest/gtest.h>

#include <memory>

namespace tpworm::testing {

class CalcFlowTest : public ::testing::Test {
protected:
    // A fresh program directory with the rules written as its db1.mdb; the
    // next start() uses it.
    ProgramFixture& prepare()
    {
        program = std::make_unique<ProgramFixture>();
        rules.write(program->path("db1.mdb"));
        prepared_ = true;
        return *program;
    }

    // Starts the program (in a fresh directory unless prepare() made one)
    // and sets the fixture's coefficients, so that N0 does not depend on how
    // they are loaded.
    TForm1& start()
    {
        if (!prepared_)
            prepare();
        prepared_ = false;
        TForm1& f = program->start();
        f.Design.RuleCoefficients = kFixtureCoefficients;
        EXPECT_EQ(messages(), QStringList()) << "the program did not start quietly on the fixture rules";
        program->dialogs.messages.clear();
        return f;
    }

    QStringList messages() const { return program->dialogs.messageTexts(); }

    // Replaces a field's text as a user does: select everything, delete, type
    // each character (every keystroke is a change of text).
    static void type(QLineEdit* field, const QString& text)
    {
        field->selectAll();
        QTest::keyClick(field, Qt::Key_Delete);
        QTest::keyClicks(field, text);
    }

    // Picks a grade from the list with the keyboard, as a user does.
    static void pickGrade(QComboBox* grades, const QString& grade)
    {
        const int target = grades->findText(grade);
        while (grades->currentIndex() < target)
            QTest::keyClick(grades, Qt::Key_Down);
        while (grades->currentIndex() > target)
            QTest::keyClick(grades, Qt::Key_Up);
    }

    // Types the drive data: starts before teeth, so that the ratio is
    // computed as the teeth are typed.
    static void enter(TForm1& f, const QString& centreDistance, const QString& teeth, const QString& starts)
    {
        type(f.Edit1, centreDistance);
        type(f.Edit4, starts);
        type(f.Edit3, teeth);
    }
    static void press(QToolButton* button) { QTest::mouseClick(button, Qt::LeftButton); }
    // The calculate command.
    static void press(TForm1& f) { press(f.SpeedButton2); }
    static void calculate(TForm1& f, const QString& centreDistance, const QString& teeth, const QString& starts)
    {
        enter(f, centreDistance, teeth, starts);
        press(f);
    }

    RulesFixture rules = RulesFixture::standard();
    std::unique_ptr<ProgramFixture> program;

private:
    bool prepared_ = false;
};

} // namespace tpworm::testing
