// The design part of the main window as plain values: a presentation model
// of the form's texts, check boxes, captions and enabled states, with one
// sequence per command. The window's handlers copy the field texts in, call
// the command here and copy what changed back out; tpworm-cli and the batch
// run the same commands on a DesignForm with no window at all.
//
// A command runs exactly what the window's handler runs, in the same order:
// where the handler sets a field text whose change handler then runs (a text
// that really changes), the command here runs that handler too; a check box
// that changes runs its click handler; selecting a grade by program runs
// nothing. Message-box texts are collected in messages(), in order.
#pragma once

#include "core/translation.h"

#include "core/design_record.h"
#include "core/results.h"
#include "core/rules_data.h"

#include <QByteArray>
#include <QJsonObject>
#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>

#include <array>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace tpworm::core {

// The main window's fields by role; Edit1 ... Edit13 in this order.
enum class Field : int {
    CentreDistance,    // Edit1
    Ratio,             // Edit2
    WheelTeeth,        // Edit3
    WormStarts,        // Edit4
    MainBase,          // Edit5
    TipEccentricity,   // Edit6
    ReferenceDiameter, // Edit7
    Backlash,          // Edit8
    GradeText,         // Edit9
    Hand,              // Edit10
    EntryRelief,       // Edit11
    ExitRelief,        // Edit12
    GrindingIncrement, // Edit13
};
inline constexpr int kFieldCount = 13;
// "Edit1" ... "Edit13".
QString fieldControlName(Field field);
// The field of a control name "Edit1" ... "Edit13"; nothing for another text.
std::optional<Field> fieldOfControlName(const QString& name);

// The five result groups in the order the listing prints them, each with its
// caption and its labels in the window's order (the order of the JSON keys
// does not matter, the listing's does).
struct ResultGroup {
    const char* name;  // "GroupBox6"
    const char* title; // as the group box shows it
    std::span<const int> labels;
};
std::span<const ResultGroup> resultGroups();
// The caption a result label has at program start.
QString initialCaption(int label);

// The caption and the warning red of one result label.
struct LabelState {
    QString caption;
    bool red = false;
};

// The grade look-up's texts of the grade "6", "7" or "8".
inline const QStringList kGrades = {QStringLiteral("6"), QStringLiteral("7"), QStringLiteral("8")};

class DesignForm {
public:
    // The form as the program starts it.
    DesignForm();

    // ---- State ------------------------------------------------------------
    const QString& text(Field field) const { return fields_[int(field)]; }
    const std::array<QString, kFieldCount>& texts() const { return fields_; }
    int gradeIndex() const { return gradeIndex_; } // -1: none selected
    QString grade() const { return gradeIndex_ < 0 ? QString() : kGrades.value(gradeIndex_); }
    bool standardBacklash() const { return standardBacklash_; } // "标准侧隙"
    bool wholeTeeth() const { return wholeTeeth_; }             // "取整数"

    // Enabled and shown states of the controls the commands change.
    bool driveDataEnabled() const { return driveDataEnabled_; }       // Edit1, Edit3, Edit4
    bool calculateEnabled() const { return calculateEnabled_; }       // SpeedButton2
    bool editEnabled() const { return editEnabled_; }                 // SpeedButton3
    bool confirmEnabled() const { return confirmEnabled_; }           // SpeedButton4
    bool recommendedEditable() const { return recommendedEditable_; } // GroupBox5 enabled, black
    bool resultsShown() const { return resultsShown_; }               // GroupBox1/2/3/4/6
    bool wholeTeethShown() const { return wholeTeethShown_; }         // CheckBox1
    bool exportsEnabled() const { return exportsEnabled_; }           // save and the three exports

    // Result labels by number (24, 23, 8, ...; see resultLabels()).
    const LabelState& label(int number) const;
    QString mainBaseHint() const { return mainBaseHint_; }   // Label46
    QString referenceHint() const { return referenceHint_; } // Label47
    bool rulesModified() const { return rulesModified_; }    // Label50 shown

