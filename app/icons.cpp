#include "app/icons.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>

#include <cmath>
#include <numbers>

namespace tpworm::icons {

namespace {

const QColor kOutline(40, 48, 64);
const QColor kPaper(252, 252, 248);
const QColor kSteel(150, 162, 178);
const QColor kSteelDark(84, 96, 114);
const QColor kBronze(205, 150, 70);
const QColor kBronzeDark(128, 84, 28);
const QColor kTableGreen(40, 140, 70);

// A transparent canvas with antialiased drawing in a 32-unit coordinate
// system, whatever the pixel size.
class Canvas {
public:
    explicit Canvas(int size) : pixmap_(size, size)
    {
        pixmap_.fill(Qt::transparent);
        painter_.begin(&pixmap_);
        painter_.setRenderHint(QPainter::Antialiasing);
        painter_.scale(size / 32.0, size / 32.0);
    }
    QPainter& painter() { return painter_; }
    QPixmap finish()
    {
        painter_.end();
        return pixmap_;
    }

private:
    QPixmap pixmap_;
    QPainter painter_;
};

QPen outlinePen(qreal width = 1.0, const QColor& colour = kOutline)
{
    QPen pen(colour, width);
    pen.setJoinStyle(Qt::RoundJoin);
    pen.setCapStyle(Qt::RoundCap);
    return pen;
}

// A sheet of paper with its top-right corner folded.
void drawSheet(QPainter& p, const QRectF& r, qreal fold = 7)
{
    QPainterPath sheet;
    sheet.moveTo(r.left(), r.top());
    sheet.lineTo(r.right() - fold, r.top());
    sheet.lineTo(r.right(), r.top() + fold);
    sheet.lineTo(r.right(), r.bottom());
    sheet.lineTo(r.left(), r.bottom());
    sheet.closeSubpath();
    p.setPen(outlinePen());
    p.setBrush(kPaper);
    p.drawPath(sheet);
    QPainterPath corner;
    corner.moveTo(r.right() - fold, r.top());
    corner.lineTo(r.right() - fold, r.top() + fold);
    corner.lineTo(r.right(), r.top() + fold);
    p.setBrush(QColor(210, 214, 222));
    p.drawPath(corner);
}

// The small spreadsheet that marks a parameter-table export.
void drawTableBadge(QPainter& p, const QRectF& r)
{
    p.setPen(outlinePen(1.0, kTableGreen.darker(150)));
    p.setBrush(Qt::white);
    p.drawRect(r);
    p.setPen(Qt::NoPen);
    p.setBrush(kTableGreen);
    p.drawRect(QRectF(r.left(), r.top(), r.width(), r.height() / 4));
    p.setPen(QPen(kTableGreen, 0.8));
    for (int row = 2; row < 4; ++row) {
        const qreal y = r.top() + r.height() * row / 4;
        p.drawLine(QPointF(r.left(), y), QPointF(r.right(), y));
    }
    const qreal x = r.left() + r.width() * 0.4;
    p.drawLine(QPointF(x, r.top()), QPointF(x, r.bottom()));
}

// A spur gear: alternating tip and root arcs approximated by a polygon.
QPolygonF gearOutline(const QPointF& c, qreal tip, qreal root, int teeth)
{
    QPolygonF outline;
    const qreal step = 2 * std::numbers::pi / teeth;
    for (int i = 0; i < teeth; ++i) {
        const qreal a = i * step;
        const qreal angles[4] = {a, a + step * 0.15, a + step * 0.45, a + step * 0.6};
        const qreal radii[4] = {root, tip, tip, root};
        for (int k = 0; k < 4; ++k)
            outline << c + QPointF(radii[k] * std::cos(angles[k]), radii[k] * std::sin(angles[k]));
    }
    return outline;
}

void drawGear(QPainter& p, const QPointF& c, qreal tip, qreal root, int teeth, const QColor& fill)
{
    QRadialGradient shade(c - QPointF(tip / 3, tip / 3), tip * 1.4);
    shade.setColorAt(0, fill.lighter(135));
    shade.setColorAt(1, fill.darker(115));
    p.setPen(outlinePen(0.9, fill.darker(220)));
    p.setBrush(shade);
    p.drawPolygon(gearOutline(c, tip, root, teeth));
    p.setBrush(fill.darker(130));
    p.drawEllipse(c, root * 0.38, root * 0.38);
    p.setBrush(Qt::white);
    p.drawEllipse(c, root * 0.16, root * 0.16);
}

// The throated (hourglass) body of a toroidal worm or of its hob, seen from
// the side; its sides follow the arc of the wheel it envelops.
QPainterPath throatedBody(const QRectF& r, qreal waist)
{
    QPainterPath body;
    body.moveTo(r.topLeft());
    body.quadTo(QPointF(r.center().x(), r.top() + waist), r.topRight());
    body.lineTo(r.bottomRight());
    body.quadTo(QPointF(r.center().x(), r.bottom() - waist), r.bottomLeft());
    body.closeSubpath();
    return body;
}

void drawShaft(QPainter& p, const QRectF& body, qreal length, qreal thickness, const QColor& colour)
{
    p.setPen(outlinePen(0.8));
    p.setBrush(colour);
    const qreal y = body.center().y() - thickness / 2;
    p.drawRect(QRectF(body.left() - length, y, length, thickness));
    p.drawRect(QRectF(body.right(), y, length, thickness));
}

// A double-enveloping worm: throated body with slanted threads.
void drawWorm(QPainter& p, const QRectF& r)
{
    drawShaft(p, r, 2.5, r.height() * 0.35, kSteel);
    const QPainterPath body = throatedBody(r, r.height() * 0.3);
    QLinearGradient shade(r.topLeft(), r.bottomLeft());
    shade.setColorAt(0, kSteel.lighter(130));
    shade.setColorAt(0.5, kSteel);
    shade.setColorAt(1, kSteelDark);
    p.setPen(outlinePen());
    p.setBrush(shade);
    p.drawPath(body);
    p.save();
    p.setClipPath(body);
    p.setPen(QPen(kSteelDark.darker(130), 1.1));
    const int threads = 5;
    for (int i = 0; i <= threads; ++i) {
        const qreal x = r.left() + r.width() * (i + 0.2) / threads;
        p.drawLine(QPointF(x - 2.5, r.bottom()), QPointF(x + 2.5, r.top()));
    }
    p.restore();
}

// A hob for the wheel: the throated body of the worm with gashes that make
// the cutting edges, and the bore for the arbor.
void drawHob(QPainter& p, const QRectF& r)
{
    drawShaft(p, r, 2.5, r.height() * 0.3, kSteelDark.lighter(120));
    const QPainterPath body = throatedBody(r, r.height() * 0.3);
    QLinearGradient shade(r.topLeft(), r.bottomLeft());
    shade.setColorAt(0, QColor(190, 200, 215));
    shade.setColorAt(1, QColor(70, 80, 100));
    p.setPen(outlinePen());
    p.setBrush(shade);
    p.drawPath(body);
    p.save();
    p.setClipPath(body);
    p.setPen(QPen(QColor(30, 36, 48), 1.6));
    for (int i = 1; i < 5; ++i) {
        const qreal x = r.left() + r.width() * i / 5;
        p.drawLine(QPointF(x, r.top()), QPointF(x, r.bottom()));
    }
    p.setPen(QPen(QColor(235, 240, 248), 0.7));
    for (int i = 0; i < 5; ++i) {
        const qreal x = r.left() + r.width() * (i + 0.5) / 5;
        p.drawLine(QPointF(x - 1.5, r.bottom()), QPointF(x + 1.5, r.top()));
    }
    p.restore();
}

QPixmap drawNewDesign()
{
    Canvas c(32);
    QPainter& p = c.painter();
    drawSheet(p, QRectF(7, 3, 19, 26));
    p.setPen(QPen(QColor(150, 160, 180), 1));
    for (int y : {13, 17, 21, 25})
        p.drawLine(QPointF(10, y), QPointF(23, y));
    // The spark of something new.
    QPolygonF star;
    for (int i = 0; i < 8; ++i) {
        const qreal a = i * std::numbers::pi / 4;
        const qreal radius = i % 2 ? 2.2 : 6.0;
        star << QPointF(7 + radius * std::cos(a), 8 + radius * std::sin(a));
    }
    p.setPen(outlinePen(0.8, QColor(170, 110, 0)));
    p.setBrush(QColor(255, 210, 40));
    p.drawPolygon(star);
    return c.finish();
}

QPixmap drawSave()
{
    Canvas c(32);
    QPainter& p = c.painter();
    QPainterPath disk;
    disk.moveTo(4, 4);
    disk.lineTo(24, 4);
    disk.lineTo(28, 8);
    disk.lineTo(28, 28);
    disk.lineTo(4, 28);
    disk.closeSubpath();
    p.setPen(outlinePen());
    p.setBrush(QColor(45, 90, 170));
    p.drawPath(disk);
    p.setBrush(QColor(200, 205, 215));
    p.drawRect(QRectF(9, 4, 13, 8));
    p.setBrush(QColor(45, 90, 170));
    p.setPen(Qt::NoPen);
    p.drawRect(QRectF(17, 5.5, 3, 5));
    p.setPen(outlinePen(0.8));
    p.setBrush(kPaper);
    p.drawRect(QRectF(7.5, 16, 17, 10));
    p.setPen(QPen(QColor(170, 60, 60), 0.9));
    for (int y : {19, 22})
        p.drawLine(QPointF(10, y), QPointF(22, y));
    return c.finish();
}

QPixmap drawWormTable()
{
    Canvas c(32);
    QPainter& p = c.painter();
    drawWorm(p, QRectF(4, 4, 22, 14));
    drawTableBadge(p, QRectF(15, 18, 15, 12));
    return c.finish();
}

QPixmap drawWheelTable()
{
    Canvas c(32);
    QPainter& p = c.painter();
    drawGear(p, QPointF(12, 12), 10.5, 8.3, 14, kBronze);
    drawTableBadge(p, QRectF(15, 18, 15, 12));
    return c.finish();
}

QPixmap drawHobTable()
{
    Canvas c(32);
    QPainter& p = c.painter();
    drawHob(p, QRectF(4, 4, 22, 14));
    drawTableBadge(p, QRectF(15, 18, 15, 12));
    return c.finish();
}

QPixmap drawTechnicalManual()
{
    Canvas c(32);
    QPainter& p = c.painter();
    p.setPen(outlinePen());
    p.setBrush(kPaper);
    p.drawRect(QRectF(9, 5, 18, 24));
    QLinearGradient cover(QPointF(5, 0), QPointF(26, 0));
    cover.setColorAt(0, QColor(20, 60, 130));
    cover.setColorAt(1, QColor(50, 100, 180));
    p.setBrush(cover);
    p.drawRoundedRect(QRectF(5, 3, 19, 24), 1.5, 1.5);
    p.setPen(QPen(QColor(15, 40, 90), 1.5));
    p.drawLine(QPointF(8, 3.5), QPointF(8, 26.5));
    drawGear(p, QPointF(16, 13), 5.5, 4.3, 10, QColor(230, 190, 80));
    p.setPen(QPen(Qt::white, 1));
    p.drawLine(QPointF(11, 22), QPointF(21, 22));
    return c.finish();
}

QPixmap drawRecommendedParameters()
{
    Canvas c(32);
    QPainter& p = c.painter();
    p.setPen(outlinePen());
    p.setBrush(QColor(190, 140, 80));
    p.drawRoundedRect(QRectF(5, 4, 22, 26), 2, 2);
    p.setBrush(kPaper);
    p.drawRect(QRectF(8, 7, 16, 20));
    p.setBrush(QColor(160, 165, 175));
    p.drawRoundedRect(QRectF(11, 2, 10, 5), 1.5, 1.5);
    for (int row = 0; row < 3; ++row) {
        const qreal y = 12 + row * 5;
        p.setPen(QPen(QColor(30, 150, 60), 1.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.drawPolyline(QPolygonF({QPointF(10, y), QPointF(11.5, y + 1.5), QPointF(14, y - 1.5)}));
        p.setPen(QPen(QColor(110, 120, 140), 1.2));
        p.drawLine(QPointF(16, y), QPointF(22, y));
    }
    return c.finish();
}

// A vernier calliper: beam with its scale, fixed and sliding jaws.
QPixmap drawAccuracyGrade()
{
    Canvas c(32);
    QPainter& p = c.painter();
    p.setPen(outlinePen());
    p.setBrush(QColor(205, 212, 222));
    p.drawRect(QRectF(2, 9, 28, 6));
    p.setPen(QPen(kOutline, 0.6));
    for (int i = 0; i < 12; ++i) {
        const qreal x = 10 + i * 1.7;
        p.drawLine(QPointF(x, 9), QPointF(x, i % 5 == 0 ? 12.5 : 11));
    }
    p.setPen(outlinePen());
    p.setBrush(kSteel);
    p.drawPolygon(QPolygonF({QPointF(2, 9), QPointF(7, 9), QPointF(7, 28), QPointF(4.5, 30), QPointF(2, 28)}));
    p.drawPolygon(QPolygonF({QPointF(13, 7), QPointF(20, 7), QPointF(20, 17), QPointF(16.5, 17), QPointF(16.5, 28),
                             QPointF(14.5, 30), QPointF(13, 28)}));
    p.setPen(QPen(QColor(200, 30, 30), 1.2));
    p.drawLine(QPointF(7, 24), QPointF(13, 24));
    p.drawLine(QPointF(7, 22), QPointF(7, 26));
    p.drawLine(QPointF(13, 22), QPointF(13, 26));
    return c.finish();
}

// A drawing sheet with a part in two views' worth of centre lines, and the
// draughtsman's triangle.
QPixmap drawDrawingExamples()
{
    Canvas c(32);
    QPainter& p = c.painter();
    p.setPen(outlinePen());
    p.setBrush(kPaper);
    p.drawRect(QRectF(3, 4, 26, 21));
    p.drawRect(QRectF(18, 20, 11, 5));
    p.setPen(QPen(QColor(30, 60, 140), 1.1));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QPointF(11, 13), 5.5, 5.5);
    p.drawEllipse(QPointF(11, 13), 2, 2);
    p.setPen(QPen(QColor(200, 40, 40), 0.6, Qt::DashDotLine));
    p.drawLine(QPointF(4, 13), QPointF(18, 13));
    p.drawLine(QPointF(11, 5.5), QPointF(11, 20.5));
    QPolygonF triangle({QPointF(16, 30), QPointF(30, 30), QPointF(30, 16)});
    p.setPen(outlinePen(0.9, QColor(30, 110, 60)));
    p.setBrush(QColor(90, 200, 120, 190));
    p.drawPolygon(triangle);
    p.setBrush(Qt::white);
    p.drawPolygon(QPolygonF({QPointF(22, 28), QPointF(28, 28), QPointF(28, 22)}));
    return c.finish();
}

// A tooth flank whose tip is relieved: the modified profile drawn solid, the
// unmodified one dashed, and the amount of relief marked.
QPixmap drawModificationPrinciple()
{
    Canvas c(32);
    QPainter& p = c.painter();
    QPainterPath tooth;
    tooth.moveTo(3, 29);
    tooth.lineTo(10, 8);
    tooth.quadTo(16, 4, 22, 8);
    tooth.lineTo(29, 29);
    tooth.closeSubpath();
    p.setPen(outlinePen(1.2));
    p.setBrush(QColor(190, 200, 215));
    p.drawPath(tooth);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(kOutline, 0.9, Qt::DashLine));
    p.drawLine(QPointF(10, 8), QPointF(8.6, 3));
    p.drawLine(QPointF(22, 8), QPointF(23.4, 3));
    p.setPen(QPen(QColor(210, 30, 30), 1.4, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(22, 8), QPointF(25.5, 19));
    p.setPen(QPen(QColor(210, 30, 30), 1.0));
    p.drawLine(QPointF(26, 4), QPointF(26, 11));
    p.drawPolyline(QPolygonF({QPointF(24.5, 9.5), QPointF(26, 11), QPointF(27.5, 9.5)}));
    return c.finish();
}

QPixmap drawClose()
{
    Canvas c(32);
    QPainter& p = c.painter();
    p.setPen(outlinePen());
    p.setBrush(QColor(120, 80, 50));
    p.drawRect(QRectF(5, 3, 15, 26));
    p.setBrush(QColor(175, 120, 70));
    p.drawPolygon(QPolygonF({QPointF(5, 3), QPointF(15, 6), QPointF(15, 31), QPointF(5, 29)}));
    p.setBrush(QColor(240, 200, 60));
    p.drawEllipse(QPointF(13, 17), 1.1, 1.1);
    QPolygonF arrow({QPointF(17, 14), QPointF(24, 14), QPointF(24, 10), QPointF(31, 17), QPointF(24, 24),
                     QPointF(24, 20), QPointF(17, 20)});
    p.setPen(outlinePen(0.9, QColor(140, 20, 20)));
    p.setBrush(QColor(220, 40, 40));
    p.drawPolygon(arrow);
    return c.finish();
}

QPixmap drawOpen()
{
    Canvas c(32);
    QPainter& p = c.painter();
    p.setPen(outlinePen(1.0, QColor(140, 95, 10)));
    p.setBrush(QColor(230, 180, 60));
    p.drawPolygon(QPolygonF({QPointF(3, 8), QPointF(11, 8), QPointF(13, 11), QPointF(25, 11), QPointF(25, 27),
                             QPointF(3, 27)}));
    p.setPen(outlinePen(0.8));
    p.setBrush(kPaper);
    p.drawRect(QRectF(8, 5, 15, 14));
    p.setPen(outlinePen(1.0, QColor(140, 95, 10)));
    p.setBrush(QColor(250, 210, 90));
    p.drawPolygon(QPolygonF({QPointF(7, 15), QPointF(30, 15), QPointF(25, 27), QPointF(3, 27)}));
    return c.finish();
}

} // namespace

QPixmap toolBarPicture(int index)
{
    switch (index) {
    case NewDesign: return drawNewDesign();
    case Save: return drawSave();
    case WormTable: return drawWormTable();
    case WheelTable: return drawWheelTable();
    case HobTable: return drawHobTable();
    case TechnicalManual: return drawTechnicalManual();
    case RecommendedParameters: return drawRecommendedParameters();
    case AccuracyGrade: return drawAccuracyGrade();
    case DrawingExamples: return drawDrawingExamples();
    case ModificationPrinciple: return drawModificationPrinciple();
    case Close: return drawClose();
    case Open: return drawOpen();
    default: return QPixmap();
    }
}

QList<QPixmap> imageList1()
{
    QList<QPixmap> list;
    for (int i = 0; i < PictureCount; ++i)
        list << toolBarPicture(i);
    return list;
}

// A pocket calculator beside a wheel: the calculation of the gear pair.
QPixmap calculatePicture()
{
    Canvas c(48);
    QPainter& p = c.painter();
    drawGear(p, QPointF(23, 22), 8.5, 6.8, 12, kBronze);
    p.setPen(outlinePen());
    QLinearGradient body(QPointF(2, 0), QPointF(20, 0));
    body.setColorAt(0, QColor(80, 90, 110));
    body.setColorAt(1, QColor(50, 58, 74));
    p.setBrush(body);
    p.drawRoundedRect(QRectF(3, 2, 17, 27), 2, 2);
    p.setBrush(QColor(170, 210, 160));
    p.drawRect(QRectF(5, 4.5, 13, 5));
    p.setPen(Qt::NoPen);
    for (int row = 0; row < 4; ++row)
        for (int col = 0; col < 3; ++col) {
            p.setBrush(row == 3 && col == 2 ? QColor(230, 120, 40) : QColor(225, 228, 235));
            p.drawRoundedRect(QRectF(5.2 + col * 4.4, 11.5 + row * 4.2, 3.4, 3.0), 0.6, 0.6);
        }
    return c.finish();
}

// The pencil that opens the recommended parameters for editing.
QPixmap editPicture()
{
    Canvas c(28);
    QPainter& p = c.painter();
    p.translate(16, 16);
    p.rotate(-45);
    p.setPen(outlinePen());
    p.setBrush(QColor(245, 190, 40));
    p.drawRect(QRectF(-9, -3.5, 18, 7));
    p.setBrush(QColor(230, 120, 140));
    p.drawRect(QRectF(9, -3.5, 4, 7));
    p.setBrush(QColor(240, 215, 170));
    p.drawPolygon(QPolygonF({QPointF(-9, -3.5), QPointF(-16, 0), QPointF(-9, 3.5)}));
    p.setBrush(kOutline);
    p.drawPolygon(QPolygonF({QPointF(-13.5, -1.2), QPointF(-16, 0), QPointF(-13.5, 1.2)}));
    return c.finish();
}

// The tick that confirms the edited parameters and recalculates.
QPixmap confirmPicture()
{
    Canvas c(28);
    QPainter& p = c.painter();
    const QPolygonF tick({QPointF(4, 17), QPointF(12, 26), QPointF(28, 6)});
    p.setPen(QPen(QColor(20, 90, 30), 6.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPolyline(tick);
    p.setPen(QPen(QColor(60, 180, 70), 4.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPolyline(tick);
    return c.finish();
}

QPixmap programPicture()
{
    Canvas c(64);
    QPainter& p = c.painter();
    drawGear(p, QPointF(16, 12), 11, 9, 16, kBronze);
    drawWorm(p, QRectF(6, 19, 20, 11));
    return c.finish();
}

} // namespace tpworm::icons
