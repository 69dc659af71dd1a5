// "方案比较": the candidate designs of the sweep for the drive data typed in
// the main window (the series of centre distances x the starts typed, the
// ratio and grade kept), with the key results side by side. A double-click
// loads a candidate into the main window as if typed.
#pragma once

#include <QDialog>

class QTableWidget;

namespace tpworm {

class TForm1;

class VariantsWindow : public QDialog {
    Q_OBJECT

public:
    explicit VariantsWindow(TForm1& form);

    // Runs the sweep for the main window's drive data and fills the table.
    void refresh();
    // Loads the candidate of that table row into the main window.
    void loadRow(int row);
    // Writes the table as CSV to a file chosen through the dialog seam.
    void saveAsCsv();

    QTableWidget* table() const { return table_; }

private:
    TForm1& form_;
    QTableWidget* table_;
};

// Adds the menu item and the tool-bar button that open the window.
void installVariants(TForm1& form);

} // namespace tpworm
