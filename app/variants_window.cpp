#include "app/variants_window.h"

#include "app/tform1.h"
#include "app/tform_rating.h"
#include "batch/batch_run.h"
#include "core/design_form.h"
#include "core/numeric.h"
#include "core/safe_file.h"
#include "core/translation.h"
#include "rating/rating_tables.h"
#include "rules/rules_memory.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
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
    {"齿圈工作宽度", 34}, {"母平面倾斜角", 13},
};
constexpr int kDesignColumns = int(std::size(kColumns));

// The drive check of each candidate, between the key results and the
// warnings; the housing surface's caption says whether it is estimated.
// Short captions keep the table narrow; the tooltip names the quantity as
// the drive check window does.
struct RatingColumn {
    const char* key;
    const char* caption;
    const char* tooltip;
};
const RatingColumn kRatingColumns[] = {
    {"eta", "效率 η", "总效率 η = ηm·ηo"}, {"T2", "T2（N·m）", "输出转矩 T2"}, {"S", "S（m²）", "箱体散热面积 S"},
    {"to", "油温 to（°C）", "油温 to"}, {"thermal", "热平衡", "热平衡校核"},
};
constexpr int kRatingColumnCount = int(std::size(kRatingColumns));
const int kWarningColumn = kDesignColumns + kRatingColumnCount;

const QString kTypedFriction = QStringLiteral("直接输入摩擦系数 μ");
const QColor kRed(255, 0, 0);

// Rounded as the drive check window shows them.
QString value3(long double v) { return FloatToStr(RoundTo(double(v), -3)); }
QString value4(long double v) { return FloatToStr(RoundTo(double(v), -4)); }

QLineEdit* addInput(QHBoxLayout* row, const char* name, const char* caption, const char* unit, int width,
                    QWidget* parent)
{
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(QString::fromLatin1(name));
    edit->setMaximumWidth(width);
    row->addWidget(new QLabel(QString::fromUtf8(caption), parent));
    row->addWidget(edit);
    if (*unit)
        row->addWidget(new QLabel(QString::fromUtf8(unit), parent));
    return edit;
}

// The duty row's summary line, the inputs as typed.
QString dutySummary(const rating::DutyTexts& d, const QString& material)
{
    const QString friction = d.friction.trimmed().isEmpty()
                                 ? material
                                 : uiText("μ = %1（输入值）").arg(d.friction.trimmed());
    return uiText("工况：P1 = %1 kW，n1 = %2 r/min，%3，ta = %4 °C，tlim = %5 °C，αs = %6 W/(m²·°C)，ηo = %7。")
        .arg(d.inputPower.trimmed(), d.wormSpeed.trimmed(), friction, d.ambient.trimmed(), d.oilLimit.trimmed(),
             d.heatTransfer.trimmed(), d.otherEfficiency.trimmed());
}

} // namespace

VariantsWindow::VariantsWindow(TForm1& form) : QDialog(&form), form_(form)
{
    setObjectName(QStringLiteral("VariantsWindow"));
    setWindowTitle(QStringLiteral("方案比较"));
    resize(1360, 560);
    auto* layout = new QVBoxLayout(this);
    createDutyRow();
    table_ = new QTableWidget(this);
    table_->setObjectName(QStringLiteral("VariantsTable"));
    table_->setColumnCount(kWarningColumn + 1);
    QStringList captions;
    for (const ColumnDef& c : kColumns)
        captions << QString::fromUtf8(c.caption);
    for (const RatingColumn& c : kRatingColumns)
        captions << QString::fromUtf8(c.caption);
    captions << QStringLiteral("警告");
    table_->setHorizontalHeaderLabels(captions);
    for (int k = 0; k < kRatingColumnCount; ++k)
        table_->horizontalHeaderItem(kDesignColumns + k)->setToolTip(QString::fromUtf8(kRatingColumns[k].tooltip));
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->setSortingEnabled(true);
    auto* save = new QPushButton(QStringLiteral("另存为CSV"), this);
    save->setObjectName(QStringLiteral("VariantsSave"));
    layout->addWidget(table_);
    layout->addWidget(save);
    connect(save, &QPushButton::clicked, this, &VariantsWindow::saveAsCsv);
    connect(table_, &QTableWidget::cellDoubleClicked, this, [this](int row, int) { loadRow(row); });
}

