// The borderless notice shown while the update check runs: the only window of
// the program on screen until the main window shows.
#pragma once

#include <QWidget>

class QLabel;

namespace tpworm {

class TForm7 : public QWidget {
    Q_OBJECT
public:
    explicit TForm7(QWidget* parent = nullptr);
    QLabel* Label1 = nullptr;

    // Shows the notice (not modal) centred on the desktop.
    void showCentred();

private:
    void createLayout();
};

} // namespace tpworm
