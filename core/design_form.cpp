#include "core/design_form.h"

#include "core/geometry.h"
#include "core/numeric.h"
#include "core/recommend.h"
#include "core/translation.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <algorithm>
#include <charconv>
#include <cstring>
#include <string>
#include <string_view>
#include <exception>
#include <vector>

namespace tpworm::core {

namespace {

const QString kCentreDistanceMessage = QStringLiteral("输入参数有误，请输入合法有效的数字.........");
const QString kTeethStartsMessage = QStringLiteral("参数输入不合法，请输入合法参数.........");
const QString kCalculateMessage = QStringLiteral("您输入的内容不符合要求,请输入合法数字且不能为空...");
const QString kRatioMismatchMessage = QStringLiteral("输入参数不正确......（速比=齿数/头数）");
const QString kCalculationFaultMessage = QStringLiteral("只能输入合法数字，且不能为空");
const QString kReliefSeparator = QStringLiteral(" * ");

// The range of drives the design method is given for (the program's design
// manual, "推荐参数", 适用范围): 70 mm < a < 1500 mm and 7.5 < i < 150, the
// bounds themselves outside.
constexpr long double kMinCentreDistance = 70.0L;
constexpr long double kMaxCentreDistance = 1500.0L;
constexpr long double kMinRatio = 7.5L;
constexpr long double kMaxRatio = 150.0L;

constexpr int kGroup6[] = {12, 13, 25, 27, 14};
constexpr int kGroup1[] = {24, 8, 10, 9, 11, 26, 28, 48, 43, 53, 16, 17};
constexpr int kGroup3[] = {33, 35, 34, 40, 23, 44, 45};
constexpr int kGroup2[] = {18, 19, 20, 29, 49, 21, 22};
constexpr int kGroup4[] = {41, 42, 51, 52};

const ResultGroup kGroups[] = {
    {"GroupBox6", " 传动特性  ", kGroup6},
    {"GroupBox1", "  蜗杆参数  ", kGroup1},
    {"GroupBox3", "  蜗轮参数  ", kGroup3},
    {"GroupBox2", "  滚刀参数  ", kGroup2},
    {"GroupBox4", " 一般型传动修形参数   ", kGroup4},
};

// The recommended-parameter group as the listing prints it: each caption with
// its field, the grade caption with the grade text last.
const char* const kRecommendedTitle = " 推荐参数  ";
const QPair<const char*, Field> kRecommendedFields[] = {
    {"主  基  圆：", Field::MainBase},       {"齿顶偏心：", Field::TipEccentricity},
    {"杆分度圆：", Field::ReferenceDiameter}, {"侧         隙：", Field::Backlash},
    {"入口修缘：", Field::EntryRelief},      {"出口修缘：", Field::ExitRelief},
    {"磨齿增量：", Field::GrindingIncrement}, {"旋         向：", Field::Hand},
};
const char* const kGradeCaption = "精度等级：";

const std::array<LabelState, 54>& initialLabels()
{
    static const std::array<LabelState, 54> labels = [] {
        std::array<LabelState, 54> l;
        for (const ResultLabel& row : resultLabels())
            l[row.label].caption = QString::fromUtf8(row.initialCaption);
        return l;
    }();
    return labels;
}

// teeth / starts, both read as decimal numbers (a teeth text of 40.5 still
// gives a ratio; the calculation rejects it later).
QString ratioText(const QString& teeth, const QString& starts)
{
    const long double z2 = StrToFloat(teeth);
    const long double z1 = StrToFloat(starts);
    ClearFaults();
    const long double ratio = z2 / z1;
    FaultCheck();
    return FloatToStr(ratio);
}

// A rules source for a form that never looks anything up: every look-up fails
// as a missing table would.
class NoRules final : public rules::RulesSource {
public:
    const rules::TableData& table(const QString& name) override
    {
        throw rules::RulesError(QStringLiteral("无法读取数据表 %1").arg(name));
    }
};

} // namespace

QString fieldControlName(Field field) { return QStringLiteral("Edit%1").arg(int(field) + 1); }

std::optional<Field> fieldOfControlName(const QString& name)
{
    if (!name.startsWith(QLatin1String("Edit")))
        return std::nullopt;
    bool ok = false;
    const int n = name.mid(4).toInt(&ok);
    if (!ok || n < 1 || n > kFieldCount)
        return std::nullopt;
    return Field(n - 1);
}

std::span<const ResultGroup> resultGroups() { return kGroups; }

QString initialCaption(int label)
{
    const ResultLabel* row = resultLabel(label);
    return row ? QString::fromUtf8(row->initialCaption) : QString();
}

DesignForm::DesignForm() : labels_(initialLabels())
{
    fields_[int(Field::WormStarts)] = QStringLiteral("1");
    fields_[int(Field::TipEccentricity)] = QStringLiteral("0");
    fields_[int(Field::Backlash)] = QStringLiteral("0");
    fields_[int(Field::GradeText)] = QStringLiteral("7级(GB/T16445-1996)");
    fields_[int(Field::Hand)] = QStringLiteral("右旋");
    fields_[int(Field::EntryRelief)] = QStringLiteral("0");
    fields_[int(Field::ExitRelief)] = QStringLiteral("0");
    fields_[int(Field::GrindingIncrement)] = QStringLiteral("0");
    mainBaseHint_ = QStringLiteral("↑0.65 * A");
}

const LabelState& DesignForm::label(int number) const
{
    static const LabelState none;
    return number >= 0 && number < int(labels_.size()) ? labels_[number] : none;
}

QStringList DesignForm::takeMessages()
{
    QStringList taken = messages_;
    messages_.clear();
    return taken;
}

rules::RulesSource& DesignForm::rulesSource()
{
    static NoRules none;
    return rules_ ? *rules_ : none;
}

// ---- As a user at the window ---------------------------------------------------

void DesignForm::setText(Field field, const QString& text)
{
    // A field's change handler runs only when its text really changes.
    if (fields_[int(field)] == text)
        return;
    fields_[int(field)] = text;
    runTextHandler(field);
}

void DesignForm::runTextHandler(Field field)
{
    switch (field) {
    case Field::CentreDistance:
        Edit1Change(rulesSource());
        break;
    case Field::WheelTeeth:
        Edit3Change();
        break;
    case Field::WormStarts:
        Edit4Change();
        break;
    default:
        break; // the other fields have no change handler
    }
}

void DesignForm::setStandardBacklash(bool on)
{
    if (standardBacklash_ == on)
        return;
    standardBacklash_ = on;
    CheckBox2Click(rulesSource());
}

void DesignForm::setWholeTeeth(bool on)
{
    if (wholeTeeth_ == on)
        return;
    wholeTeeth_ = on;
    CheckBox1Click();
}

void DesignForm::selectGrade(int index) { gradeIndex_ = index >= 0 && index < kGrades.size() ? index : -1; }

// ---- The drive data as it is typed ---------------------------------------------

void DesignForm::Edit1Change(rules::RulesSource& rules)
{
    ComboBox1Change(rules);
    const QString& a = text(Field::CentreDistance);
    if (a.isEmpty())
        return;
    try {
        const long double value = StrToFloat(a);
        // Each hint is set as soon as it is known: a failure of the second
        // leaves the first showing the new basis.
        mainBaseHint_ = uiText(recommend::kBasisPrefix) + IntToStr(recommend::mainBaseBasis(value));
        referenceHint_ = uiText(recommend::kBasisPrefix)
                         + IntToStr(recommend::referenceBasis(value, design_.RuleCoefficients[rules::coefficient::kReferenceExponent]));
    } catch (const std::exception&) {
        message(kCentreDistanceMessage);
    }
}

void DesignForm::Edit3Change()
{
    if (text(Field::WheelTeeth).isEmpty() || text(Field::WormStarts).isEmpty())
        return;
    try {
        setText(Field::Ratio, ratioText(text(Field::WheelTeeth), text(Field::WormStarts)));
    } catch (const std::exception&) {
        message(kTeethStartsMessage);
        // Each clearing runs this handler again; those runs find an empty
        // field and stop, so the message is shown once.
        setText(Field::WheelTeeth, QString());
        setText(Field::WormStarts, QString());
    }
}

// ---- The grade look-up ---------------------------------------------------------

// The grade, the standard backlash and the six tolerance texts of the
// grade-table row whose centre-distance range holds the centre distance. The
// look-up runs on every keystroke of the centre distance and fails silently:
// a partial or unreadable centre distance, a missing table or a distance
// outside every range leaves everything as it was.
void DesignForm::ComboBox1Change(rules::RulesSource& rules)
{
    if (text(Field::CentreDistance).isEmpty())
        return;
    // With no grade selected the table of the previous look-up stays.
    const QString table = recommend::gradeTableName(grade());
    if (!table.isEmpty())
        gradeTable_ = table;
    try {
        const rules::TableData& t = rules.table(gradeTable_);
        const long double a = StrToFloat(text(Field::CentreDistance));
        namespace col = rules::column;
        if (const std::optional<int> found = recommend::gradeRow(t, a)) {
            const int row = *found;
            const QString g = grade();
            if (standardBacklash_) {
                setText(Field::Backlash, t.Text(row, col::kStandardBacklash));
                setText(Field::GradeText, recommend::gradeText(g, true));
            } else {
                setText(Field::GradeText, recommend::gradeText(g, false));
            }
            // In this order, so that a table with too few columns keeps the
            // texts read before the missing one.
            design_.GradeTolerance3 = t.Text(row, col::kTolerance3);
            design_.GradeTolerance4 = t.Text(row, col::kTolerance4);
            design_.GradeTolerance8 = t.Text(row, col::kTolerance8);
            design_.GradeTolerance9 = t.Text(row, col::kTolerance9);
            design_.GradeTolerance10 = t.Text(row, col::kTolerance10);
            design_.GradeTolerance11 = t.Text(row, col::kTolerance11);
        }
    } catch (const std::exception&) {
        // Silent by design: the centre-distance field reports its own errors.
    }
}

// ---- The calculate command -----------------------------------------------------

void DesignForm::SpeedButton2Click(rules::RulesSource& rules)
{
    // Reads a diameter field back as an integer and writes it snapped.
    auto snap = [this](Field field) { setText(field, IntToStr(recommend::snapToFive(StrToInt(text(field))))); };
    try {
        // Worm reference circle, main base circle, grinding increment and tip
        // eccentricity, in that order. Without a centre distance or a ratio
        // nothing is recommended and the relief look-up fails below.
        double ratio = 0.0;
        if (!text(Field::CentreDistance).isEmpty() && !text(Field::Ratio).isEmpty()) {
            ClearFaults();
            ratio = static_cast<double>(StrToFloat(text(Field::Ratio)));
            FaultCheck();
            const long double a = StrToFloat(text(Field::CentreDistance));
            const double n0 = design_.RuleCoefficients[rules::coefficient::kReferenceExponent];
            setText(Field::ReferenceDiameter, IntToStr(recommend::referenceDiameter(a, ratio, n0)));
            snap(Field::ReferenceDiameter);
            setText(Field::MainBase, IntToStr(recommend::mainBaseDiameter(a, ratio)));
            snap(Field::MainBase);
            setText(Field::GrindingIncrement,
                    FloatToStr(recommend::grindingIncrement(StrToFloat(text(Field::WheelTeeth)))));
            setText(Field::TipEccentricity, recommend::tipEccentricityText(StrToFloat(text(Field::MainBase)), ratio));
        }

        // Entry and exit relief: the amounts from xiuyuan by centre distance
        // and ratio, then the lengths from xiuyuanchangdu by wheel teeth.
        {
            const rules::TableData& amounts = rules.table(QStringLiteral("xiuyuan"));
            const int row = recommend::coveringRow(amounts, StrToFloat(text(Field::CentreDistance)));
            setText(Field::EntryRelief, amounts.Text(row, recommend::entryReliefColumn(ratio)));
        }
        setText(Field::ExitRelief, FloatToStr(recommend::exitReliefAmount(StrToFloat(text(Field::EntryRelief)))));
        const rules::TableData& lengths = rules.table(QStringLiteral("xiuyuanchangdu"));
        const int row = recommend::coveringRow(lengths, StrToInt(text(Field::WheelTeeth)));
        setText(Field::EntryRelief,
                text(Field::EntryRelief) + kReliefSeparator + lengths.Text(row, rules::column::kEntryReliefLength));
        setText(Field::ExitRelief,
                text(Field::ExitRelief) + kReliefSeparator + lengths.Text(row, rules::column::kExitReliefLength));
    } catch (const std::exception&) {
        message(kCalculateMessage);
        return;
    }
    // The calculation reports its own errors; editing is offered either way.
    Button1Click();
    // From here on the drive data of this design stays as it is (a new design
    // starts the program afresh) — but only once it calculated, so that a
    // drive that cannot be calculated can still be corrected.
    if (lastCalculationCompleted_) {
        driveDataEnabled_ = false;
        calculateEnabled_ = false;
    }
    editEnabled_ = true;
}

// ---- The calculation -----------------------------------------------------------

void DesignForm::Button1Click()
{
    resultsShown_ = false;
    exportsEnabled_ = false;
    wholeTeethShown_ = false;
    lastCalculationCompleted_ = false;
    warnings_.clear();

    calc::GeometryTexts texts;
    texts.centreDistance = text(Field::CentreDistance);
    texts.ratio = text(Field::Ratio);
    texts.wheelTeeth = text(Field::WheelTeeth);
    texts.wormStarts = text(Field::WormStarts);
    texts.mainBaseDiameter = text(Field::MainBase);
    texts.tipEccentricity = text(Field::TipEccentricity);
    texts.wormReferenceDiameter = text(Field::ReferenceDiameter);
    texts.backlash = text(Field::Backlash);
    texts.grindingIncrement = text(Field::GrindingIncrement);
    texts.wholeTeeth = wholeTeeth_;

    results_ = Results{};
    ++calculationsRun_;
    const calc::GeometryOutcome outcome = calc::calculate(texts, design_.RuleCoefficients, design_, results_);
    showResults(results_);
    switch (outcome) {
    case calc::GeometryOutcome::RatioMismatch:
        message(kRatioMismatchMessage);
        return;
    case calc::GeometryOutcome::Fault:
        message(kCalculationFaultMessage);
        return;
    case calc::GeometryOutcome::Completed:
        break;
    }
    resultsShown_ = true;
    wholeTeethShown_ = true;
    exportsEnabled_ = true;
    lastCalculationCompleted_ = true;
    ++completedCalculations_;
    warnings_ = designWarnings(design_, results_);
}

void DesignForm::showResults(const Results& results)
{
    const auto rows = resultLabels();
    for (int k = 0; k < results.written; ++k) {
        LabelState& state = labels_[rows[k].label];
        if (rows[k].red)
            state.red = results.*rows[k].red;
        setResultCaption(state.caption, results, rows[k]);
    }
}

// ---- Editing the recommended parameters ----------------------------------------

void DesignForm::SpeedButton3Click()
{
    recommendedEditable_ = true;
    backlashBeforeEdit_ = text(Field::Backlash);
    resultsShown_ = false;
    confirmEnabled_ = true;
}

void DesignForm::SpeedButton4Click(rules::RulesSource& rules)
{
    // A backlash typed by the user is no longer the standard one. Unchecking
    // runs the grade look-up first, so the calculation sees the grade text of
    // an unchecked box.
    if (text(Field::Backlash) != backlashBeforeEdit_ && standardBacklash_) {
        standardBacklash_ = false;
        CheckBox2Click(rules);
    }
    Button1Click();
    recommendedEditable_ = false;
    confirmEnabled_ = false;
}

// ---- Opening a design file -----------------------------------------------------

void DesignForm::restoreDesignFile(const std::array<QString, kFieldCount>& edits, int gradeIndex,
                                   bool standardBacklash, bool wholeTeeth, rules::RulesSource& rules)
{
    rules::RulesSource* previous = rules_;
    rules_ = &rules;
    // Each step may run handlers: a text that changes runs its field's
    // change handler, a check box that changes runs its click handler;
    // selecting a grade by program runs nothing.
    if (!standardBacklash)
        setStandardBacklash(false);
    for (int k = 0; k < kFieldCount; ++k)
        setText(Field(k), edits[k]);
    selectGrade(gradeIndex);
    if (wholeTeeth)
        setWholeTeeth(true);
    ComboBox1Change(rules);
    // The drive data of an opened design is fixed, as after the calculate
    // command; the recommended parameters stay editable.
    driveDataEnabled_ = false;
    calculateEnabled_ = false;
    editEnabled_ = true;
    Button1Click();
    rules_ = previous;
}

// ---- Findings ------------------------------------------------------------------

QStringList designWarnings(const DesignValues& d, const Results& r)
{
    QStringList warnings;
    if (r.wormTipWidth < 0)
        warnings << QStringLiteral("蜗杆齿顶宽为负（%1），齿形不成立").arg(FloatToStr(r.wormTipWidth));
    if (r.hobTipWidth < 0)
        warnings << QStringLiteral("滚刀齿顶宽为负（%1），齿形不成立").arg(FloatToStr(r.hobTipWidth));
    if (d.MainBaseDiameter < 0)
        warnings << QStringLiteral("主基圆直径为负（%1），几何关系不成立").arg(FloatToStr(d.MainBaseDiameter));
    if (d.Backlash < 0)
        warnings << QStringLiteral("侧隙为负（%1），齿侧将发生干涉").arg(FloatToStr(d.Backlash));
    if (!(d.CentreDistance > kMinCentreDistance && d.CentreDistance < kMaxCentreDistance))
        warnings << QStringLiteral("中心距 %1 超出本设计方法的适用范围（70 mm ＜ a ＜ 1500 mm），结果仅供参考")
                        .arg(FloatToStr(d.CentreDistance));
    if (!(d.Ratio > kMinRatio && d.Ratio < kMaxRatio))
        warnings << QStringLiteral("速比 %1 超出本设计方法的适用范围（7.5 ＜ i ＜ 150），结果仅供参考").arg(FloatToStr(d.Ratio));
    return warnings;
}

// ---- Runs without a window -----------------------------------------------------

bool startForm(DesignForm& form, const rules::RulesData& rules, const std::optional<rules::Coefficients>& coefficients)
{
    form.design().RuleCoefficients = rules.coefficients;
    // The notice is raised by the load, also by the rows read before a
    // failure.
    if (rules.anyDiffers)
        form.assignRulesModified(true);
    if (coefficients)
        form.design().RuleCoefficients = *coefficients;
    return rules.coefficientsLoaded;
}

DesignForm runDesign(const DesignRequest& request, const rules::RulesData& rules)
{
    DesignForm form;
    if (!startForm(form, rules, request.coefficients)) {
        form.addMessage(rules::kLoadFailureMessage);
        return form;
    }
    rules::MemoryRules source(rules);
    form.useRules(&source);
    // As a user at the window: pick the grade, set the box, type the drive data.
    form.selectGrade(kGrades.indexOf(request.grade));
    form.ComboBox1Change(source);
    form.setStandardBacklash(request.standardBacklash);
    form.setText(Field::CentreDistance, request.centreDistance);
    form.setText(Field::WheelTeeth, request.teeth);
    form.setText(Field::WormStarts, request.starts);
    if (form.calculateEnabled())
        form.SpeedButton2Click(source);
    if (!request.overrides.isEmpty()) {
        form.SpeedButton3Click();
        for (const auto& [field, text] : request.overrides)
            form.setText(field, text);
        form.SpeedButton4Click(source);
    }
    if (request.wholeTeeth)
        form.setWholeTeeth(true);
    form.useRules(nullptr);
    return form;
}

DesignForm runCalc(const CalcRequest& request, const rules::RulesData& rules)
{
    DesignForm form;
    if (!startForm(form, rules, request.coefficients)) {
        form.addMessage(rules::kLoadFailureMessage);
        return form;
    }
    rules::MemoryRules source(rules);
    form.useRules(&source);
    for (const auto& [field, text] : request.fields)
        form.setText(field, text);
    if (request.wholeTeeth && !form.wholeTeeth())
        form.setWholeTeeth(true);
    else
        form.Button1Click();
    form.useRules(nullptr);
    return form;
}

QJsonObject designJsonObject(const DesignForm& form)
{
    QJsonObject fields;
    for (int k = 0; k < kFieldCount; ++k)
        fields.insert(fieldControlName(Field(k)), form.text(Field(k)));
    QJsonObject labels;
    for (const ResultGroup& group : resultGroups())
        for (int number : group.labels)
            labels.insert(QStringLiteral("Label%1").arg(number),
                          QJsonObject{{"caption", form.label(number).caption}, {"red", form.label(number).red}});
    const DesignValues& d = form.design();
    QJsonObject tolerances{{"3", d.GradeTolerance3}, {"4", d.GradeTolerance4}, {"8", d.GradeTolerance8},
                           {"9", d.GradeTolerance9}, {"10", d.GradeTolerance10}, {"11", d.GradeTolerance11}};
    return QJsonObject{
        {"fields", fields},
        {"grade", form.grade()},
        {"standardBacklash", form.standardBacklash()},
        {"wholeTeeth", form.wholeTeeth()},
        {"gradeTolerances", tolerances},
        {"labels", labels},
        {"hints", QJsonObject{{"Label46", form.mainBaseHint()}, {"Label47", form.referenceHint()}}},
        {"rulesModified", form.rulesModified()},
        {"calculated", form.calculated()},
        {"messages", QJsonArray::fromStringList(form.messages())},
        {"warnings", QJsonArray::fromStringList(form.warnings())},
    };
}

namespace {

// The document written directly, byte for byte as QJsonDocument writes it
// (keys in order, four blanks per level, the same escapes), at a fraction of
// the cost: a batch writes one per design, into one buffer.
class JsonWriter {
public:
    JsonWriter(std::string& out, bool compact) : out_(out), compact_(compact) {}
    void number(long long value)
    {
        char text[24];
        const std::to_chars_result r = std::to_chars(text, text + sizeof text, value);
        out_.append(text, r.ptr);
    }
    void string(QStringView text)
    {
        out_ += '"';
        appendJsonText(out_, text);
        out_ += '"';
    }
    void boolean(bool value) { out_ += value ? "true" : "false"; }
    // An object or array: open, then key() or item() before each value, close.
    void open(char bracket)
    {
        out_ += bracket;
        first_[depth_++] = true;
    }
    void close(char bracket)
    {
        --depth_;
        if (!compact_) {
            out_ += '\n';
            indent();
        }
        out_ += bracket;
    }
    // A key of plain ASCII letters and digits (no escape needed).
    void key(const char* name)
    {
        item();
        out_ += '"';
        out_ += name;
        out_ += compact_ ? "\":" : "\": ";
    }
    void item()
    {
        if (!first_[depth_ - 1])
            out_ += ',';
        first_[depth_ - 1] = false;
        if (!compact_) {
            out_ += '\n';
            indent();
        }
    }
    void strings(const QStringList& list)
    {
        open('[');
        for (const QString& text : list)
            item(), string(text);
        close(']');
    }
    // A value already written as compact JSON.
    void raw(std::string_view json) { out_ += json; }
    void finish()
    {
        if (!compact_)
            out_ += '\n';
    }

private:
    void indent() { out_.append(std::size_t(4 * depth_), ' '); }
    std::string& out_;
    bool compact_;
    bool first_[8] = {};
    int depth_ = 0;
};

// The labels' keys in the order a JSON object keeps them (sorted as texts).
const std::vector<std::pair<std::string, int>>& sortedLabelKeys()
{
    static const std::vector<std::pair<std::string, int>> keys = [] {
        std::vector<std::pair<std::string, int>> k;
        for (const ResultGroup& group : resultGroups())
            for (int number : group.labels)
                k.push_back({"Label" + std::to_string(number), number});
        std::sort(k.begin(), k.end());
        return k;
    }();
    return keys;
}

void writeDesignJson(std::string& out, const DesignForm& form, bool compact, std::optional<long long> row,
                     const char* extraKey, std::string_view extraJson)
{
    JsonWriter w(out, compact);
    // The caller's key goes where a JSON object sorts it among ours.
    auto extraBefore = [&](const char* next) {
        if (extraKey && (!next || std::strcmp(extraKey, next) < 0)) {
            w.key(extraKey);
            w.raw(extraJson);
            extraKey = nullptr;
        }
    };
    w.open('{');
    extraBefore("calculated");
    w.key("calculated");
    w.boolean(form.calculated());
    extraBefore("fields");
    w.key("fields");
    {
        // Edit1, Edit10 ... Edit13, Edit2 ... Edit9: sorted as texts.
        static const int order[] = {0, 9, 10, 11, 12, 1, 2, 3, 4, 5, 6, 7, 8};
        static const char* const names[] = {"Edit1", "Edit2", "Edit3", "Edit4",  "Edit5",  "Edit6", "Edit7",
                                            "Edit8", "Edit9", "Edit10", "Edit11", "Edit12", "Edit13"};
        w.open('{');
        for (int k : order) {
            w.key(names[k]);
            w.string(form.text(Field(k)));
        }
        w.close('}');
    }
    extraBefore("grade");
    w.key("grade");
    w.string(form.grade());
    extraBefore("gradeTolerances");
    w.key("gradeTolerances");
    {
        const DesignValues& d = form.design();
        w.open('{');
        w.key("10"), w.string(d.GradeTolerance10);
        w.key("11"), w.string(d.GradeTolerance11);
        w.key("3"), w.string(d.GradeTolerance3);
        w.key("4"), w.string(d.GradeTolerance4);
        w.key("8"), w.string(d.GradeTolerance8);
        w.key("9"), w.string(d.GradeTolerance9);
        w.close('}');
    }
    extraBefore("hints");
    w.key("hints");
    w.open('{');
    w.key("Label46"), w.string(form.mainBaseHint());
    w.key("Label47"), w.string(form.referenceHint());
    w.close('}');
    extraBefore("labels");
    w.key("labels");
    w.open('{');
    for (const auto& [name, number] : sortedLabelKeys()) {
        w.key(name.c_str());
        w.open('{');
        w.key("caption"), w.string(form.label(number).caption);
        w.key("red"), w.boolean(form.label(number).red);
        w.close('}');
    }
    w.close('}');
    extraBefore("messages");
    w.key("messages");
    w.strings(form.messages());
    if (row) {
        extraBefore("row");
        w.key("row");
        w.number(*row);
    }
    extraBefore("rulesModified");
    w.key("rulesModified");
    w.boolean(form.rulesModified());
    extraBefore("standardBacklash");
    w.key("standardBacklash");
    w.boolean(form.standardBacklash());
    extraBefore("warnings");
    w.key("warnings");
    w.strings(form.warnings());
    extraBefore("wholeTeeth");
    w.key("wholeTeeth");
    w.boolean(form.wholeTeeth());
    extraBefore(nullptr);
    w.close('}');
    w.finish();
}

} // namespace

void appendJsonText(std::string& out, QStringView text)
{
    const char16_t* c = text.utf16();
    const qsizetype n = text.size();
    for (qsizetype k = 0; k < n; ++k) {
        const char16_t u = c[k];
        if (u < 0x80) {
            if (u >= 0x20 && u != '"' && u != '\\') {
                out += char(u);
                continue;
            }
            switch (u) {
            case '"': out += "\\\""; continue;
            case '\\': out += "\\\\"; continue;
            case '\b': out += "\\b"; continue;
            case '\f': out += "\\f"; continue;
            case '\n': out += "\\n"; continue;
            case '\r': out += "\\r"; continue;
            case '\t': out += "\\t"; continue;
            default: break;
            }
        } else if (u < 0x800) {
            out += char(0xC0 | (u >> 6));
            out += char(0x80 | (u & 0x3F));
            continue;
        } else if (!QChar::isSurrogate(u)) {
            out += char(0xE0 | (u >> 12));
            out += char(0x80 | ((u >> 6) & 0x3F));
            out += char(0x80 | (u & 0x3F));
            continue;
        } else if (QChar::isHighSurrogate(u) && k + 1 < n && QChar::isLowSurrogate(c[k + 1])) {
            // A pair is written as the character it stands for.
            const char32_t code = QChar::surrogateToUcs4(u, c[k + 1]);
            ++k;
            out += char(0xF0 | (code >> 18));
            out += char(0x80 | ((code >> 12) & 0x3F));
            out += char(0x80 | ((code >> 6) & 0x3F));
            out += char(0x80 | (code & 0x3F));
            continue;
        }
        // Other control characters and lone surrogates: escaped by number.
        static const char hex[] = "0123456789abcdef";
        out += "\\u";
        for (int shift = 12; shift >= 0; shift -= 4)
            out += hex[(u >> shift) & 0xf];
    }
}

QByteArray designJson(const DesignForm& form)
{
    std::string out;
    writeDesignJson(out, form, false, std::nullopt, nullptr, {});
    return QByteArray(out.data(), qsizetype(out.size()));
}

QByteArray designJsonLine(const DesignForm& form, std::optional<long long> row)
{
    std::string out;
    writeDesignJson(out, form, true, row, nullptr, {});
    return QByteArray(out.data(), qsizetype(out.size()));
}

void appendDesignJsonLine(std::string& out, const DesignForm& form, std::optional<long long> row,
                          const char* extraKey, std::string_view extraJson)
{
    writeDesignJson(out, form, true, row, extraKey, extraJson);
}

QByteArray designListing(const DesignForm& form)
{
    QString out;
    for (const ResultGroup& group : resultGroups()) {
        out += QLatin1Char('[') + uiText(group.title).trimmed() + QStringLiteral("]\n");
        for (int number : group.labels)
            out += (form.label(number).red ? QStringLiteral("! ") : QStringLiteral("  ")) + form.label(number).caption
                   + QLatin1Char('\n');
    }
    out += QLatin1Char('[') + uiText(kRecommendedTitle).trimmed() + QStringLiteral("]\n");
    for (const auto& [caption, field] : kRecommendedFields)
        out += QStringLiteral("  ") + uiText(caption) + form.text(field) + QLatin1Char('\n');
    out += QStringLiteral("  ") + uiText(kGradeCaption) + form.text(Field::GradeText) + QLatin1Char('\n');
    return out.toUtf8();
}

} // namespace tpworm::core
