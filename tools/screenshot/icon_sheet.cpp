// Draws every picture of the program, enlarged, into one PNG, for checking
// the pictures by eye:  tpworm-icon-sheet <output.png> [scale]
#include "app/icons.h"

#include <QGuiApplication>
#include <QPainter>

#include <cstdio>

int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s <output.png> [scale]\n", argv[0]);
        return 2;
    }
    const int scale = argc > 2 ? std::max(1, std::atoi(argv[2])) : 4;
    QList<QPixmap> pictures = tpworm::icons::imageList1();
    pictures << tpworm::icons::calculatePicture() << tpworm::icons::editPicture()
             << tpworm::icons::confirmPicture() << tpworm::icons::programPicture();
    const int cell = 64 * scale / 2 + 8;
    QImage sheet(cell * 8, cell * 2, QImage::Format_ARGB32);
    sheet.fill(QColor(166, 202, 240));
    QPainter p(&sheet);
    for (int i = 0; i < pictures.size(); ++i) {
        const QPixmap& picture = pictures[i];
        const QSize size = picture.size() * scale / (picture.width() > 32 ? 2 : 1);
        p.drawPixmap(QRect(QPoint((i % 8) * cell + 4, (i / 8) * cell + 4), size.boundedTo(QSize(cell - 8, cell - 8))),
                     picture);
    }
    p.end();
    return sheet.save(QString::fromLocal8Bit(argv[1])) ? 0 : 1;
}
