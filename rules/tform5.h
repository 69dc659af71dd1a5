// "计算设置": the settings dialog of the rule coefficients, and beside them
// the page of the range tables (rules/tables_page.h).
//
// The dialog has its own connection to the rules database and its own copy of
// table nzhi: edits of N stay in that copy until "保  存" writes them all in
// one transaction; closing the dialog by any means discards what was not saved,
// on either page.
#pragma once

#include <QDialog>
#include <QSqlTableModel>

class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTabWidget;
class QTableView;

namespace tpworm {

class TForm1;
class TablesPage;

// Table nzhi in stored order (rowid), as the main window reads it.
class RulesTableModel : public QSqlTableModel {
    Q_OBJECT
public:
    using QSqlTableModel::QSqlTableModel;

protected:
    QString orderByClause() const override;
};

class TForm5 : public QDialog {
    Q_OBJECT
public:
    TForm5(TForm1& mainWindow, QWidget* parent = nullptr);
    ~TForm5() override;

    // Opens the dialog's connection and table on the first row; on failure
    // reports it and closes the dialog. Run at every showing.
    void FormShow();
    void Button1Click(); // "保  存"
    void Button2Click(); // "关  闭"
    // Discards unsaved edits and closes the table and the connection; run
    // however the dialog closes.
    void FormClose();
    // Closes the dialog's table and connection (before db1.mdb is replaced).
    void closeDatabase();

    // The edits not yet saved.
    bool hasUnsavedEdits() const;

    QTabWidget* PageControl1 = nullptr; // "系数" and "表格"
    QWidget* TabSheet1 = nullptr;       // the coefficients
    TablesPage* TabSheet2 = nullptr;    // the range tables
    QGroupBox* GroupBox1 = nullptr;  // "  参数设置  "
    QLabel* Label1 = nullptr;        // "N值："
    QLineEdit* DBEdit1 = nullptr;    // column N of the current row
    QLabel* DBText1 = nullptr;       // column JSGS of the current row
    QTableView* DBGrid1 = nullptr;   // every column of nzhi
    QPushButton* Button1 = nullptr;  // "保  存"
    QPushButton* Button2 = nullptr;  // "关  闭"
    RulesTableModel* ADOTable1 = nullptr;

public Q_SLOTS:
    void done(int result) override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void createLayout();
    void createGrid();
    void connectHandlers();
    void openTable();
    void setColumnTitles();
    // Shows row of the table in the edit field and the text line.
    void showRow(int row);
    // Writes the edit field into column N of the row shown; false when its
    // text is not a number (nothing is written then).
    bool finishEdit();
    void currentRowChanged(int row);
    void message(const QString& text);

    TForm1& main_;
    QString connectionName_;
    int row_ = -1;        // the row shown in the edit field
    int nColumn_ = -1;    // position of column N
    int ruleColumn_ = -1; // position of column JSGS
    QString shownText_;   // the text of N put into the edit field
};

} // namespace tpworm
