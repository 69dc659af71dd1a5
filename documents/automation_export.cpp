// The "文件" menu exports: the worm, wheel and hob tables produced by a
// spreadsheet application driven through automation. The sequence itself is
// widget-free (documents/automation_cells.h); this adapter supplies the save
// dialog, the progress window and the message.
#include "app/tform1.h"
#include "documents/automation.h"
#include "documents/automation_cells.h"
#include "documents/form_fields.h"
#include "documents/tform2.h"

namespace tpworm {

namespace {

const QString ExportFailed = QStringLiteral("导出文件错误,或者您还没安装EXCEL,请核实后重试.........");

void runMenuExport(TForm1& form, documents::ParameterTable table)
{
    const documents::TableFiles files = documents::automationTableFiles(table);
    const QList<documents::AutomationCell> cells =
        documents::automationCells(table, form.Design, documents::readFieldTexts(form));
    documents::MenuExportHooks hooks;
    hooks.chooseTarget = [&form, &files] {
        form.SaveDialog1.fileName = files.proposedName;
        return form.dialogs().chooseFile(&form, form.SaveDialog1);
    };
    hooks.saving = [&form] { form.Form2->show(); };
    hooks.finished = [&form] { form.Form2->close(); };
    const documents::MenuExportResult result =
        documents::runMenuExport(form.Design.AutomationApp, form.programFile(files.templateName), cells, hooks);
    if (result.outcome == documents::MenuExportOutcome::Failed)
        form.showMessage(ExportFailed);
}

} // namespace

// The server takes most of a first export's time to start: it is started
// as soon as the menu that holds the exports opens with them enabled, and is
// kept in AutomationApp for the export the user then picks.
void TForm1::N1Popup()
{
    if (!Design.AutomationApp && N3->isEnabled())
        Design.AutomationApp = automation::platformRegistry().startEarly(QStringLiteral("Excel.Application"));
}

void TForm1::N3Click() { Button6Click(); }
void TForm1::N14Click() { Button13Click(); }
void TForm1::N4Click() { Button11Click(); }

void TForm1::Button6Click() { runMenuExport(*this, documents::ParameterTable::Worm); }
void TForm1::Button13Click() { runMenuExport(*this, documents::ParameterTable::Wheel); }
void TForm1::Button11Click() { runMenuExport(*this, documents::ParameterTable::Hob); }

} // namespace tpworm
