// Wiring of the main window's controls to their handlers.
//
// Qt's signals are chosen to fire as the program's events do: a field's
// change handler runs whenever its text really changes, typed or set by the
// program (textChanged); a check box's handler on every change of state, also
// by the program (toggled); the grade list's handler only when the user picks
// an item (activated), never when the program selects one.
#include "app/tform1.h"

#include "app/conveniences.h"
#include "app/tform6.h"
#include "rules/rules_sources.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QToolButton>

namespace tpworm {

void TForm1::connectHandlers()
{
    connect(Edit1, &QLineEdit::textChanged, this, &TForm1::Edit1Change);
    connect(Edit3, &QLineEdit::textChanged, this, &TForm1::Edit3Change);
    connect(Edit4, &QLineEdit::textChanged, this, &TForm1::Edit4Change);
    connect(ComboBox1, &QComboBox::activated, this, &TForm1::ComboBox1Change);
    connect(CheckBox2, &QCheckBox::toggled, this, &TForm1::CheckBox2Click);
    connect(CheckBox1, &QCheckBox::toggled, this, &TForm1::CheckBox1Click);
    connect(Button1, &QPushButton::clicked, this, &TForm1::Button1Click);
    connect(SpeedButton2, &QToolButton::clicked, this, &TForm1::SpeedButton2Click);
    connect(SpeedButton3, &QToolButton::clicked, this, &TForm1::SpeedButton3Click);
    connect(SpeedButton4, &QToolButton::clicked, this, &TForm1::SpeedButton4Click);

    connect(ToolButton15, &QToolButton::clicked, this, &TForm1::ToolButton15Click);
    connect(ToolButton3, &QToolButton::clicked, this, &TForm1::ToolButton3Click);
    connect(ToolButton11, &QToolButton::clicked, this, &TForm1::ToolButton11Click);
    connect(ToolButton5, &QToolButton::clicked, this, &TForm1::ToolButton5Click);
    connect(ToolButton1, &QToolButton::clicked, this, &TForm1::ToolButton1Click);
    connect(ToolButton4, &QToolButton::clicked, this, &TForm1::ToolButton4Click);
    connect(ToolButton7, &QToolButton::clicked, this, &TForm1::N21Click);
    connect(ToolButton8, &QToolButton::clicked, this, &TForm1::N20Click);
    connect(ToolButton9, &QToolButton::clicked, this, &TForm1::N22Click);
    connect(ToolButton10, &QToolButton::clicked, this, &TForm1::N23Click);
    connect(ToolButton12, &QToolButton::clicked, this, &TForm1::N24Click);
    connect(ToolButton13, &QToolButton::clicked, this, &TForm1::ToolButton13Click);

    connect(N11, &QAction::triggered, this, &TForm1::N11Click);
    // The menu exports wait for a spreadsheet server to start.
    connect(N3, &QAction::triggered, this, [this] { BusyCursor busy; N3Click(); });
    connect(N14, &QAction::triggered, this, [this] { BusyCursor busy; N14Click(); });
    connect(N4, &QAction::triggered, this, [this] { BusyCursor busy; N4Click(); });
    connect(N1, &QMenu::aboutToShow, this, &TForm1::N1Popup);
    connect(N5, &QAction::triggered, this, &TForm1::N5Click);
    connect(N6, &QAction::triggered, this, &TForm1::N6Click);
    connect(N13, &QAction::triggered, this, &TForm1::N13Click);
    connect(N15, &QAction::triggered, this, &TForm1::N15Click);
    connect(N16, &QAction::triggered, this, &TForm1::N16Click);
    connect(N17, &QAction::triggered, this, &TForm1::N17Click);
    connect(N18, &QAction::triggered, this, &TForm1::N18Click);
    connect(N20, &QAction::triggered, this, &TForm1::N20Click);
    connect(N21, &QAction::triggered, this, &TForm1::N21Click);
    connect(N22, &QAction::triggered, this, &TForm1::N22Click);
    connect(N23, &QAction::triggered, this, &TForm1::N23Click);
    connect(N24, &QAction::triggered, this, &TForm1::N24Click);
    connect(N26, &QAction::triggered, this, &TForm1::N26Click);
    connect(N2, &QAction::triggered, this, &TForm1::N2Click);
    // N12, the row of dashes under "文件", does nothing.
}

void TForm1::N26Click()
{
    if (Form6) {
        Form6->setRulesSources(rules::rulesSourcesText(rulesDatabasePath()));
        Form6->exec();
    }
}

} // namespace tpworm
