// The "文件" menu exports without a window: the cells they hand the
// spreadsheet application and the order of the automation calls. The cells
// are the tool-bar map of documents/cell_maps.h, so the menu and the tool bar
// put every value under the caption that names it; only the addressing
// differs (the automation server counts rows and columns from 1).
#pragma once

#include "core/design_record.h"
#include "documents/cell_maps.h"

#include <QList>
#include <QString>

#include <functional>
#include <memory>
#include <optional>

namespace tpworm::automation {
class Object;
}

namespace tpworm::documents {

// A cell addressed as the automation server does: 1-based (row, column).
struct AutomationCell {
    int row = 0;
    int column = 0;
    QString text;

    bool operator==(const AutomationCell&) const = default;
};

// "C2" -> row 2, column 3. Throws std::invalid_argument on a malformed name.
AutomationCell cellAt(const QString& a1, const QString& text);

// The cells of the menu export of `table`, in the order they are written.
QList<AutomationCell> automationCells(ParameterTable table, const DesignRecord& design, const FieldTexts& fields);

// What the sequence asks of its caller: the save dialog (nullopt when it is
// cancelled) and the progress window around the save.
struct MenuExportHooks {
    std::function<std::optional<QString>()> chooseTarget;
    std::function<void()> saving;   // the save begins: show the progress
    std::function<void()> finished; // the export went through: hide it
};

enum class MenuExportOutcome { Saved, Cancelled, Failed };

struct MenuExportResult {
    MenuExportOutcome outcome = MenuExportOutcome::Failed;
    QString detail; // why it failed, for the command line; the window shows its own message
};

// One menu export: creates the application object into `app` (kept there, as
// the window keeps AutomationApp, so the server of the run stays up for the
// next export), opens `templatePath`, writes the cells, asks for the target,
// saves, closes and quits. A failure closes the workbooks before returning;
// the server ends with the last holder of `app`, at the latest with the
// program.
MenuExportResult runMenuExport(std::shared_ptr<automation::Object>& app, const QString& templatePath,
                               const QList<AutomationCell>& cells, const MenuExportHooks& hooks);

} // namespace tpworm::documents
