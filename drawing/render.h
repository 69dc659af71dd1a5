// The back ends of a sheet: QPainter (the PDF, SVG, PNG and printer
// back ends paint through it) and DXF. Each renders to memory; the callers
// write the bytes with writeFileAtomically.
#pragma once

#include "drawing/sheet.h"

#include <QByteArray>
#include <QImage>
#include <QString>

#include <optional>
#include <stdexcept>

class QPainter;
class QPagedPaintDevice;

namespace tpworm::drawing {

class DrawingError : public std::runtime_error {
public:
    explicit DrawingError(const QString& message) : std::runtime_error(message.toStdString()) {}
    QString message() const { return QString::fromStdString(what()); }
};

// Paints the sheet into the area (device pixels) of a device of the given
// resolution; the area holds the drawing area inside the sheet's margins.
void paintSheet(QPainter& painter, const Sheet& sheet, const QRectF& area, double dpi);
// The same, reduced where needed to fit the area and centred in it; the
// resolution is the device's.
void paintSheetFitted(QPainter& painter, const Sheet& sheet, const QRectF& area, double deviceDpi);

// Sets a paged device (PDF writer, printer) to the sheet's paper, landscape,
// with the sheet's margins.
void setUpPage(QPagedPaintDevice& device, const Sheet& sheet);

QByteArray sheetPdf(const Sheet& sheet);
QByteArray sheetSvg(const Sheet& sheet);
QImage sheetImage(const Sheet& sheet, double dpi);
// DXF 2000 (AC1015): the main view in model space at 1:1 in millimetres,
// the other views and the sheet (frame, tables, title block, notes) as the
// block TPWORM_SHEET inserted around it at the reciprocal of the scale.
QByteArray sheetDxf(const Sheet& sheet);

// The format a file name asks for, by its suffix.
enum class Format { Pdf, Dxf, Svg };
std::optional<Format> formatOf(const QString& fileName);
QByteArray renderSheet(const Sheet& sheet, Format format);

} // namespace tpworm::drawing
