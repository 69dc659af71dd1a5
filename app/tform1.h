// The main window: every function of the program is reached from here.
//
// Controls keep their numbered names and handlers are named after their
// control and event. The handlers are members of this class but are defined
// in the folders of their subsystems (calc/, rules/, documents/, support/);
// they stay thin and call widget-free functions.
#pragma once

#include "core/design_form.h"
#include "core/design_record.h"
#include "app/dialog_seam.h"
#include "app/program.h"
#include "rules/rules_db.h"
#include "workbook/workbook.h"

#include <QMainWindow>

class QAction;
class QCheckBox;
class QColor;
class QComboBox;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QTimer;
class QToolBar;
class QToolButton;

namespace tpworm {

class DesignTracker;
class TForm2;
class TForm5;
class TForm6;
class TForm7;

class TForm1 : public QMainWindow {
    Q_OBJECT

public:
    explicit TForm1(const ProgramContext& context);
    ~TForm1() override;

    // Creation handler: run once, right after construction, before the
    // secondary windows exist.
    void FormCreate();
    // Creates TForm2, TForm5, TForm6 and TForm7, in that order.
    void createSecondaryWindows();

    // The design record of this process.
    DesignRecord Design;
    // The design part of the form as plain values: the calc/ handlers copy
    // the fields in, run the core's command and copy what changed back out
    // (calc/form_adapter.cpp). ModelDepth is non-zero while they copy out, so
    // the change handlers those writes fire do not run the command again.
    core::DesignForm DesignModel;
    int ModelDepth = 0;
    // Whether the results on screen belong to the inputs (app/design_state.h).
    DesignTracker* Tracker = nullptr;

    // Secondary windows (null until created).
    TForm2* Form2 = nullptr;
    TForm5* Form5 = nullptr;
    TForm6* Form6 = nullptr;
    TForm7* Form7 = nullptr;

    // ---- Controls -------------------------------------------------------
    QLineEdit* Edit1 = nullptr;
    QLineEdit* Edit2 = nullptr;
    QLineEdit* Edit3 = nullptr;
    QLineEdit* Edit4 = nullptr;
    QLineEdit* Edit5 = nullptr;
    QLineEdit* Edit6 = nullptr;
    QLineEdit* Edit7 = nullptr;
    QLineEdit* Edit8 = nullptr;
    QLineEdit* Edit9 = nullptr;
    QLineEdit* Edit10 = nullptr;
    QLineEdit* Edit11 = nullptr;
    QLineEdit* Edit12 = nullptr;
    QLineEdit* Edit13 = nullptr;

    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* Label3 = nullptr;
    QLabel* Label4 = nullptr;
    QLabel* Label5 = nullptr;
    QLabel* Label6 = nullptr;
    QLabel* Label7 = nullptr;
    QLabel* Label8 = nullptr;
    QLabel* Label9 = nullptr;
    QLabel* Label10 = nullptr;
    QLabel* Label11 = nullptr;
    QLabel* Label12 = nullptr;
    QLabel* Label13 = nullptr;
    QLabel* Label14 = nullptr;
    QLabel* Label15 = nullptr;
    QLabel* Label16 = nullptr;
    QLabel* Label17 = nullptr;
    QLabel* Label18 = nullptr;
    QLabel* Label19 = nullptr;
    QLabel* Label20 = nullptr;
    QLabel* Label21 = nullptr;
    QLabel* Label22 = nullptr;
    QLabel* Label23 = nullptr;
    QLabel* Label24 = nullptr;
    QLabel* Label25 = nullptr;
    QLabel* Label26 = nullptr;
    QLabel* Label27 = nullptr;
    QLabel* Label28 = nullptr;
    QLabel* Label29 = nullptr;
    QLabel* Label30 = nullptr;
    QLabel* Label31 = nullptr;
    QLabel* Label32 = nullptr;
    QLabel* Label33 = nullptr;
    QLabel* Label34 = nullptr;
    QLabel* Label35 = nullptr;
    QLabel* Label36 = nullptr;
    QLabel* Label37 = nullptr;
    QLabel* Label38 = nullptr;
    QLabel* Label40 = nullptr;
    QLabel* Label41 = nullptr;
    QLabel* Label42 = nullptr;
    QLabel* Label43 = nullptr;
    QLabel* Label44 = nullptr;
    QLabel* Label45 = nullptr;
    QLabel* Label46 = nullptr;
    QLabel* Label47 = nullptr;
    QLabel* Label48 = nullptr;
    QLabel* Label49 = nullptr;
    QLabel* Label50 = nullptr;
    QLabel* Label51 = nullptr;
    QLabel* Label52 = nullptr;
    QLabel* Label53 = nullptr;
    QLabel* WarningsLine = nullptr; // the findings of the last calculation, red, under the result groups

    QComboBox* ComboBox1 = nullptr;
    QCheckBox* CheckBox1 = nullptr; // "取整数"
    QCheckBox* CheckBox2 = nullptr; // "标准侧隙"

    QGroupBox* GroupBox1 = nullptr; // worm
    QGroupBox* GroupBox2 = nullptr; // hob
    QGroupBox* GroupBox3 = nullptr; // wheel
    QGroupBox* GroupBox4 = nullptr; // modification
    QGroupBox* GroupBox5 = nullptr; // recommended parameters
    QGroupBox* GroupBox6 = nullptr; // drive characteristics

    QFrame* Panel1 = nullptr;
    QToolButton* SpeedButton2 = nullptr; // calculate
    QToolButton* SpeedButton3 = nullptr; // edit
    QToolButton* SpeedButton4 = nullptr; // confirm
    QPushButton* Button1 = nullptr;      // the calculation, never pressed by the user