void VariantsWindow::createDutyRow()
{
    auto* group = new QGroupBox(QStringLiteral(" 工况 "), this);
    group->setObjectName(QStringLiteral("VariantsDutyGroup"));
    auto* outer = new QVBoxLayout(group);
    auto* row = new QHBoxLayout;
    outer->addLayout(row);
    PowerEdit = addInput(row, "VariantsPowerEdit", "P1：", "kW", 70, group);
    SpeedEdit = addInput(row, "VariantsSpeedEdit", "n1：", "r/min", 70, group);
    MaterialBox = new QComboBox(group);
    MaterialBox->setObjectName(QStringLiteral("VariantsMaterialBox"));
    row->addWidget(MaterialBox);
    FrictionEdit = addInput(row, "VariantsFrictionEdit", "μ：", "", 60, group);
    AmbientEdit = addInput(row, "VariantsAmbientEdit", "ta：", "°C", 50, group);
    OilLimitEdit = addInput(row, "VariantsOilLimitEdit", "tlim：", "°C", 50, group);
    RateButton = new QPushButton(QStringLiteral("校核"), group);
    RateButton->setObjectName(QStringLiteral("VariantsRateButton"));
    row->addWidget(RateButton);
    row->addStretch();
    DutyLine = new QLabel(group);
    DutyLine->setObjectName(QStringLiteral("VariantsDutyLine"));
    DutyLine->setWordWrap(true);
    DutyLine->setTextInteractionFlags(Qt::TextSelectableByMouse);
    outer->addWidget(DutyLine);
    static_cast<QVBoxLayout*>(layout())->addWidget(group);

    // The defaults of the drive check, with no power and speed: no duty yet.
    reloadMaterials();
    setDutyRow(rating::DutyTexts{});
    connect(MaterialBox, &QComboBox::currentIndexChanged, this, &VariantsWindow::materialChanged);
    connect(RateButton, &QPushButton::clicked, this, &VariantsWindow::refresh);
}

void VariantsWindow::reloadMaterials()
{
    const QVariant current = MaterialBox->count() > 0 ? MaterialBox->currentData() : QVariant();
    MaterialBox->blockSignals(true);
    MaterialBox->clear();
    try {
        for (const rating::FrictionCurve& c : rating::loadRatingTables(form_.rulesDatabasePath()).friction)
            MaterialBox->addItem(c.name, c.key);
    } catch (const rating::RatingError&) {
        // A rating under the table reports the problem; μ can still be typed.
    }
    MaterialBox->addItem(kTypedFriction, QString());
    const int again = current.isValid() ? MaterialBox->findData(current) : -1;
    MaterialBox->setCurrentIndex(again >= 0 ? again : 0);
    MaterialBox->blockSignals(false);
    materialChanged();
}

void VariantsWindow::materialChanged() { FrictionEdit->setEnabled(MaterialBox->currentData().toString().isEmpty()); }

void VariantsWindow::setDutyRow(const rating::DutyTexts& d)
{
    PowerEdit->setText(d.inputPower);
    SpeedEdit->setText(d.wormSpeed);
    const int index = MaterialBox->findData(d.friction.isEmpty() ? d.material : QString());
    if (index >= 0)
        MaterialBox->setCurrentIndex(index);
    FrictionEdit->setText(d.friction);
    AmbientEdit->setText(d.ambient);
    OilLimitEdit->setText(d.oilLimit);
    materialChanged();
}

void VariantsWindow::takeRememberedDuty()
{
    reloadMaterials();
    const std::optional<rating::DutyTexts> remembered = savedDuty(form_);
    if (remembered && remembered != prefilledFrom_) {
        setDutyRow(*remembered);
        prefilledFrom_ = remembered;
    }
}

rating::DutyTexts VariantsWindow::dutyTexts() const
{
    const TFormRating* check = ratingWindow(form_);
    rating::DutyTexts d = check ? check->dutyTexts() : rating::DutyTexts{};
    d.inputPower = PowerEdit->text();
    d.wormSpeed = SpeedEdit->text();
    d.material = MaterialBox->currentData().toString();
    d.friction = d.material.isEmpty() ? FrictionEdit->text() : QString();
    d.ambient = AmbientEdit->text();
    d.oilLimit = OilLimitEdit->text();
    return d;
}

int VariantsWindow::ratingColumn(const QString& key)
{
    for (int k = 0; k < kRatingColumnCount; ++k)
        if (key == QLatin1String(kRatingColumns[k].key))
            return kDesignColumns + k;
    return -1;
}

