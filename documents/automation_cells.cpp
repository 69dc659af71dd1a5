#include "documents/automation_cells.h"

#include "core/cell_address.h"
#include "core/numeric.h"
#include "documents/automation.h"

#include <stdexcept>

namespace tpworm::documents {

AutomationCell cellAt(const QString& a1, const QString& text)
{
    const std::optional<CellAddress> cell = CellAddress::parse(a1);
    if (!cell)
        throw std::invalid_argument("malformed cell name " + a1.toStdString());
    // The automation server counts from 1.
    return {cell->row + 1, cell->column + 1, text};
}

QList<AutomationCell> automationCells(ParameterTable table, const DesignRecord& design, const FieldTexts& fields)
{
    QList<AutomationCell> cells;
    for (const CellText& c : tableCells(table, design, fields))
        cells.append({c.row + 1, c.column + 1, c.text});
    return cells;
}

namespace {

// Closes the workbooks after a failed call, so that the kept server holds
// nothing for the next export. Each step is tried on its own: Quit must come
// even when the server refuses the others (and ends a server that cannot
// close its workbooks).
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
        // the server is gone; the next creation starts another
    }
}

} // namespace

MenuExportResult runMenuExport(std::shared_ptr<automation::Object>& app, const QString& templatePath,
                               const QList<AutomationCell>& cells, const MenuExportHooks& hooks)
{
    std::shared_ptr<automation::Object> server;
    try {
        server = automation::platformRegistry().create(QStringLiteral("Excel.Application"));
        app = server;
        server->put("Visible", false);
        server->object("WorkBooks")->call("Open", {templatePath});
        for (const AutomationCell& cell : cells)
            server->object("Cells", {cell.row, cell.column})->put("Value", cell.text);

        bool saved = false;
        if (const std::optional<QString> chosen = hooks.chooseTarget ? hooks.chooseTarget() : std::nullopt) {
            if (hooks.saving)
                hooks.saving();
            server->object("ActiveWorkBook")->call("Saveas", {*chosen});
            saved = true;
        }
        server->object("ActiveWorkBook")->put("Saved", true);
        server->object("WorkBooks")->call("Close");
        server->call("Quit");
        if (hooks.finished)
            hooks.finished();
        return {saved ? MenuExportOutcome::Saved : MenuExportOutcome::Cancelled, {}};
    } catch (const std::exception& e) {
        // Unlike a server left holding the half-written workbook after a
        // failure, ours is emptied before the user hears of it.
        if (server)
            endServer(*server);
        return {MenuExportOutcome::Failed, QString::fromUtf8(e.what())};
    }
}

} // namespace tpworm::documents
