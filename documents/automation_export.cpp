// The "文件" menu exports: the worm, wheel and hob tables produced by a
// spreadsheet application driven through automation.
#include "app/tform1.h"
#include "documents/automation.h"
#include "documents/automation_cells.h"
#include "documents/tform2.h"

#include <QLineEdit>

namespace tpworm {

namespace {

const QString ExportFailed = QStringLiteral("导出文件错误,或者您还没安装EXCEL,请核实后重试.........");

struct MenuTable {
    const char* templateName;
    const char* proposedName;
    QList<documents::AutomationCell> cells;
};

documents::MenuFieldTexts fieldTexts(const TForm1& form)
{
    return {form.Edit1->text(),  form.Edit3->text(),  form.Edit4->text(),  form.Edit9->text(),
            form.Edit10->text(), form.Edit11->text(), form.Edit12->text(), form.Edit13->text()};
}

// Closes the workbooks and ends the server after a failed call. Each step is
// tried on its own: the server must end even when it refuses the others.
void endServer(automation::Object& app)
{
    try {
        app.object("ActiveWorkBook")->put("Saved", true);
    } catch (const std::exception&) {
        // nothing open, or the server is gone: Quit below still ends it
    }
    try {
        app.object("WorkBooks")->call("Close");
    } catch (const std::exception&) {
        // as above
    }
    try {
        app.call("Quit");
    } catch (const std::exception&) {
        // the backend ends its process when the last reference goes
    }
}

void runMenuExport(TForm1& form, const MenuTable& table)
{
    std::shared_ptr<automation::Object> app;
    try {
        app = automation::platformRegistry().create(QStringLiteral("Excel.Application"));
        form.Design.AutomationApp = app;
        app->put("Visible", false);
        app->object("WorkBooks")->call("Open", {form.programFile(QString::fromUtf8(table.templateName))});
        for (const documents::AutomationCell& cell : table.cells)
            app->object("Cells", {cell.row, cell.column})->put("Value", cell.text);

        form.SaveDialog1.fileName = QString::fromUtf8(table.proposedName);
        const std::optional<QString> chosen = form.dialogs().chooseFile(&form, form.SaveDialog1);
        if (chosen) {
            form.Form2->show();
            app->object("ActiveWorkBook")->call("Saveas", {*chosen});
        }
        app->object("ActiveWorkBook")->put("Saved", true);
        app->object("WorkBooks")->call("Close");
        app->call("Quit");
        form.Form2->close();
    } catch (const std::exception&) {
        // Unlike a server left running invisibly after a failure, ours is
        // ended before the user hears of it.
        if (app)
            endServer(*app);
        form.showMessage(ExportFailed);
    }
}

} // namespace

void TForm1::N3Click() { Button6Click(); }
void TForm1::N14Click() { Button13Click(); }
void TForm1::N4Click() { Button11Click(); }

void TForm1::Button6Click()
{
    runMenuExport(*this, {"1.xls", "wogan", documents::menuWormCells(Design, fieldTexts(*this))});
}

void TForm1::Button13Click()
{
    runMenuExport(*this, {"1111.xls", "wolun", documents::menuWheelCells(Design, fieldTexts(*this))});
}

void TForm1::Button11Click()
{
    runMenuExport(*this, {"11.xls", "gundao", documents::menuHobCells(Design, fieldTexts(*this))});
}

} // namespace tpworm
