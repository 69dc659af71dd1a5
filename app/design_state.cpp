#include "app/design_state.h"

#include "app/tform1.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QToolButton>

namespace tpworm {

DesignTracker::DesignTracker(TForm1& form) : QObject(&form), form_(form)
{
    setObjectName(QStringLiteral("DesignTracker"));
    // In the place of the result groups, which editing hides; plain text in
    // the window's font colour, so that no result label changes colour.
    note_ = new QLabel(kResultsOutOfDate, form.centralWidget());
    note_->setObjectName(QStringLiteral("ResultsOutOfDate"));
    note_->setTextFormat(Qt::PlainText);
    note_->setGeometry(8, 280, 904, 16);
    note_->hide();

    // Only what the user does: a grade set by the program (opening a file,
    // "确定" unchecking the standard backlash) is followed by a calculation
    // of its own.
    connect(form.ComboBox1, &QComboBox::activated, this, &DesignTracker::recalculateIfChanged);
    connect(form.CheckBox2, &QCheckBox::clicked, this, &DesignTracker::recalculateIfChanged);
}

DesignTracker::Inputs DesignTracker::currentInputs() const
{
    const std::array<const QLineEdit*, 13> edits{form_.Edit1, form_.Edit2, form_.Edit3, form_.Edit4, form_.Edit5,
                                                 form_.Edit6, form_.Edit7, form_.Edit8, form_.Edit9, form_.Edit10,
                                                 form_.Edit11, form_.Edit12, form_.Edit13};
    Inputs inputs;
    for (std::size_t i = 0; i < edits.size(); ++i)
        inputs.edits[i] = edits[i]->text();
    inputs.wholeTeeth = form_.CheckBox1->isChecked();
    const DesignRecord& d = form_.Design;
    inputs.tolerances = {d.GradeTolerance3, d.GradeTolerance4,  d.GradeTolerance8,
                         d.GradeTolerance9, d.GradeTolerance10, d.GradeTolerance11};
    inputs.coefficients = d.RuleCoefficients;
    return inputs;
}

void DesignTracker::calculationStarted() { haveResults_ = false; }

void DesignTracker::calculationCompleted()
{
    calculated_ = currentInputs();
    haveResults_ = true;
    // A calculation while the group is still open (a design opened during
    // editing) does not end the editing.
    if (editing_)
        disableSaveAndExport();
}

void DesignTracker::editingStarted()
{
    editing_ = true;
    disableSaveAndExport();
    showNote();
}

void DesignTracker::editingEnded()
{
    editing_ = false;
    showNote();
}

void DesignTracker::rulesReloaded() { recalculateIfChanged(); }

bool DesignTracker::resultsCurrent() const { return haveResults_ && !editing_ && currentInputs() == calculated_; }

bool DesignTracker::unsavedWork() const
{
    if (!form_.Design.DesignSaved)
        return true;
    return editing_ && currentInputs() != calculated_;
}

void DesignTracker::recalculateIfChanged()
{
    // While editing, "确定" calculates; without results there is nothing that
    // could be out of date.
    if (!haveResults_ || editing_ || currentInputs() == calculated_)
        return;
    form_.Button1Click();
}

void DesignTracker::disableSaveAndExport()
{
    for (QToolButton* button : {form_.ToolButton11, form_.ToolButton5, form_.ToolButton1, form_.ToolButton4})
        button->setEnabled(false);
    for (QAction* item : {form_.N5, form_.N3, form_.N14, form_.N4})
        item->setEnabled(false);
}

void DesignTracker::showNote() { note_->setVisible(editing_); }

} // namespace tpworm
