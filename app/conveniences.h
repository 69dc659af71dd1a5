// Conveniences of the main window that add to its commands without changing
// them: keyboard shortcuts, Enter to confirm the edited recommended
// parameters, units in the tooltips of every input and result, and the busy
// cursor of the menu exports.
#pragma once

#include <QString>

class QWidget;

namespace tpworm {

class TForm1;

// Called once by the main window's constructor, after its handlers are
// connected.
void addConveniences(TForm1& form);

// The tooltip of an input field or a result label, by its object name
// ("Edit1", "Label16"); empty for any other control.
QString unitTip(const QString& objectName);

// A busy cursor for the life of the object, for commands that keep the
// window waiting (the menu exports while their spreadsheet server starts).
// The program's dialogs show the arrow while they are up.
class BusyCursor {
public:
    BusyCursor();
    ~BusyCursor();
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;
};

} // namespace tpworm