    QToolBar* ToolBar1 = nullptr;
    QToolButton* ToolButton15 = nullptr;
    QToolButton* ToolButton3 = nullptr;
    QToolButton* ToolButton11 = nullptr;
    QToolButton* ToolButton5 = nullptr;
    QToolButton* ToolButton1 = nullptr;
    QToolButton* ToolButton4 = nullptr;
    QToolButton* ToolButton7 = nullptr;
    QToolButton* ToolButton8 = nullptr;
    QToolButton* ToolButton9 = nullptr;
    QToolButton* ToolButton10 = nullptr;
    QToolButton* ToolButton12 = nullptr;
    QToolButton* ToolButton13 = nullptr;

    QMenu* N1 = nullptr;  // "文件"
    QMenu* N7 = nullptr;  // "设置"
    QMenu* df1 = nullptr; // "更新"
    QMenu* N19 = nullptr; // "设计手册"
    QMenu* N25 = nullptr; // "帮助"
    QAction* N11 = nullptr;
    QAction* N12 = nullptr;
    QAction* N3 = nullptr;
    QAction* N14 = nullptr;
    QAction* N4 = nullptr;
    QAction* N5 = nullptr;
    QAction* N6 = nullptr;
    QAction* N13 = nullptr;
    QAction* N15 = nullptr;
    QAction* N16 = nullptr;
    QAction* N17 = nullptr;
    QAction* N18 = nullptr;
    QAction* N20 = nullptr;
    QAction* N21 = nullptr;
    QAction* N22 = nullptr;
    QAction* N23 = nullptr;
    QAction* N24 = nullptr;
    QAction* N26 = nullptr;
    QAction* N2 = nullptr;

    QTimer* Timer1 = nullptr; // 500 ms
    QTimer* Timer2 = nullptr; // 2000 ms

    FileDialog SaveDialog1; // exports
    FileDialog OpenDialog1; // design files
    FileDialog SaveDialog2;
    FileDialog OpenDialog2; // rule sets
    FileDialog SaveDialog3;

    // Rules database: one connection and its four tables.
    rules::RulesConnection ADOConnection1;
    rules::RulesTable ADOTable1; // nzhi
    rules::RulesTable ADOTable2; // grade table (6ji, 7ji or 8ji)
    rules::RulesTable ADOTable3; // xiuyuanchangdu
    rules::RulesTable ADOTable4; // xiuyuan

    // The single workbook-engine instance.
    workbook::Workbook Workbook1;

    // ---- Program context ----------------------------------------------------
    const ProgramContext& context() const { return context_; }
    QString programDir() const;              // with a trailing separator
    QString programFile(const QString& name) const; // programDir() + name
    QString userFile(const QString& name) const;    // a file the program writes (db1.mdb, gg, v-up.txt)
    QString rulesDatabasePath() const;       // db1.mdb, or the --rules override
    DialogSeam& dialogs() const { return *context_.dialogs; }
    Desktop& desktop() const { return *context_.desktop; }
    // A plain message box with an OK button (caption empty: the window title).
    void showMessage(const QString& text, const QString& caption = QString());
    // A warning box with Yes and No; true for Yes.
    bool askYesNo(const QString& text);
    // Whether the red warning background is set on a result label.
    static bool isWarning(const QLabel* label);
    // Asks "数据尚未保存，是否保存？" (Yes / No / Cancel) while the design is
    // unsaved and saves on Yes; true when the design may be left
    // (app/leave_design.cpp).
    bool confirmLeavingDesign();

public Q_SLOTS:
    // Lifecycle (app/).
    void FormShow();
    void ToolButton15Click(); // new design
    void N6Click();           // "退出"
    void N26Click();          // "关于本软件"

    // Drive data entry, grade, calculation, editing (calc/).
    void Edit1Change();
    void Edit3Change();
    void Edit4Change();
    void ComboBox1Change();
    void CheckBox2Click();
    void Button1Click();
    void SpeedButton2Click();
    void SpeedButton3Click();
    void SpeedButton4Click();
    void CheckBox1Click();

    // Rules (rules/).
    void LoadRuleCoefficients(); // first step of FormShow
    void N13Click();
    void N15Click();
    void N16Click();
    void N17Click();

    // Design documents (documents/).
    void N11Click();
    void ToolButton3Click();
    void N5Click();
    void ToolButton11Click();
    void ToolButton13Click();
    void ToolButton5Click();
    void ToolButton1Click();
    void ToolButton4Click();
    void N3Click();
    void N1Popup(); // the "文件" menu opens: the menu exports' server starts early
    void N14Click();
    void N4Click();
    void Button6Click();
    void Button13Click();
    void Button11Click();

    // Manual, help, update (support/).
    void RunUpdateCheck(); // second step of FormShow
    void N20Click();
    void N21Click();
    void N22Click();
    void N23Click();
    void N24Click();
    void N2Click();
    void N18Click();
    void Timer1Timer();
    void Timer2Timer();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void createLayout();
    void createMenus();
    void createToolBar();
    void connectHandlers();

    ProgramContext context_;
};

// Sets a result label's caption and, for the three warning labels, its
// background (red to warn, otherwise the window's sky blue).
void setResultCaption(QLabel* label, const QString& caption);
void setWarning(QLabel* label, bool warn);
// The font colour of a group and of the fields inside it.
void setGroupFontColour(QGroupBox* group, const QColor& colour);

} // namespace tpworm
