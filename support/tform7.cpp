#include "support/tform7.h"

#include <QGuiApplication>
#include <QLabel>
#include <QScreen>

namespace tpworm {

TForm7::TForm7(QWidget* parent) : QWidget(parent, Qt::Window | Qt::FramelessWindowHint)
{
    setObjectName("Form7");
    setFixedSize(379, 144);
    createLayout();
}

void TForm7::createLayout()
{
    setAutoFillBackground(true);
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, QColor(166, 202, 240));
    setPalette(palette);

    Label1 = new QLabel("正在检测是否有新版本，请稍后.....", this);
    Label1->setObjectName("Label1");
    Label1->setTextFormat(Qt::PlainText);
    Label1->setGeometry(0, 0, 379, 144);
    Label1->setAlignment(Qt::AlignCenter);
    QFont font = Label1->font();
    font.setPointSize(12);
    Label1->setFont(font);
}

void TForm7::showCentred()
{
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect desktop = screen->availableGeometry();
        move(desktop.center() - QPoint(width() / 2, height() / 2));
    }
    show();
}

} // namespace tpworm
