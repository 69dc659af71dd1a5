#include "app/variants_window.h"

#include "app/tform1.h"
#include "batch/batch_run.h"
#include "core/design_form.h"
#include "core/numeric.h"
#include "core/safe_file.h"
#include "rules/rules_memory.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QHeaderView>
#include <QLineEdit>
#include <QMenu>
#include <QPainter>
#include <QPushButton>
#include <QTableWidget>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

#include <cmath>

namespace tpworm {

namespace {

// Sorts numerically where both cells read as numbers.
class Cell : public QTableWidgetItem {
public:
    using QTableWidgetItem::QTableWidgetItem;
    bool operator<(const QTableWidgetItem& other) const override
    {
        bool a = false, b = false;
        const double x = text().toDouble(&a);
        const double y = other.text().toDouble(&b);
        return a && b ? x < y : QTableWidgetItem::operator<(other);
    }
};

struct ColumnDef {
    const char* caption;
    int label; // result label, 0 for the drive data
};

// The drive data, then the key results by label number.
const ColumnDef kColumns[] = {
    {"中心距", 0}, {"头数", 0}, {"齿数", 0}, {"速比", 0},
    {"蜗杆喉部齿根直径", 53}, {"蜗杆最大齿顶圆直径", 48}, {"蜗轮最大外径", 33}, {"蜗轮喉径", 35},
    {"齿圈工作宽度", 34}, {"母平面倾斜角", 13}, {"警告", 0},
};

} // namespace

VariantsWindow::VariantsWindow(TForm1& form) : QDialog(&form), form_(form)
{
    setObjectName(QStringLiteral("VariantsWindow"));
    setWindowTitle(QStringLiteral("方案比较"));
    resize(900, 480);
    table_ = new QTableWidget(this);
    table_->setObjectName(QStringLiteral("VariantsTable"));
    table_->setColumnCount(int(std::size(kColumns)));
    QStringList captions;
    for (const ColumnDef& c : kColumns)
        captions << QString::fromUtf8(c.caption);
    table_->setHorizontalHeaderLabels(captions);
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->setSortingEnabled(true);
    auto* save = new QPushButton(QStringLiteral("另存为CSV"), this);
    save->setObjectName(QStringLiteral("VariantsSave"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(table_);
    layout->addWidget(save);
    connect(save, &QPushButton::clicked, this, &VariantsWindow::saveAsCsv);
    connect(table_, &QTableWidget::cellDoubleClicked, this, [this](int row, int) { loadRow(row); });
}

void VariantsWindow::refresh()
{
    table_->setSortingEnabled(false);
    table_->setRowCount(0);
    const QString teeth = form_.Edit3->text();
    const QString starts = form_.Edit4->text().isEmpty() ? QStringLiteral("1") : form_.Edit4->text();
    const QString grade = form_.ComboBox1->currentIndex() < 0 ? QStringLiteral("7") : form_.ComboBox1->currentText();
    const rules::RulesData rules = rules::readRulesData(form_.rulesDatabasePath());
    QStringList series;
    try {
        series = batch::readSeries(form_.programFile(QStringLiteral("centre_distances.txt")));
    } catch (const std::exception& e) {
        form_.showMessage(QString::fromUtf8(e.what()));
        return;
    }
    for (const QString& a : series) {
        core::DesignRequest request;
        request.centreDistance = a;
        request.teeth = teeth;
        request.starts = starts;
        request.grade = grade;
        request.standardBacklash = form_.CheckBox2->isChecked();
        request.coefficients = form_.Design.RuleCoefficients;
        const core::DesignForm design = core::runDesign(request, rules);
        const int row = table_->rowCount();
        table_->insertRow(row);
        int column = 0;
        for (const ColumnDef& c : kColumns) {
            QString text;
            if (column == 0) text = a;
            else if (column == 1) text = design.text(core::Field::WormStarts);
            else if (column == 2) text = design.text(core::Field::WheelTeeth);
            else if (column == 3) text = design.text(core::Field::Ratio);
            else if (c.label && design.calculated()) text = core::resultText(design.results(), *core::resultLabel(c.label));
            else if (c.label == 0) {
                QStringList warnings = design.messages() + design.warnings();
                for (const core::ResultLabel& r : core::resultLabels())
                    if (design.calculated() && design.label(r.label).red)
                        warnings << QString::fromUtf8(r.name);
                text = warnings.join(QStringLiteral(" | "));
            }
            table_->setItem(row, column++, new Cell(text));
        }
    }
    table_->setSortingEnabled(true);
}

void VariantsWindow::loadRow(int row)
{
    if (row < 0 || row >= table_->rowCount())
        return;
    TForm1& f = form_;
    // The candidate replaces the drive data: open it for typing again, then
    // type it and press the calculate command, which locks it as usual.
    for (QWidget* w : std::initializer_list<QWidget*>{f.Edit1, f.Edit3, f.Edit4, f.SpeedButton2})
        w->setEnabled(true);
    f.Edit1->setText(table_->item(row, 0)->text());
    f.Edit3->setText(table_->item(row, 2)->text());
    f.Edit4->setText(table_->item(row, 1)->text());
    f.SpeedButton2Click();
}

void VariantsWindow::saveAsCsv()
{
    const FileDialog dialog{QStringLiteral("SaveDialogVariants"), FileDialog::Kind::Save,
                            QStringLiteral("*.csv|*.csv"), QStringLiteral("variants.csv")};
    const std::optional<QString> file = form_.dialogs().chooseFile(this, dialog);
    if (!file)
        return;
    auto field = [](QString t) {
        if (t.contains(QLatin1Char(',')) || t.contains(QLatin1Char('"')) || t.contains(QLatin1Char('\n')))
            t = QLatin1Char('"') + t.replace(QLatin1String("\""), QLatin1String("\"\"")) + QLatin1Char('"');
        return t;
    };
    QString csv;
    for (int c = 0; c < table_->columnCount(); ++c)
        csv += (c ? QStringLiteral(",") : QString()) + field(table_->horizontalHeaderItem(c)->text());
    csv += QLatin1Char('\n');
    for (int r = 0; r < table_->rowCount(); ++r) {
        for (int c = 0; c < table_->columnCount(); ++c)
            csv += (c ? QStringLiteral(",") : QString()) + field(table_->item(r, c)->text());
        csv += QLatin1Char('\n');
    }
    const WriteOutcome outcome = writeFileAtomically(*file, csv.toUtf8());
    if (!outcome.ok())
        form_.showMessage(QStringLiteral("文件保存失败：") + outcome.error);
}

void installVariants(TForm1& form)
{
    auto open = [&form] {
        auto* window = form.findChild<VariantsWindow*>();
        if (!window)
            window = new VariantsWindow(form);
        window->refresh();
        window->show();
        window->raise();
    };
    QAction* item = new QAction(QStringLiteral("方案比较"), &form);
    item->setObjectName(QStringLiteral("VariantsItem"));
    form.N1->insertAction(form.N6, item);
    QObject::connect(item, &QAction::triggered, &form, open);

    // A table of three rows under a header, drawn like the other pictures.
    QPixmap picture(24, 24);
    picture.fill(Qt::transparent);
    {
        QPainter p(&picture);
        p.setPen(QColor(0, 0, 128));
        p.setBrush(QColor(200, 220, 255));
        p.drawRect(2, 3, 19, 17);
        p.fillRect(3, 4, 18, 4, QColor(0, 0, 128));
        for (int y : {11, 15})
            p.drawLine(3, y, 20, y);
        p.drawLine(11, 8, 11, 19);
    }
    auto* button = new QToolButton(form.ToolBar1);
    button->setObjectName(QStringLiteral("VariantsButton"));
    const QRect last = form.ToolButton13->geometry();
    button->setGeometry(last.translated(last.width(), 0));
    button->setAutoRaise(true);
    button->setIcon(QIcon(picture));
    button->setIconSize(form.ToolButton13->iconSize());
    button->setToolTip(QStringLiteral("方案比较"));
    QObject::connect(button, &QToolButton::clicked, &form, open);
}

} // namespace tpworm
