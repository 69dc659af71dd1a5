#include "app/appearance.h"

#include <QApplication>
#include <QPalette>
#include <QScreen>
#include <QStyle>
#include <QStyleFactory>
#include <QWidget>

#include <algorithm>

namespace tpworm {

QFont programFont()
{
    QFont font(QStringLiteral("MS Sans Serif"), 8);
    font.setFamilies({QStringLiteral("MS Sans Serif"), QStringLiteral("WenQuanYi Micro Hei"),
                      QStringLiteral("Noto Sans CJK SC"), QStringLiteral("SimSun")});
    return font;
}

void applyProgramLook(QApplication& application)
{
    if (qEnvironmentVariableIsEmpty("QT_STYLE_OVERRIDE")) {
        if (QStyle* classic = QStyleFactory::create(QStringLiteral("Windows")))
            application.setStyle(classic);
    }
    application.setFont(programFont());
}

QPoint centredTopLeft(const QSize& frame, const QRect& available)
{
    const int left = available.left() + (available.width() - frame.width()) / 2;
    const int top = available.top() + (available.height() - frame.height()) / 2;
    return {std::max(left, available.left()), std::max(top, available.top())};
}

void centreOnScreen(QWidget& window)
{
    const QScreen* screen = window.screen() ? window.screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    window.move(centredTopLeft(window.frameGeometry().size(), screen->availableGeometry()));
}

void setSkyBlueBackground(QWidget& widget)
{
    widget.setAutoFillBackground(true);
    QPalette palette = widget.palette();
    palette.setColor(QPalette::Window, kSkyBlue);
    widget.setPalette(palette);
}

} // namespace tpworm