    // The design record: the calculated values, the grade tolerance texts
    // and the coefficients in force.
    const DesignValues& design() const { return design_; }
    DesignValues& design() { return design_; }
    // The named results of the last calculation that ran (partly written
    // when it faulted part-way).
    const Results& results() const { return results_; }
    // True only when a calculation of this form completed and its results
    // are shown.
    bool calculated() const { return lastCalculationCompleted_ && resultsShown_; }
    // Calculations completed so far (a window marks the design unsaved on each).
    int completedCalculations() const { return completedCalculations_; }
    // The findings of the last completed calculation that make the design
    // doubtful (impossible geometry, data outside the valid range); empty when
    // none or when the last calculation did not complete.
    const QStringList& warnings() const { return warnings_; }
    // Every message-box text so far, in order.
    const QStringList& messages() const { return messages_; }
    QStringList takeMessages();
    // A message of the run outside the form's commands (a failed rules load).
    void addMessage(const QString& text) { messages_.append(text); }

    // The grade table the grade look-up reads ("7ji" at start; an invalid
    // grade keeps the previous one).
    const QString& gradeTable() const { return gradeTable_; }
    // The backlash text the edit command remembered.
    const QString& backlashBeforeEdit() const { return backlashBeforeEdit_; }

    // ---- Copy-in from a window (no handler runs) ---------------------------
    void assignText(Field field, const QString& text) { fields_[int(field)] = text; }
    void assignGradeIndex(int index) { gradeIndex_ = index; }
    void assignStandardBacklash(bool on) { standardBacklash_ = on; }
    void assignWholeTeeth(bool on) { wholeTeeth_ = on; }
    void assignBacklashBeforeEdit(const QString& text) { backlashBeforeEdit_ = text; }
    void assignRulesModified(bool on) { rulesModified_ = on; }
    void assignGradeTable(const QString& table) { gradeTable_ = table; }
    void assignHints(const QString& mainBase, const QString& reference)
    {
        mainBaseHint_ = mainBase;
        referenceHint_ = reference;
    }
    // The enabled and shown states as a window has them now.
    struct ControlStates {
        bool driveDataEnabled, calculateEnabled, editEnabled, confirmEnabled;
        bool recommendedEditable, resultsShown, wholeTeethShown, exportsEnabled;
    };
    ControlStates controlStates() const
    {
        return {driveDataEnabled_, calculateEnabled_,    editEnabled_,     confirmEnabled_,
                recommendedEditable_, resultsShown_, wholeTeethShown_, exportsEnabled_};
    }
    void assignControlStates(const ControlStates& s)
    {
        driveDataEnabled_ = s.driveDataEnabled;
        calculateEnabled_ = s.calculateEnabled;
        editEnabled_ = s.editEnabled;
        confirmEnabled_ = s.confirmEnabled;
        recommendedEditable_ = s.recommendedEditable;
        resultsShown_ = s.resultsShown;
        wholeTeethShown_ = s.wholeTeethShown;
        exportsEnabled_ = s.exportsEnabled;
    }
    // Calculations run so far, completed or not (a window rewrites the result
    // captions after each).
    int calculationsRun() const { return calculationsRun_; }

    // ---- As a user at the window (setters run the change handlers) ---------
    void setText(Field field, const QString& text);
    void setStandardBacklash(bool on);
    void setWholeTeeth(bool on);
    void selectGrade(int index); // runs nothing

    // ---- The handlers, named as the window's ------------------------------
    // rules: where the look-ups go (the window: per use; a run: in memory).
    void Edit1Change(rules::RulesSource& rules);      // centre distance typed
    void Edit3Change();                               // teeth typed
    void Edit4Change() { Edit3Change(); }             // starts typed
    void ComboBox1Change(rules::RulesSource& rules);  // the grade look-up
    void CheckBox2Click(rules::RulesSource& rules) { ComboBox1Change(rules); }
    void SpeedButton2Click(rules::RulesSource& rules); // the calculate command
    void Button1Click();                               // the calculation
    void SpeedButton3Click();                          // edit
    void SpeedButton4Click(rules::RulesSource& rules); // confirm
    void CheckBox1Click() { Button1Click(); }
    // Restores a design file's texts as the open command does (the drive
    // data locked, editing offered, calculated).
    void restoreDesignFile(const std::array<QString, kFieldCount>& edits, int gradeIndex, bool standardBacklash,
                           bool wholeTeeth, rules::RulesSource& rules);

