// Design files: save, open (from the dialog or the command line) and the
// save question of "关闭".
//
// Open reads and checks the whole file before it touches a field, so a file
// that cannot be used leaves the design on screen as it was; the restore then
// sets the fields in the order whose handler runs make up the opened design.
#include "app/desktop.h"
#include "app/tform1.h"

#include "calc/form_adapter.h"
#include "documents/cell_maps.h"
#include "documents/form_fields.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QToolButton>

namespace tpworm {

namespace {

const QString kSaveFailed = QStringLiteral("保存过程中发生错误,或者您还没安装EXCEL，保存失败........");
const QString kOpenFailed = QStringLiteral("文件打开错误,或者您还没安装EXCEL.........");
const QString kSaveQuestion = QStringLiteral("数据尚未保存，是否保存？");

void writeCells(workbook::Workbook& book, const QList<documents::CellText>& cells)
{
    for (const documents::CellText& cell : cells)
        book.SetCellText(cell.column, cell.row, cell.text);
}

documents::DesignFileContent loadDesignFile(workbook::Workbook& book, const QString& name)
{
    book.SetFileName(name);
    book.Load();
    return documents::readDesignFile([&book](int column, int row) { return book.GetCellText(column, row); });
}

// The restore is one command of the core: each field set as typed (its
// change handler runs), the grade selected, the drive data locked, then the
// calculation.
void restoreDesign(TForm1& f, const documents::DesignFileContent& content)
{
    calc::restoreDesignFile(f, content);
}

void openDesign(TForm1& f, const QString& name, bool atStartUp)
{
    documents::DesignFileContent content;
    try {
        content = loadDesignFile(f.Workbook1, name);
    } catch (const std::exception&) {
        f.showMessage(kOpenFailed);
        // At start-up there is no design yet that could be lost.
        if (atStartUp)
            f.desktop().terminate();
        return;
    }
    try {
        restoreDesign(f, content);
    } catch (const std::exception&) {
        // The handlers report their own failures; one that still escapes
        // leaves a design that is not the file's, so it is not marked saved.
        f.showMessage(kOpenFailed);
        return;
    }
    f.Design.DesignSaved = true;
    f.Design.DesignFileName = name;
}

} // namespace

void TForm1::N11Click()
{
    const bool fromCommandLine = !Design.CommandLineConsumed && !context().arguments.value(0).isEmpty();
    QString name;
    if (fromCommandLine) {
        name = documents::commandLineDesignFile(context().arguments);
        Design.UpdateCheckSuppressed = true;
        show();
    } else {
        name = dialogs().chooseFile(this, OpenDialog1).value_or(QString());
    }
    if (!name.isEmpty())
        openDesign(*this, name, fromCommandLine);
    Design.CommandLineConsumed = true;
}

void TForm1::ToolButton3Click() { N11Click(); }

void TForm1::N5Click()
{
    try {
        const bool intoOpenedFile = !Design.DesignFileName.isEmpty();
        Workbook1.SetFileName(intoOpenedFile ? Design.DesignFileName : programFile(QStringLiteral("111.xls")));
        Workbook1.Load();
        writeCells(Workbook1, documents::designFileCells(documents::readFieldTexts(*this)));
        if (!intoOpenedFile) {
            SaveDialog2.fileName = documents::proposedDesignName(Edit1->text(), Edit2->text());
            const std::optional<QString> chosen = dialogs().chooseFile(this, SaveDialog2);
            if (!chosen)
                return;
            Workbook1.SetFileName(documents::designFileTarget(*chosen));
        }
        // The engine writes a temporary file beside the target and renames it
        // over the target, so a failed save leaves the old file whole.
        Workbook1.Save();
        Design.DesignSaved = true;
    } catch (const std::exception&) {
        showMessage(kSaveFailed);
    }
}

void TForm1::ToolButton11Click() { N5Click(); }

void TForm1::ToolButton13Click()
{
    if (!Design.DesignSaved && askYesNo(kSaveQuestion))
        N5Click();
    close();
}

} // namespace tpworm
