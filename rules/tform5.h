// "计算设置": the settings dialog of the rule coefficients.
#pragma once

#include <QDialog>

namespace tpworm {

class TForm1;

class TForm5 : public QDialog {
    Q_OBJECT
public:
    TForm5(TForm1& mainWindow, QWidget* parent = nullptr);

    // Closes the dialog's table and connection (before db1.mdb is replaced).
    void closeDatabase();

private:
    TForm1& main_;
};

} // namespace tpworm
