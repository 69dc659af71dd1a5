// The window's drawing commands: the menu "图纸" (the worm, wheel and hob
// sheets to PDF, DXF, SVG or a printer, and the title-block fields) and the
// design report ("设计报告") in that menu and on the tool bar. Enabled while
// a calculated design is on the screen, as the table exports are.
#pragma once

#include "drawing/part_sheets.h"
#include "drawing/render.h"
#include "drawing/shown_design.h"

#include <QObject>

class QAction;
class QMenu;
class QPrinter;
class QToolButton;

namespace tpworm {

class TForm1;

// The design as the window shows it now: captions of the five result groups,
// field texts, grade, rules database.
drawing::ShownDesign shownDesign(const TForm1& form);

// Paints a sheet on a printer's pages (the print preview's painting).
void printSheet(QPrinter& printer, const drawing::Sheet& sheet);

class DrawingCommands : public QObject {
    Q_OBJECT

public:
    explicit DrawingCommands(TForm1& form);

    // The title-block fields remembered for the rest of the run.
    const drawing::TitleFields& titleFields() const { return title_; }
    void setTitleFields(const drawing::TitleFields& fields) { title_ = fields; }

    // Asks for a file name through the dialog seam and writes the sheet;
    // false when cancelled or failed (the failure shown in a message box).
    bool exportSheet(drawing::Part part, drawing::Format format);
    void printPart(drawing::Part part);
    bool writeReport();
    void editTitleFields();

    QMenu* menu() const { return menu_; }
    QAction* reportAction() const { return report_; }
    QToolButton* reportButton() const { return button_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void createMenu();
    void createToolButton();
    void followCalculation();
    bool writeFile(const QString& path, const QByteArray& bytes, const QString& failure);

    TForm1& form_;
    drawing::TitleFields title_;
    QMenu* menu_ = nullptr;
    QAction* report_ = nullptr;
    QToolButton* button_ = nullptr;
    QList<QAction*> needDesign_;
};

// Creates the commands on the window (called once from its menu step).
DrawingCommands* createDrawingCommands(TForm1& form);

} // namespace tpworm
