// "方案比较": the candidate designs of the sweep for the drive data typed in
// the main window (the series of centre distances x the starts typed, the
// ratio and grade kept), with the key results side by side. A double-click
// loads a candidate into the main window as if typed.
//
// Under a duty the table also carries the drive check of every candidate
// (efficiency, output torque, housing surface, oil temperature, thermal
// verdict), so that the smallest centre distance that keeps the oil below its
// limit can be read off. The duty row above the table is prefilled from the
// duty last checked in "传动校核"; its other inputs (αs, S, ηo) are the ones
// that window holds. The window never changes the design on the screen.
#pragma once

#include "rating/rating.h"

#include <QDialog>

#include <optional>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableWidget;

namespace tpworm {

class TForm1;

class VariantsWindow : public QDialog {
    Q_OBJECT

public:
    explicit VariantsWindow(TForm1& form);

    // Runs the sweep for the main window's drive data and fills the table,
    // with the drive check of each candidate when the duty row holds a duty.
    void refresh();
    // Loads the candidate of that table row into the main window.
    void loadRow(int row);
    // Writes the table as CSV to a file chosen through the dialog seam.
    void saveAsCsv();
    // Fills the duty row from the duty last checked in "传动校核" when that
    // duty is new since the last fill; a duty typed here stays otherwise.
    void takeRememberedDuty();
    // The duty the table is rated under: the row's inputs over the ones the
    // drive check window holds (its defaults when it was never opened).
    rating::DutyTexts dutyTexts() const;

    QTableWidget* table() const { return table_; }
    // The column of a drive-check value: "eta", "T2", "S", "to", "thermal".
    static int ratingColumn(const QString& key);

    QLineEdit* PowerEdit = nullptr;
    QLineEdit* SpeedEdit = nullptr;
    QComboBox* MaterialBox = nullptr;
    QLineEdit* FrictionEdit = nullptr;
    QLineEdit* AmbientEdit = nullptr;
    QLineEdit* OilLimitEdit = nullptr;
    QPushButton* RateButton = nullptr;
    QLabel* DutyLine = nullptr; // what the rating columns show, or why they are empty

private:
    void createDutyRow();
    void reloadMaterials();
    void materialChanged();
    void setDutyRow(const rating::DutyTexts& duty);

    TForm1& form_;
    QTableWidget* table_;
    std::optional<rating::DutyTexts> prefilledFrom_;
};

// Adds the menu item and the tool-bar button that open the window.
void installVariants(TForm1& form);

} // namespace tpworm
