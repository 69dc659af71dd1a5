// "导出文件": the progress window shown, modeless, while an export writes its
// file. Its one button only hides it, which matters after a failed save: the
// window then stays up until the user dismisses it.
#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

namespace tpworm {

class TForm2 : public QDialog {
    Q_OBJECT
public:
    explicit TForm2(QWidget* parent = nullptr);

    // Shows the window without blocking the caller and paints it at once, so
    // that it is seen while the synchronous save runs.
    void showProgress();

    QLabel* Panel1 = nullptr;      // "正在保存，请稍候............."
    QPushButton* Button1 = nullptr; // "取  消"

public Q_SLOTS:
    void Button1Click();

private:
    void createPanel();
    void centreOnScreen();
};

} // namespace tpworm
