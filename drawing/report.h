// The design report ("设计报告"): a PDF of a few pages that records the whole
// design for review — drive data, grade and tolerances, the recommended
// parameters as used, every result of the five groups exactly as the window
// shows it (warnings marked), the rule coefficients in force and the rules
// database, the drive check, the three shop drawings, the program version and
// the date.
#pragma once

#include "drawing/shown_design.h"

#include <QByteArray>
#include <QDate>
#include <QString>

namespace tpworm::drawing {

struct ReportInfo {
    QString product; // the program's title
    QString version;
    QDate date;
};

// The report's notice about the shipped rules data, printed in the header
// of the first page.
QString rulesDataNotice();

// The report as a PDF. DrawingError when the PDF cannot be made.
QByteArray designReport(const ShownDesign& design, const TitleFields& title, const ReportInfo& info);

// The report's text pages as HTML (what the PDF lays out), for the checks.
QString reportHtml(const ShownDesign& design, const ReportInfo& info);

} // namespace tpworm::drawing
