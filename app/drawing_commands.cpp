#include "app/drawing_commands.h"

#include "app/tform1.h"
#include "app/tform_rating.h"
#include "app/version.h"
#include "core/design_form.h"
#include "core/geometry.h"
#include "core/safe_file.h"
#include "documents/form_fields.h"
#include "drawing/report.h"

#include <QAction>
#include <QComboBox>
#include <QCheckBox>
#include <QDate>
#include <QDialog>
#include <QDialogButtonBox>
#include <QEvent>
#include <QFileInfo>
#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPainter>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QToolBar>
#include <QToolButton>

namespace tpworm {

namespace {

const QString kDrawingFailed = QStringLiteral("图纸文件写入失败，原有文件未改动：%1");
const QString kReportFailed = QStringLiteral("设计报告写入失败，原有文件未改动：%1");

struct FormatEntry {
    drawing::Format format;
    const char* name;    // object-name part
    const char* caption; // menu caption
    const char* filter;  // dialog filter
    const char* suffix;
};

const FormatEntry kFormats[] = {
    {drawing::Format::Pdf, "Pdf", "导出 PDF...", "PDF 文件 (*.pdf)|*.pdf", "pdf"},
    {drawing::Format::Dxf, "Dxf", "导出 DXF...", "DXF 文件 (*.dxf)|*.dxf", "dxf"},
    {drawing::Format::Svg, "Svg", "导出 SVG...", "SVG 文件 (*.svg)|*.svg", "svg"},
};

const FormatEntry& entryOf(drawing::Format format)
{
    for (const FormatEntry& e : kFormats)
        if (e.format == format)
            return e;
    return kFormats[0];
}

struct PartEntry {
    drawing::Part part;
    const char* name;
    const char* caption;
};

const PartEntry kParts[] = {
    {drawing::Part::Worm, "Worm", "蜗杆图"},
    {drawing::Part::Wheel, "Wheel", "蜗轮图"},
    {drawing::Part::Hob, "Hob", "滚刀图"},
};

int labelNumber(const QLabel* label)
{
    bool ok = false;
    const int n = label->objectName().mid(5).toInt(&ok);
    return ok ? n : 0;
}

// The report's picture for the tool bar: a page with a few lines of text and
// a small drawing of a worm's profile.
QPixmap reportPicture()
{
    QPixmap picture(32, 32);
    picture.fill(Qt::transparent);
    QPainter p(&picture);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(40, 40, 40), 1));
    p.setBrush(Qt::white);
    p.drawPolygon(QPolygonF{QPointF(6, 2), QPointF(22, 2), QPointF(27, 7), QPointF(27, 30), QPointF(6, 30)});
    p.drawLine(QPointF(22, 2), QPointF(22, 7));
    p.drawLine(QPointF(22, 7), QPointF(27, 7));
    p.setPen(QPen(QColor(0, 70, 160), 1.5));
    for (int y : {10, 14, 18})
        p.drawLine(QPointF(9, y), QPointF(24, y));
    p.setPen(QPen(QColor(180, 0, 0), 1.2));
    QPolygonF teeth;
    for (int k = 0; k <= 6; ++k)
        teeth << QPointF(9 + k * 2.5, k % 2 ? 23 : 27);
    p.drawPolyline(teeth);
    return picture;
}

} // namespace

drawing::ShownDesign shownDesign(const TForm1& f)
{
    drawing::ShownDesign d;
    d.record = f.Design;
    d.fields = documents::readFieldTexts(f);
    d.grade = f.ComboBox1->currentIndex() < 0 ? QString() : f.ComboBox1->currentText();
    d.standardBacklash = f.CheckBox2->isChecked();
    for (QGroupBox* group : {f.GroupBox6, f.GroupBox1, f.GroupBox3, f.GroupBox2, f.GroupBox4}) {
        drawing::ShownGroup shown;
        shown.title = group->title().trimmed();
        for (QLabel* label : group->findChildren<QLabel*>(Qt::FindDirectChildrenOnly))
            shown.results.append({labelNumber(label), label->text(), TForm1::isWarning(label)});
        d.groups.append(shown);
    }
    for (const auto& [caption, edit] : std::initializer_list<std::pair<QLabel*, QLineEdit*>>{
             {f.Label1, f.Edit1}, {f.Label3, f.Edit3}, {f.Label4, f.Edit4}, {f.Label2, f.Edit2}, {f.Label30, f.Edit9}})
        d.drive.append({caption->text(), edit->text()});
    for (const auto& [caption, edit] : std::initializer_list<std::pair<QLabel*, QLineEdit*>>{
             {f.Label5, f.Edit5}, {f.Label6, f.Edit6}, {f.Label7, f.Edit7}, {f.Label15, f.Edit8}, {f.Label36, f.Edit11},
             {f.Label37, f.Edit12}, {f.Label38, f.Edit13}, {f.Label31, f.Edit10}})
        d.recommended.append({caption->text(), edit->text()});
    // The worded warnings of the core about the design on the screen: the
    // window keeps no named results, so the calculation runs once more on
    // the fields as they stand (it is the same calculation, and cheap).
    {
        calc::GeometryTexts texts;
        texts.centreDistance = f.Edit1->text();
        texts.ratio = f.Edit2->text();
        texts.wheelTeeth = f.Edit3->text();
        texts.wormStarts = f.Edit4->text();
        texts.mainBaseDiameter = f.Edit5->text();
        texts.tipEccentricity = f.Edit6->text();
        texts.wormReferenceDiameter = f.Edit7->text();
        texts.backlash = f.Edit8->text();
        texts.grindingIncrement = f.Edit13->text();
        texts.wholeTeeth = f.CheckBox1->isChecked();
        DesignValues values;
        core::Results results;
        // Only when it gives the captions on the screen: fields edited since
        // the last calculation (edit pressed, not yet confirmed) do not count.
        bool same = calc::calculate(texts, f.Design.RuleCoefficients, values, results) == calc::GeometryOutcome::Completed;
        for (const drawing::ShownGroup& group : d.groups)
            for (const drawing::ShownResult& r : group.results)
                if (const core::ResultLabel* row = core::resultLabel(r.label))
                    same = same && core::resultText(results, *row) + calc::resultSuffix(r.label) == r.caption;
        if (same) {
            d.warnings = core::designWarnings(values, results);
            d.results = results;
        }
    }
    d.rulesDatabase = QFileInfo(f.rulesDatabasePath()).fileName();
    d.rulesModified = !f.Label50->isHidden();
    d.rulesNotice = f.Label50->text();
    return d;
}

