#include "documents/tform2.h"

#include <QFrame>
#include <QPushButton>

namespace tpworm {

TForm2::TForm2(QWidget* parent) : QDialog(parent)
{
    setObjectName("Form2");
    setWindowTitle("导出文件");
    setFixedSize(305, 105);
    Panel1 = new QFrame(this);
    Panel1->setObjectName("Panel1");
    Panel1->setGeometry(0, 0, 305, 105);
    Button1 = new QPushButton("取  消", Panel1);
    Button1->setObjectName("Button1");
    Button1->setGeometry(192, 64, 75, 25);
    connect(Button1, &QPushButton::clicked, this, &TForm2::Button1Click);
}

void TForm2::Button1Click() { hide(); }

} // namespace tpworm
