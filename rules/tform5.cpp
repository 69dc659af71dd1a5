#include "rules/tform5.h"

#include "app/tform1.h"

namespace tpworm {

TForm5::TForm5(TForm1& mainWindow, QWidget* parent) : QDialog(parent), main_(mainWindow)
{
    setObjectName("Form5");
    setWindowTitle("计算设置");
}

void TForm5::closeDatabase() {}

} // namespace tpworm
