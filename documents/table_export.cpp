// The tool-bar exports of the worm, wheel and hob parameter tables: the
// template is filled with the last calculation's values and written under the
// name the user picks, while the progress window is up.
#include "app/tform1.h"

#include "documents/cell_maps.h"
#include "documents/form_fields.h"
#include "documents/tform2.h"

namespace tpworm {

namespace {

const QString kExportFailed = QStringLiteral("导出文件错误,或者您还没安装EXCEL,请核实后重试.........");

void exportTable(TForm1& f, documents::ParameterTable table)
{
    const documents::TableFiles files = documents::tableFiles(table);
    try {
        f.Workbook1.SetFileName(f.programFile(files.templateName));
        f.Workbook1.Load();
        for (const documents::CellText& cell : documents::tableCells(table, f.Design, documents::readFieldTexts(f)))
            f.Workbook1.SetCellText(cell.column, cell.row, cell.text);
        f.SaveDialog1.fileName = files.proposedName;
        if (const std::optional<QString> chosen = f.dialogs().chooseFile(&f, f.SaveDialog1)) {
            if (f.Form2)
                f.Form2->showProgress();
            // The name is used exactly as chosen; the engine replaces the
            // target through a temporary file renamed over it.
            f.Workbook1.SetFileName(*chosen);
            f.Workbook1.Save();
        }
    } catch (const std::exception&) {
        // A progress window already up stays until the user dismisses it.
        f.showMessage(kExportFailed);
        return;
    }
    if (f.Form2)
        f.Form2->hide();
}

} // namespace

void TForm1::ToolButton5Click() { exportTable(*this, documents::ParameterTable::Worm); }
void TForm1::ToolButton1Click() { exportTable(*this, documents::ParameterTable::Wheel); }
void TForm1::ToolButton4Click() { exportTable(*this, documents::ParameterTable::Hob); }

} // namespace tpworm
