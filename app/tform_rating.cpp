#include "app/tform_rating.h"

#include "app/appearance.h"
#include "app/duty_inputs.h"
#include "app/icons.h"
#include "app/tform1.h"
#include "core/numeric.h"
#include "rating/rating_tables.h"

#include <QAction>
#include <QComboBox>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QPushButton>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

namespace tpworm {

namespace {

const QString kWindowName = QStringLiteral("FormRating");
const QString kActionName = QStringLiteral("RatingAction");
const QString kButtonName = QStringLiteral("RatingButton");
const QString kTitle = QStringLiteral("传动校核");

QString value3(long double v) { return FloatToStr(RoundTo(double(v), -3)); }
QString value4(long double v) { return FloatToStr(RoundTo(double(v), -4)); }

// A dial gauge with its needle in the red: the drive check's tool-bar picture.
QPixmap ratingPicture()
{
    QPixmap pixmap(icons::kToolBarPictureSize, icons::kToolBarPictureSize);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(40, 48, 64), 1.5));
    p.setBrush(QColor(245, 245, 240));
    p.drawEllipse(QRectF(3, 3, 26, 26));
    p.setPen(QPen(QColor(60, 150, 70), 3, Qt::SolidLine, Qt::FlatCap));
    p.drawArc(QRectF(7, 7, 18, 18), 90 * 16, 110 * 16);
    p.setPen(QPen(QColor(220, 40, 30), 3, Qt::SolidLine, Qt::FlatCap));
    p.drawArc(QRectF(7, 7, 18, 18), 20 * 16, 70 * 16);
    p.setPen(QPen(QColor(30, 30, 30), 2, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(16, 16), QPointF(23, 10));
    p.setBrush(QColor(30, 30, 30));
    p.drawEllipse(QPointF(16, 16), 2, 2);
    return pixmap;
}

QLineEdit* addInput(QGridLayout* grid, int row, const QString& name, const QString& caption, const QString& unit,
                    QWidget* parent)
{
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(name);
    grid->addWidget(new QLabel(caption, parent), row, 0);
    grid->addWidget(edit, row, 1);
    grid->addWidget(new QLabel(unit, parent), row, 2);
    return edit;
}

QLabel* hint(const QString& text, QWidget* parent)
{
    auto* label = new QLabel(text, parent);
    label->setWordWrap(true);
    QPalette p = label->palette();
    p.setColor(QPalette::WindowText, QColor(70, 70, 70));
    label->setPalette(p);
    return label;
}

// A design is calculated exactly while its save command is enabled: every
// calculation disables it first and enables it again only on completion.
bool designCalculated(const TForm1& main) { return main.N5->isEnabled(); }

void followDesign(TForm1& main)
{
    const bool calculated = designCalculated(main);
    if (auto* action = main.findChild<QAction*>(kActionName))
        action->setEnabled(calculated);
    if (auto* button = main.findChild<QToolButton*>(kButtonName))
        button->setEnabled(calculated);
    if (TFormRating* window = ratingWindow(main))
        window->designChanged();
}

} // namespace

TFormRating::TFormRating(TForm1& main) : QWidget(&main, Qt::Window), main_(main)
{
    setObjectName(kWindowName);
    setWindowTitle(kTitle);
    setSkyBlueBackground(*this);
    new QVBoxLayout(this);
    createInputs();
    createResults();
    reloadMaterials();
    ResultGroup->hide();
}

