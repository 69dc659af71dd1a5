#include "app/tform6.h"

#include <QPlainTextEdit>

namespace tpworm {

TForm6::TForm6(QWidget* parent) : QDialog(parent)
{
    setObjectName("Form6");
    setWindowTitle("关于");
    setFixedSize(723, 329);
    Memo1 = new QPlainTextEdit(this);
    Memo1->setObjectName("Memo1");
    Memo1->setGeometry(9, 12, 705, 305);
    Memo1->setReadOnly(true);
}

} // namespace tpworm
