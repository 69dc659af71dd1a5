#include "documents/tform2.h"

#include <QFont>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>

namespace tpworm {

TForm2::TForm2(QWidget* parent) : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint)
{
    setObjectName(QStringLiteral("Form2"));
    setWindowTitle(QStringLiteral("导出文件"));
    setModal(false);
    QFont font(QStringLiteral("MS Sans Serif"), 8);
    font.setFamilies({QStringLiteral("MS Sans Serif"), QStringLiteral("WenQuanYi Micro Hei"), QStringLiteral("Noto Sans CJK SC")});
    setFont(font);
    setFixedSize(305, 105);
    createPanel();
}

void TForm2::createPanel()
{
    // The panel fills the window; its caption sits in the middle, as a
    // panel's caption does, and the button lies on top of it.
    Panel1 = new QLabel(QStringLiteral("正在保存，请稍候............."), this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setGeometry(0, 0, 305, 105);
    Panel1->setFrameShape(QFrame::Box);
    Panel1->setLineWidth(1);
    Panel1->setAlignment(Qt::AlignCenter);
    Panel1->setTextFormat(Qt::PlainText);
    Button1 = new QPushButton(QStringLiteral("取  消"), Panel1);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setGeometry(192, 64, 75, 25);
    connect(Button1, &QPushButton::clicked, this, &TForm2::Button1Click);
}

void TForm2::centreOnScreen()
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen)
        return;
    QRect frame = frameGeometry();
    frame.moveCenter(screen->availableGeometry().center());
    move(frame.topLeft());
}

void TForm2::showProgress()
{
    centreOnScreen();
    show();
    repaint();
}

void TForm2::Button1Click() { hide(); }

} // namespace tpworm