void printSheet(QPrinter& printer, const drawing::Sheet& sheet)
{
    drawing::setUpPage(printer, sheet);
    QPainter painter;
    if (!painter.begin(&printer))
        return;
    const int dpi = printer.resolution();
    drawing::paintSheetFitted(painter, sheet, QRectF(QPointF(0, 0), printer.pageLayout().paintRectPixels(dpi).size()), dpi);
    painter.end();
}

DrawingCommands::DrawingCommands(TForm1& form) : QObject(&form), form_(form)
{
    setObjectName(QStringLiteral("DrawingCommands"));
    createMenu();
    createToolButton();
    form_.ToolButton5->installEventFilter(this);
    followCalculation();
}

void DrawingCommands::createMenu()
{
    menu_ = new QMenu(QStringLiteral("图纸"), form_.menuBar());
    menu_->setObjectName(QStringLiteral("DrawingMenu"));
    // Between "文件" and "设置".
    form_.menuBar()->insertMenu(form_.N7->menuAction(), menu_);
    for (const PartEntry& part : kParts) {
        QMenu* sub = menu_->addMenu(QString::fromUtf8(part.caption));
        sub->menuAction()->setObjectName(QStringLiteral("Drawing%1").arg(QLatin1String(part.name)));
        needDesign_ << sub->menuAction();
        for (const FormatEntry& format : kFormats) {
            QAction* a = sub->addAction(QString::fromUtf8(format.caption));
            a->setObjectName(QStringLiteral("Drawing%1%2").arg(QLatin1String(part.name), QLatin1String(format.name)));
            connect(a, &QAction::triggered, this, [this, p = part.part, f = format.format] { exportSheet(p, f); });
        }
        QAction* print = sub->addAction(QStringLiteral("打印..."));
        print->setObjectName(QStringLiteral("Drawing%1Print").arg(QLatin1String(part.name)));
        connect(print, &QAction::triggered, this, [this, p = part.part] { printPart(p); });
    }
    QAction* title = menu_->addAction(QStringLiteral("标题栏..."));
    title->setObjectName(QStringLiteral("DrawingTitle"));
    connect(title, &QAction::triggered, this, &DrawingCommands::editTitleFields);
    report_ = menu_->addAction(QStringLiteral("设计报告"));
    report_->setObjectName(QStringLiteral("DesignReport"));
    connect(report_, &QAction::triggered, this, [this] { writeReport(); });
    needDesign_ << report_;
}

void DrawingCommands::createToolButton()
{
    // After the last button of the bar; the notice label at the right end
    // gives up the width of one button.
    const QRect last = form_.ToolButton13->geometry();
    button_ = new QToolButton(form_.ToolBar1);
    button_->setObjectName(QStringLiteral("ReportButton"));
    button_->setGeometry(last.right() + 1, last.top(), last.width(), last.height());
    button_->setAutoRaise(true);
    button_->setIconSize(form_.ToolButton13->iconSize());
    button_->setIcon(QIcon(reportPicture()));
    button_->setToolTip(QStringLiteral("设计报告"));
    connect(button_, &QToolButton::clicked, this, [this] { writeReport(); });
    if (form_.Label32) {
        QRect notice = form_.Label32->geometry();
        notice.setLeft(std::max(notice.left(), button_->geometry().right() + 1));
        form_.Label32->setGeometry(notice);
    }
}

