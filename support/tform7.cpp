#include "support/tform7.h"

#include <QLabel>

namespace tpworm {

TForm7::TForm7(QWidget* parent) : QWidget(parent, Qt::Window | Qt::FramelessWindowHint)
{
    setObjectName("Form7");
    setFixedSize(379, 144);
    Label1 = new QLabel("正在检测是否有新版本，请稍后.....", this);
    Label1->setObjectName("Label1");
    Label1->setGeometry(0, 0, 379, 144);
    Label1->setAlignment(Qt::AlignCenter);
}

} // namespace tpworm
