// "导出文件": the progress window shown while an export writes its file.
#pragma once

#include <QDialog>

class QFrame;
class QLabel;
class QPushButton;

namespace tpworm {

class TForm2 : public QDialog {
    Q_OBJECT
public:
    explicit TForm2(QWidget* parent = nullptr);
    QFrame* Panel1 = nullptr;
    QPushButton* Button1 = nullptr; // "取  消"

public Q_SLOTS:
    void Button1Click();
};

} // namespace tpworm