void DrawingCommands::followCalculation()
{
    const bool calculated = form_.ToolButton5->isEnabled();
    for (QAction* a : needDesign_)
        a->setEnabled(calculated);
    button_->setEnabled(calculated);
}

bool DrawingCommands::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == form_.ToolButton5 && event->type() == QEvent::EnabledChange)
        followCalculation();
    return QObject::eventFilter(watched, event);
}

bool DrawingCommands::writeFile(const QString& path, const QByteArray& bytes, const QString& failure)
{
    const WriteOutcome written = writeFileAtomically(path, bytes);
    if (!written.ok()) {
        form_.showMessage(failure.arg(written.error));
        return false;
    }
    return true;
}

bool DrawingCommands::exportSheet(drawing::Part part, drawing::Format format)
{
    const FormatEntry& entry = entryOf(format);
    const drawing::ShownDesign design = shownDesign(form_);
    FileDialog dialog{QStringLiteral("DrawingDialog"), FileDialog::Kind::Save, QString::fromUtf8(entry.filter),
                      drawing::drawingNumber(part, design) + QLatin1Char('.') + QLatin1String(entry.suffix)};
    const std::optional<QString> chosen = form_.dialogs().chooseFile(&form_, dialog);
    if (!chosen)
        return false;
    // A name without the format's suffix gets it, so the file opens in the
    // program the user meant.
    QString path = *chosen;
    if (QFileInfo(path).suffix().compare(QLatin1String(entry.suffix), Qt::CaseInsensitive) != 0)
        path += QLatin1Char('.') + QLatin1String(entry.suffix);
    QByteArray bytes;
    try {
        bytes = drawing::renderSheet(drawing::partSheet(part, design, title_), format);
    } catch (const std::exception& error) {
        form_.showMessage(kDrawingFailed.arg(QString::fromUtf8(error.what())));
        return false;
    }
    return writeFile(path, bytes, kDrawingFailed);
}

void DrawingCommands::printPart(drawing::Part part)
{
    const drawing::Sheet sheet = drawing::partSheet(part, shownDesign(form_), title_);
    QPrinter printer(QPrinter::HighResolution);
    drawing::setUpPage(printer, sheet);
    QPrintPreviewDialog preview(&printer, &form_);
    preview.setObjectName(QStringLiteral("DrawingPreview"));
    connect(&preview, &QPrintPreviewDialog::paintRequested, &preview, [&sheet](QPrinter* p) { printSheet(*p, sheet); });
    preview.exec();
}

bool DrawingCommands::writeReport()
{
    drawing::ShownDesign design = shownDesign(form_);
    // The duty of the run's drive check, the one a save stores; none until
    // the user checked one or a design file brought one.
    if (const std::optional<rating::DutyTexts> duty = savedDuty(form_))
        design.driveCheck = drawing::driveCheckOf(form_.Design, *duty, form_.rulesDatabasePath());
    FileDialog dialog{QStringLiteral("ReportDialog"), FileDialog::Kind::Save, QStringLiteral("PDF 文件 (*.pdf)|*.pdf"),
                      QStringLiteral("%1-%2-设计报告.pdf").arg(design.edit(1), design.edit(2))};
    const std::optional<QString> chosen = form_.dialogs().chooseFile(&form_, dialog);
    if (!chosen)
        return false;
    QString path = *chosen;
    if (QFileInfo(path).suffix().compare(QLatin1String("pdf"), Qt::CaseInsensitive) != 0)
        path += QStringLiteral(".pdf");
    QByteArray bytes;
    try {
        bytes = drawing::designReport(design, title_, {kProductTitle, kProductVersion, QDate::currentDate()});
    } catch (const std::exception& error) {
        form_.showMessage(kReportFailed.arg(QString::fromUtf8(error.what())));
        return false;
    }
    return writeFile(path, bytes, kReportFailed);
}

void DrawingCommands::editTitleFields()
{
    QDialog dialog(&form_);
    dialog.setObjectName(QStringLiteral("TitleFieldsDialog"));
    dialog.setWindowTitle(QStringLiteral("标题栏"));
    auto* layout = new QFormLayout(&dialog);
    const std::pair<const char*, QString*> fields[] = {
        {"名称（空：零件名）", &title_.name}, {"图号（空：TP中心距-速比-序号）", &title_.number},
        {"材料（空：参考材料）", &title_.material}, {"设计", &title_.designer}, {"日期（空：当天）", &title_.date},
    };
    QList<QLineEdit*> edits;
    for (const auto& [caption, value] : fields) {
        auto* edit = new QLineEdit(*value, &dialog);
        layout->addRow(QString::fromUtf8(caption), edit);
        edits << edit;
    }
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    layout->addRow(buttons);
    connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    if (dialog.exec() != QDialog::Accepted)
        return;
    for (int k = 0; k < edits.size(); ++k)
        *fields[k].second = edits[k]->text().trimmed();
}

DrawingCommands* createDrawingCommands(TForm1& form) { return new DrawingCommands(form); }

} // namespace tpworm
