// "传动校核": the drive check of the calculated design under a duty typed by
// the user. The window reads the design record and never writes it; the
// relations are in rating/.
//
// The main window creates the commands once (installRatingCommands) and the
// window on first use; the window lives for the run, so the duty typed last
// is there again when it is reopened, and the design file saves it.
#pragma once

#include "rating/rating.h"

#include <QMap>
#include <QWidget>

#include <optional>

class QAction;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QToolButton;

namespace tpworm {

struct DutyInputs;

class TForm1;

class TFormRating : public QWidget {
    Q_OBJECT

public:
    explicit TFormRating(TForm1& main);

    // The duty as the fields hold it.
    rating::DutyTexts dutyTexts() const;
    void setDutyTexts(const rating::DutyTexts& duty);
    // The duty of the last check (or of the design file opened last); what
    // a save stores. None until the user has checked or a file brought one.
    const std::optional<rating::DutyTexts>& lastDuty() const { return lastDuty_; }
    void rememberDuty(const rating::DutyTexts& duty);

    // "校核": reads the duty, checks the design, shows the results; a bad
    // input is reported in a message and leaves no result on screen.
    void CheckButtonClick();
    // The design was recalculated or lost: results of the earlier one go.
    void designChanged();
    // Refills the material list from the rules database.
    void reloadMaterials();

    bool hasResult() const;
    // The caption of a result row's value ("T1", "eta", ...), for tests.
    QString resultText(const QString& key) const;
    bool resultIsRed(const QString& key) const;

    QLineEdit* PowerEdit = nullptr;
    QLineEdit* SpeedEdit = nullptr;
    QComboBox* MaterialBox = nullptr;
    QLineEdit* FrictionEdit = nullptr;
    QLineEdit* AmbientEdit = nullptr;
    QLineEdit* OilLimitEdit = nullptr;
    QLineEdit* HeatTransferEdit = nullptr;
    QLineEdit* AreaEdit = nullptr;
    QLineEdit* OtherEfficiencyEdit = nullptr;
    QLabel* AreaHint = nullptr;
    QPushButton* CheckButton = nullptr;
    QGroupBox* ResultGroup = nullptr;
    QLabel* WarningLabel = nullptr;

private:
    void createInputs();
    void createResults();
    void materialChanged();
    DutyInputs inputs() const;
    void showRating(const rating::Rating& r, const rating::Duty& duty);
    void setResult(const QString& key, const QString& text, bool red = false);

    TForm1& main_;
    std::optional<rating::DutyTexts> lastDuty_;
    QMap<QString, QLabel*> values_;
    QString tablesProblem_;
};

// The menu item "校核" → "传动校核" and its tool-bar button, enabled while the
// main window shows a calculated design. Called once by the main window.
void installRatingCommands(TForm1& main);
// Opens (first time: creates) the window.
void showRatingWindow(TForm1& main);
// The window of a main window, null until first opened.
TFormRating* ratingWindow(const TForm1& main);
// The duty a save stores (none until one was checked or opened), and the
// one an opened design file brought.
std::optional<rating::DutyTexts> savedDuty(const TForm1& main);
void rememberOpenedDuty(TForm1& main, const rating::DutyTexts& duty);

} // namespace tpworm
