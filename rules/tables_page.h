// "表格": the page of the settings dialog where the user sees the range
// tables of the rules database, edits them, imports and exports them as CSV
// and says where their values come from.
//
// Edits stay in the page until "保存表格". Saving checks the whole table
// first and lists every problem with its row and column; nothing is written
// until all are mended, and then the table and its source are written in one
// transaction. The look-ups read the new values from their next run; the
// grade look-up is run at once so the grade texts follow.
#pragma once

#include "app/dialog_seam.h"
#include "rules/rules_sources.h"
#include "rules/rules_tables.h"

#include <QWidget>

class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QPushButton;
class QTableWidget;

namespace tpworm {

class TForm1;

class TablesPage final : public QWidget {
    Q_OBJECT
public:
    TablesPage(TForm1& mainWindow, QWidget* parent = nullptr);

    // Fills the list of tables from the database in use and shows the first
    // (or the one shown before). Run at every showing of the dialog.
    void load();
    // Drops unsaved edits (the dialog closes).
    void discard();
    bool hasUnsavedEdits() const { return dirty_; }

    // Shows the table; with unsaved edits of another table, asks first and
    // returns false when the user keeps them.
    bool showTable(const QString& table);
    QString currentTable() const { return layout_.name; }
    const rules::TableLayout& layout() const { return layout_; }

    void addRow();
    void deleteRow();
    void importCsv();
    void exportCsv();
    // Checks and writes the table; false when nothing was written.
    bool saveTable();

    // The grid's contents as the table would be written.
    rules::TableTexts gridData() const;

    QLabel* TableLabel = nullptr;
    QComboBox* TableBox = nullptr;     // the tables of the database
    QLabel* StateLabel = nullptr;      // date and whether the values are the shipped reference values
    QTableWidget* Grid = nullptr;
    QPushButton* AddRowButton = nullptr;
    QPushButton* DeleteRowButton = nullptr;
    QPushButton* ImportButton = nullptr;
    QPushButton* ExportButton = nullptr;
    QPushButton* SaveButton = nullptr;
    QLabel* SourceLabel = nullptr;
    QPlainTextEdit* SourceEdit = nullptr;
    QLabel* CoverageLabel = nullptr;
    QLineEdit* CoversAboveEdit = nullptr;
    QLineEdit* CoversUptoEdit = nullptr;
    QLabel* CoverageUnitLabel = nullptr;
    QListWidget* ProblemList = nullptr; // the problems of the last save or import, or what was done

    FileDialog OpenDialogCsv;
    FileDialog SaveDialogCsv;

private:
    void createLayout();
    void createButtons();
    void connectHandlers();
    void tableChosen(int index);
    void fillGrid(const rules::TableTexts& data);
    void showSource();
    void showProblems(const QList<rules::Problem>& problems, bool inGrid);
    void showInformation(const QString& text);
    void problemChosen(int index);
    bool readOnly() const;
    void message(const QString& text);

    TForm1& main_;
    rules::TableLayout layout_;
    rules::TableSource source_;
    QList<rules::Problem> problems_;
    bool dirty_ = false;
    bool filling_ = false;
};

} // namespace tpworm