void TFormRating::createInputs()
{
    auto* group = new QGroupBox(QStringLiteral(" 工况 "), this);
    group->setObjectName(QStringLiteral("DutyGroup"));
    auto* grid = new QGridLayout(group);
    int row = 0;
    PowerEdit = addInput(grid, row++, "PowerEdit", "输入功率 P1：", "kW", group);
    SpeedEdit = addInput(grid, row++, "SpeedEdit", "蜗杆转速 n1：", "r/min", group);
    MaterialBox = new QComboBox(group);
    MaterialBox->setObjectName("MaterialBox");
    grid->addWidget(new QLabel("材料配对：", group), row, 0);
    grid->addWidget(MaterialBox, row++, 1, 1, 2);
    FrictionEdit = addInput(grid, row++, "FrictionEdit", "摩擦系数 μ：", "", group);
    AmbientEdit = addInput(grid, row++, "AmbientEdit", "环境温度 ta：", "°C", group);
    OilLimitEdit = addInput(grid, row++, "OilLimitEdit", "允许油温 tlim：", "°C", group);
    HeatTransferEdit = addInput(grid, row++, "HeatTransferEdit", "散热系数 αs：", "W/(m²·°C)", group);
    grid->addWidget(hint("通常取 8.15～17.45 W/(m²·°C)（自然通风；通风良好取大值）", group), row++, 1, 1, 2);
    AreaEdit = addInput(grid, row++, "AreaEdit", "箱体散热面积 S：", "m²", group);
    AreaHint = hint(QString(), group);
    AreaHint->setObjectName("AreaHint");
    grid->addWidget(AreaHint, row++, 1, 1, 2);
    OtherEfficiencyEdit = addInput(grid, row++, "OtherEfficiencyEdit", "轴承及搅油效率 ηo：", "", group);
    grid->addWidget(hint("ηo 为假设值（默认 0.96），可按实际修改", group), row++, 1, 1, 2);
    CheckButton = new QPushButton(QStringLiteral("校核"), group);
    CheckButton->setObjectName("CheckButton");
    grid->addWidget(CheckButton, row++, 1);
    static_cast<QVBoxLayout*>(this->layout())->addWidget(group);

    setDutyTexts(rating::DutyTexts{});
    connect(CheckButton, &QPushButton::clicked, this, &TFormRating::CheckButtonClick);
    connect(MaterialBox, &QComboBox::currentIndexChanged, this, &TFormRating::materialChanged);
}

void TFormRating::createResults()
{
    ResultGroup = new QGroupBox(QStringLiteral(" 校核结果 "), this);
    ResultGroup->setObjectName("ResultGroup");
    auto* grid = new QGridLayout(ResultGroup);
    // key, caption, unit
    const QList<std::array<const char*, 3>> rows = {
        {"T1", "输入转矩 T1", "N·m"},
        {"n2", "输出转速 n2", "r/min"},
        {"T2", "输出转矩 T2", "N·m"},
        {"P2", "输出功率 P2", "kW"},
        {"vs", "滑动速度 vs", "m/s"},
        {"mu", "摩擦系数 μ", ""},
        {"rho", "当量摩擦角 ρ'", "°"},
        {"eta_m", "啮合效率 ηm", ""},
        {"eta", "总效率 η = ηm·ηo", ""},
        {"eta_b", "逆传动效率 ηb（蜗轮主动）", ""},
        {"Ft2", "蜗轮圆周力 Ft2 = 蜗杆轴向力 Fa1", "N"},
        {"Ft1", "蜗杆圆周力 Ft1 = 蜗轮轴向力 Fa2", "N"},
        {"Fr", "径向力 Fr", "N"},
        {"H", "发热功率 H", "W"},
        {"S", "箱体散热面积 S", "m²"},
        {"to", "油温 to", "°C"},
        {"Sreq", "所需散热面积 Sreq", "m²"},
        {"thermal", "热平衡校核", ""},
        {"KA", "使用系数 P额定/P1", ""},
    };
    int row = 0;
    for (const auto& [key, caption, unit] : rows) {
        auto* value = new QLabel(ResultGroup);
        value->setObjectName(QStringLiteral("Result_") + QString::fromLatin1(key));
        value->setTextInteractionFlags(Qt::TextSelectableByMouse);
        grid->addWidget(new QLabel(QString::fromUtf8(caption) + QStringLiteral("："), ResultGroup), row, 0);
        grid->addWidget(value, row, 1, Qt::AlignRight);
        grid->addWidget(new QLabel(QString::fromUtf8(unit), ResultGroup), row, 2);
        values_.insert(QString::fromLatin1(key), value);
        ++row;
    }
    WarningLabel = new QLabel(ResultGroup);
    WarningLabel->setObjectName("WarningLabel");
    WarningLabel->setWordWrap(true);
    WarningLabel->setMinimumWidth(380);
    QPalette p = WarningLabel->palette();
    p.setColor(QPalette::WindowText, QColor(255, 0, 0));
    WarningLabel->setPalette(p);
    grid->addWidget(WarningLabel, row, 0, 1, 3);
    static_cast<QVBoxLayout*>(layout())->addWidget(ResultGroup);
}

