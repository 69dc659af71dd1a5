// The borderless notice shown while the update check runs.
#pragma once

#include <QWidget>

class QLabel;

namespace tpworm {

class TForm7 : public QWidget {
    Q_OBJECT
public:
    explicit TForm7(QWidget* parent = nullptr);
    QLabel* Label1 = nullptr;
};

} // namespace tpworm
