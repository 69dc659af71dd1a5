// "关于": usage notes and the version history.
#pragma once

#include <QDialog>

class QPlainTextEdit;

namespace tpworm {

class TForm6 : public QDialog {
    Q_OBJECT
public:
    explicit TForm6(QWidget* parent = nullptr);
    QPlainTextEdit* Memo1 = nullptr;
};

} // namespace tpworm