void TFormRating::reloadMaterials() { tablesProblem_ = inputs().reloadMaterials(main_.rulesDatabasePath()); }

void TFormRating::materialChanged() { inputs().materialChanged(); }

DutyInputs TFormRating::inputs() const
{
    return {PowerEdit,    SpeedEdit,        MaterialBox, FrictionEdit,       AmbientEdit,
            OilLimitEdit, HeatTransferEdit, AreaEdit,    OtherEfficiencyEdit};
}

rating::DutyTexts TFormRating::dutyTexts() const { return inputs().read(); }

void TFormRating::setDutyTexts(const rating::DutyTexts& d) { inputs().write(d); }

void TFormRating::rememberDuty(const rating::DutyTexts& duty)
{
    lastDuty_ = duty;
    setDutyTexts(duty);
}

void TFormRating::designChanged()
{
    ResultGroup->hide();
    for (QLabel* value : values_)
        value->clear();
    WarningLabel->clear();
    const bool calculated = designCalculated(main_);
    CheckButton->setEnabled(calculated);
    AreaHint->setText(calculated ? QStringLiteral("留空则按 S = 9×10⁻⁵·a^1.85 估算：%1 m²（估算值，无散热片的箱体）")
                                       .arg(value3(rating::estimatedHousingArea(main_.Design.CentreDistance)))
                                 : QStringLiteral("留空则按 S = 9×10⁻⁵·a^1.85 估算（估算值）"));
}

void TFormRating::CheckButtonClick()
{
    designChanged();
    if (!designCalculated(main_)) {
        main_.showMessage(QStringLiteral("请先完成设计计算，再做传动校核"));
        return;
    }
    const rating::DutyTexts texts = dutyTexts();
    try {
        const rating::Duty duty = rating::parseDuty(texts);
        const rating::RatingTables tables = rating::loadRatingTables(main_.rulesDatabasePath());
        const rating::Rating r =
            rating::rate(rating::driveValues(main_.Design), duty, tables.friction, tables.ratedPower);
        lastDuty_ = texts;
        showRating(r, duty);
    } catch (const rating::RatingError& e) {
        main_.showMessage(e.message());
    }
}

void TFormRating::setResult(const QString& key, const QString& text, bool red)
{
    QLabel* label = values_.value(key);
    label->setText(text);
    QPalette p = label->palette();
    p.setColor(QPalette::WindowText, red ? QColor(255, 0, 0) : palette().color(QPalette::WindowText));
    label->setPalette(p);
}

void TFormRating::showRating(const rating::Rating& r, const rating::Duty& duty)
{
    setResult("T1", value3(r.inputTorque));
    setResult("n2", value3(r.outputSpeed));
    setResult("T2", value3(r.outputTorque));
    setResult("P2", value3(r.outputPower));
    setResult("vs", value3(r.slidingSpeed));
    setResult("mu", value4(r.friction) + (r.frictionTyped ? QStringLiteral("（输入值）") : QStringLiteral("（查表）")));
    setResult("rho", value3(r.frictionAngle));
    setResult("eta_m", value4(r.meshEfficiency));
    setResult("eta", value4(r.efficiency));
    setResult("eta_b", r.selfLocking ? QStringLiteral("0（自锁）") : value4(r.backdriveEfficiency) + QStringLiteral("（可逆转）"));
    setResult("Ft2", value3(r.wheelTangentialForce));
    setResult("Ft1", value3(r.wormTangentialForce));
    setResult("Fr", value3(r.radialForce));
    setResult("H", value3(r.heatLoss));
    setResult("S", value3(r.surface) + (r.surfaceEstimated ? QStringLiteral("（估算）") : QString()));
    setResult("to", value3(r.oilTemperature), !r.thermalOk);
    setResult("Sreq", value3(r.requiredSurface), !r.thermalOk);
    setResult("thermal",
              r.thermalOk ? QStringLiteral("合格（to ≤ %1 °C）").arg(value3(duty.oilLimit))
                          : QStringLiteral("不合格（to > %1 °C）").arg(value3(duty.oilLimit)),
              !r.thermalOk);
    setResult("KA", r.serviceFactor ? value3(*r.serviceFactor) : QStringLiteral("未计算"), !r.serviceFactor || *r.serviceFactor < 1);
    QStringList warnings = r.warnings;
    if (!tablesProblem_.isEmpty())
        warnings.prepend(tablesProblem_);
    WarningLabel->setText(warnings.join(QLatin1Char('\n')));
    ResultGroup->show();
}