    // The rules source the setters' handlers use; set before a setter runs a
    // handler that looks up (a run sets it once).
    void useRules(rules::RulesSource* rules) { rules_ = rules; }

private:
    // In the language in force, as the window and the command line show it.
    void message(const QString& text) { messages_.append(uiText(text)); }
    rules::RulesSource& rulesSource();
    void runTextHandler(Field field);
    void showResults(const Results& results);

    std::array<QString, kFieldCount> fields_;
    int gradeIndex_ = 1;
    bool standardBacklash_ = true;
    bool wholeTeeth_ = false;
    bool driveDataEnabled_ = true;
    bool calculateEnabled_ = true;
    bool editEnabled_ = false;
    bool confirmEnabled_ = false;
    bool recommendedEditable_ = false;
    bool resultsShown_ = true;
    bool wholeTeethShown_ = false;
    bool exportsEnabled_ = false;
    std::array<LabelState, 54> labels_;
    QString mainBaseHint_;
    QString referenceHint_;
    bool rulesModified_ = false;
    DesignValues design_;
    Results results_;
    bool lastCalculationCompleted_ = false;
    int completedCalculations_ = 0;
    int calculationsRun_ = 0;
    QStringList warnings_;
    QStringList messages_;
    QString gradeTable_ = QStringLiteral("7ji");
    QString backlashBeforeEdit_;
    rules::RulesSource* rules_ = nullptr;
};

// The findings of a completed calculation that make the design doubtful:
// negative tip widths of worm or hob, a negative main base circle or
// backlash, a centre distance or ratio outside the range the design method is
// given for. Each a sentence for the user.
QStringList designWarnings(const DesignValues& design, const Results& results);

// ---- One design as tpworm-cli runs it ------------------------------------------

// What `tpworm-cli design` is given.
struct DesignRequest {
    QString centreDistance;
    QString teeth;
    QString starts = QStringLiteral("1");
    QString grade = QStringLiteral("7"); // "6", "7" or "8"
    bool standardBacklash = true;
    bool wholeTeeth = false;
    // FIELD=TEXT pairs (Edit5 ... Edit13 in practice), set in the order given
    // while the recommended parameters are open for editing.
    QList<QPair<Field, QString>> overrides;
    // Replaces the sixteen coefficients after the load.
    std::optional<rules::Coefficients> coefficients;
};

// What `tpworm-cli calc` is given.
struct CalcRequest {
    QList<QPair<Field, QString>> fields; // set in the order given, as typed
    bool wholeTeeth = false;
    std::optional<rules::Coefficients> coefficients;
};

// A form started as the program starts: the coefficients loaded from the
// rules (a failed load leaves its message and nothing else runs), the notice
// of modified rules, then the override. False when the load failed.
bool startForm(DesignForm& form, const rules::RulesData& rules,
               const std::optional<rules::Coefficients>& coefficients);

// Runs exactly what `tpworm-cli design` does, against rules already in
// memory: picks the grade, sets the standard-backlash box, types the drive
// data, presses the calculate command; with overrides edit, set, confirm;
// with whole teeth ticks the box at the end.
DesignForm runDesign(const DesignRequest& request, const rules::RulesData& rules);
// The same for `tpworm-cli calc`.
DesignForm runCalc(const CalcRequest& request, const rules::RulesData& rules);

// The document `tpworm-cli design --json` prints for the form (indented
// JSON, UTF-8, ending in a newline), and the object it is made of (to which a
// caller may add keys of its own).
QByteArray designJson(const DesignForm& form);
QJsonObject designJsonObject(const DesignForm& form);
// The same document on one line, as QJsonDocument writes it compact (no
// newline at the end), with the key "row" added when row is given.
QByteArray designJsonLine(const DesignForm& form, std::optional<long long> row = std::nullopt);
// The same line appended to out, with one key of the caller's own (extraKey,
// plain ASCII, null for none) whose value is already written as compact JSON,
// placed where a JSON object sorts it among the others.
void appendDesignJsonLine(std::string& out, const DesignForm& form, std::optional<long long> row,
                          const char* extraKey = nullptr, std::string_view extraJson = {});
// A text as a JSON string holds it between its quotes, in UTF-8, with the
// escapes QJsonDocument writes.
void appendJsonText(std::string& out, QStringView text);
// The readable listing `tpworm-cli design` prints without --json.
QByteArray designListing(const DesignForm& form);

} // namespace tpworm::core