void VariantsWindow::refresh()
{
    table_->setSortingEnabled(false);
    table_->setRowCount(0);

    // The duty first: without one, or with a bad one, the table carries the
    // designs alone and the line says why.
    const rating::DutyTexts dutyTexts = this->dutyTexts();
    std::optional<rating::Duty> duty;
    rating::RatingTables tables;
    QString line;
    if (dutyTexts.inputPower.trimmed().isEmpty() && dutyTexts.wormSpeed.trimmed().isEmpty()) {
        line = uiText("未给工况：填入输入功率 P1 和蜗杆转速 n1 后按“校核”，表中即列出各方案的效率、输出转矩、油温和热平衡校核。");
    } else {
        try {
            duty = rating::parseDuty(dutyTexts);
            tables = rating::loadRatingTables(form_.rulesDatabasePath());
        } catch (const rating::RatingError& e) {
            duty.reset();
            line = uiText("工况有误，表中未列校核结果：%1").arg(e.message());
            form_.showMessage(e.message());
        }
    }
    QTableWidgetItem* areaHeader = table_->horizontalHeaderItem(ratingColumn("S"));
    if (duty && duty->housingArea) {
        areaHeader->setText(uiText("S（m²，输入值）"));
        areaHeader->setToolTip(uiText("各方案均取“传动校核”窗口中输入的箱体散热面积 S = %1 m²")
                                   .arg(dutyTexts.housingArea.trimmed()));
    } else {
        areaHeader->setText(uiText("S（m²，估算）"));
        areaHeader->setToolTip(uiText("各方案按自己的中心距估算 S = 9×10⁻⁵·a^1.85 m²（估算值，无散热片的箱体）；"
                                      "在“传动校核”窗口中输入 S 则各方案均取该值"));
    }

    const QString teeth = form_.Edit3->text();
    const QString starts = form_.Edit4->text().isEmpty() ? QStringLiteral("1") : form_.Edit4->text();
    const QString grade = form_.ComboBox1->currentIndex() < 0 ? QStringLiteral("7") : form_.ComboBox1->currentText();
    const rules::RulesData rules = rules::readRulesData(form_.rulesDatabasePath());
    QStringList series;
    try {
        series = batch::readSeries(form_.programFile(QStringLiteral("centre_distances.txt")));
    } catch (const std::exception& e) {
        form_.showMessage(QString::fromUtf8(e.what()));
        DutyLine->setText(line);
        return;
    }
    std::optional<long double> smallestCool; // the smallest a whose oil stays within the limit
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
        for (int column = 0; column < kDesignColumns; ++column) {
            const ColumnDef& c = kColumns[column];
            QString text;
            if (column == 0) text = a;
            else if (column == 1) text = design.text(core::Field::WormStarts);
            else if (column == 2) text = design.text(core::Field::WheelTeeth);
            else if (column == 3) text = design.text(core::Field::Ratio);
            else if (c.label && design.calculated()) text = core::resultText(design.results(), *core::resultLabel(c.label));
            table_->setItem(row, column, new Cell(text));
        }
        QStringList warnings = design.messages() + design.warnings();
        for (const core::ResultLabel& r : core::resultLabels())
            if (design.calculated() && design.label(r.label).red)
                warnings << QString::fromUtf8(r.name);
        table_->setItem(row, kWarningColumn, new Cell(warnings.join(QStringLiteral(" | "))));

        QStringList ratingTexts(kRatingColumnCount);
        bool failed = false;
        QString notes;
        if (duty && design.calculated()) {
            try {
                const rating::Rating r =
                    rating::rate(rating::driveValues(design.design()), *duty, tables.friction, tables.ratedPower);
                ratingTexts = {value4(r.efficiency), value3(r.outputTorque), value3(r.surface), value3(r.oilTemperature),
                               r.thermalOk ? uiText("合格") : uiText("不合格")};
                failed = !r.thermalOk;
                notes = r.warnings.join(QLatin1Char('\n'));
                if (r.thermalOk && (!smallestCool || design.design().CentreDistance < *smallestCool))
                    smallestCool = design.design().CentreDistance;
            } catch (const rating::RatingError& e) {
                ratingTexts.last() = uiText("未校核");
                notes = e.message();
            }
        }
        for (int k = 0; k < kRatingColumnCount; ++k) {
            auto* cell = new Cell(ratingTexts[k]);
            const QString key = QString::fromLatin1(kRatingColumns[k].key);
            if (failed && (key == QLatin1String("to") || key == QLatin1String("thermal")))
                cell->setForeground(kRed);
            if (key == QLatin1String("thermal") && !notes.isEmpty())
                cell->setToolTip(notes);
            table_->setItem(row, kDesignColumns + k, cell);
        }
    }
    table_->setSortingEnabled(true);
    // Narrow columns, so that the drive check stands beside the design
    // without scrolling; the warnings keep the width they have.
    for (int column = 0; column < kWarningColumn; ++column)
        table_->resizeColumnToContents(column);

    if (duty) {
        const QString material = MaterialBox->currentText();
        line = dutySummary(dutyTexts, material);
        line += smallestCool ? uiText("油温不超过 tlim 的最小中心距：a = %1 mm。").arg(FloatToStr(double(*smallestCool)))
                             : uiText("没有方案的油温不超过 tlim。");
        if (tables.ratedPower.isEmpty())
            line += uiText("强度（承载能力）未计算：规则数据库的额定功率表 rated_power 没有数据。");
    }
    DutyLine->setText(line);
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
        window->takeRememberedDuty();
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
