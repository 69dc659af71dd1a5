// Whether the results on screen still belong to the inputs and rules they
// were calculated from.
//
// A result that no longer matches its inputs must never leave the program as
// if it did: a grade picked by the user or a reload of the rules calculates
// again at once, and while the recommended parameters are open for editing
// the save and export commands stay disabled and a note over the results says
// that they wait for "确定".
#pragma once

#include <QObject>
#include <QString>

#include <array>

class QLabel;

namespace tpworm {

class TForm1;

class DesignTracker final : public QObject {
    Q_OBJECT

public:
    // Created after the window's handlers are connected, so that its reaction
    // to a grade the user picks runs after the grade look-up.
    explicit DesignTracker(TForm1& form);

    // The geometry calculation (Button1Click) started / completed.
    void calculationStarted();
    void calculationCompleted();
    // "编辑" opened the recommended parameters; "确定" closes them.
    void editingStarted();
    void editingEnded();
    // The rule coefficients were loaded again (the show handler).
    void rulesReloaded();

    bool editing() const { return editing_; }
    // A completed calculation of exactly the inputs and rules now in force.
    bool resultsCurrent() const;
    // Work that closing would lose: a calculation not saved, or recommended
    // parameters being edited away from the last calculation's.
    bool unsavedWork() const;

    QLabel* note() const { return note_; }

    // A leave (new design, end of the program) the user has agreed to: the
    // window's close handler does not ask again.
    void setLeaveConfirmed() { leaveConfirmed_ = true; }
    bool leaveConfirmed() const { return leaveConfirmed_; }

private:
    // Everything a calculation reads or the documents print beside its
    // results: the field texts, the whole-number box, the grade tolerances
    // and the rule coefficients.
    struct Inputs {
        std::array<QString, 13> edits;
        bool wholeTeeth = false;
        std::array<QString, 6> tolerances;
        std::array<double, 16> coefficients{};
        friend bool operator==(const Inputs&, const Inputs&) = default;
    };
    Inputs currentInputs() const;
    void recalculateIfChanged();
    void disableSaveAndExport();
    void showNote();

    TForm1& form_;
    QLabel* note_ = nullptr;
    Inputs calculated_;
    bool haveResults_ = false;
    bool editing_ = false;
    bool leaveConfirmed_ = false;
};

// The note over the results while they wait for "确定".
inline const QString kResultsOutOfDate =
    QStringLiteral("推荐参数正在编辑，下方结果已过期：按“确定”重新计算后才能保存和导出。");

} // namespace tpworm