bool TFormRating::hasResult() const { return !ResultGroup->isHidden(); }

QString TFormRating::resultText(const QString& key) const { return values_.value(key)->text(); }

bool TFormRating::resultIsRed(const QString& key) const
{
    return values_.value(key)->palette().color(QPalette::WindowText) == QColor(255, 0, 0);
}

TFormRating* ratingWindow(const TForm1& main)
{
    return main.findChild<TFormRating*>(kWindowName, Qt::FindDirectChildrenOnly);
}

std::optional<rating::DutyTexts> savedDuty(const TForm1& main)
{
    const TFormRating* window = ratingWindow(main);
    return window ? window->lastDuty() : std::nullopt;
}

void rememberOpenedDuty(TForm1& main, const rating::DutyTexts& duty)
{
    TFormRating* window = ratingWindow(main);
    if (!window)
        window = new TFormRating(main);
    window->rememberDuty(duty);
}

void showRatingWindow(TForm1& main)
{
    TFormRating* window = ratingWindow(main);
    if (!window)
        window = new TFormRating(main);
    else
        window->reloadMaterials();
    window->designChanged();
    window->show();
    window->raise();
    window->activateWindow();
}

void installRatingCommands(TForm1& main)
{
    // Its own menu, between the settings and the updates.
    auto* menu = new QMenu(QStringLiteral("校核"), &main);
    menu->setObjectName(QStringLiteral("RatingMenu"));
    QAction* action = menu->addAction(kTitle);
    action->setObjectName(kActionName);
    action->setEnabled(false);
    main.menuBar()->insertMenu(main.df1->menuAction(), menu);

    // The tool bar: after "关闭", behind a separator; the notice label keeps
    // the rest of the bar to the right of it.
    const QRect last = main.ToolButton13->geometry();
    auto* line = new QFrame(main.ToolBar1);
    line->setObjectName(QStringLiteral("RatingSeparator"));
    line->setFrameShape(QFrame::VLine);
    line->setFrameShadow(QFrame::Sunken);
    line->setGeometry(last.right() + 1 + 3, last.top() + 2, 2, last.height() - 4);
    auto* button = new QToolButton(main.ToolBar1);
    button->setObjectName(kButtonName);
    button->setGeometry(last.right() + 1 + 8, last.top(), last.width(), last.height());
    button->setAutoRaise(true);
    button->setIconSize(main.ToolButton13->iconSize());
    button->setIcon(QIcon(ratingPicture()));
    button->setToolTip(kTitle);
    button->setEnabled(false);
    const QRect notice = main.Label32->geometry();
    const int left = button->geometry().right() + 1;
    main.Label32->setGeometry(left, notice.top(), notice.right() + 1 - left, notice.height());

    QObject::connect(action, &QAction::triggered, &main, [&main] { showRatingWindow(main); });
    QObject::connect(button, &QToolButton::clicked, &main, [&main] { showRatingWindow(main); });
    QObject::connect(main.N5, &QAction::changed, &main, [&main] { followDesign(main); });
}

} // namespace tpworm
