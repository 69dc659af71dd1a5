#include "core/results.h"
#include "core/translation.h"

#include "core/numeric.h"

#include <array>

namespace tpworm::core {

namespace {

using R = Results;
constexpr long double R::*kNoNumber = nullptr;
constexpr std::int64_t R::*kNoWhole = nullptr;
constexpr QString R::*kNoText = nullptr;
constexpr bool R::*kNoRed = nullptr;

ResultLabel number(int label, const char* name, long double R::*field, const char* suffix, const char* initial,
                   bool R::*red = nullptr)
{
    return {label, name, ResultKind::Number, field, kNoWhole, kNoText, red, suffix, initial};
}

ResultLabel whole(int label, const char* name, std::int64_t R::*field, const char* suffix, const char* initial)
{
    return {label, name, ResultKind::Whole, kNoNumber, field, kNoText, kNoRed, suffix, initial};
}

ResultLabel text(int label, const char* name, QString R::*field, const char* suffix, const char* initial)
{
    return {label, name, ResultKind::Text, kNoNumber, kNoWhole, field, kNoRed, suffix, initial};
}

// In the order the calculation writes them; each caption is the value and the
// suffix (some suffixes name the value differently from the label's first
// caption, as the program has always shown them).
const std::array<ResultLabel, 35> kLabels = {
    number(24, "tip_eccentricity", &R::tipEccentricity, "-----蜗杆齿顶圆弧偏心量", "蜗杆齿顶圆弧偏心量"),
    number(23, "wheel_reference_diameter", &R::wheelReferenceDiameter, "-----蜗轮分度圆直径", "蜗轮分度圆直径"),
    number(8, "worm_root_arc_radius", &R::wormRootArcRadius, "-----蜗杆齿根圆弧半径", "蜗杆齿根圆弧半径"),
    number(9, "worm_tip_arc_radius", &R::wormTipArcRadius, "-----蜗杆齿顶圆弧半径", "蜗杆齿顶圆弧半径"),
    number(10, "worm_working_length", &R::wormWorkingLength, "-----蜗杆工作长度", "蜗杆工作长度"),
    whole(11, "shoulder", &R::shoulderSize, "-----肩台", "肩台"),
    number(12, "main_base_diameter", &R::mainBaseDiameter, "-----主基圆直径", "主基圆直径"),
    number(14, "profile_angle", &R::profileAngle, "----分度圆齿形角", "分度圆齿形角", &R::profileAngleRed),
    text(13, "generating_plane_tilt", &R::generatingPlaneTilt, "-----母平面倾斜角", "母平面倾斜角"),
    number(16, "worm_normal_chordal_thickness", &R::wormNormalChordalThickness, "-----法向弦齿厚", "法向弦齿厚"),
    number(17, "worm_normal_chordal_height", &R::wormNormalChordalHeight, "-----法向弦齿高", "法向弦齿高"),
    number(25, "transverse_module", &R::transverseModule, "-----端面模数", "端面模数"),
    number(26, "enclosed_teeth", &R::enclosedTeeth, "-----包围齿数", "包围齿数"),
    number(27, "working_half_angle", &R::workingHalfAngle, "-----工作半包角", "工作半包角"),
    number(28, "throat_lead_angle", &R::throatLeadAngle, "-----蜗杆喉部导程角", "蜗杆喉部导程角",
           &R::throatLeadAngleRed),
    number(53, "worm_throat_root_diameter", &R::wormThroatRootDiameter, "-----蜗杆喉部齿根直径", "蜗杆喉部齿根圆直径",
           &R::wormThroatRootDiameterRed),
    number(18, "hob_tip_arc_radius", &R::hobTipArcRadius, "-----刀体齿顶圆弧半径", "滚刀齿顶圆弧半径"),
    number(19, "hob_root_arc_radius", &R::hobRootArcRadius, "-----刀体齿跟圆弧半径", "滚刀齿根圆弧半径"),
    number(20, "hob_effective_length", &R::hobEffectiveLength, "-----滚刀有效长度", "滚刀有效长度"),
    number(21, "hob_normal_chordal_thickness", &R::hobNormalChordalThickness, "-----滚刀法向弦齿厚", "滚刀法向弦齿厚"),
    number(22, "hob_normal_chordal_height", &R::hobNormalChordalHeight, "-----滚刀法向弦齿高", "滚刀法向弦齿高"),
    number(29, "hob_enclosed_teeth", &R::hobEnclosedTeeth, "-----滚刀包围齿数", "滚刀包围齿数"),
    number(44, "wheel_normal_chordal_thickness", &R::wheelNormalChordalThickness, "------蜗轮法向弦齿厚",
           "蜗轮法向弦齿厚"),
    number(45, "wheel_normal_chordal_height", &R::wheelNormalChordalHeight, "------蜗轮法向弦齿高", "蜗轮法向弦齿高"),
    number(33, "wheel_max_outer_diameter", &R::wheelMaxOuterDiameter, "-----蜗轮最大外圆", "蜗轮最大外径"),
    whole(34, "rim_working_width", &R::rimWorkingWidth, "-----齿圈工作宽度", "齿圈工作宽度"),
    number(35, "wheel_throat_diameter", &R::wheelThroatDiameter, "-----蜗轮喉径", "蜗轮喉径"),
    number(48, "worm_max_tip_diameter", &R::wormMaxTipDiameter, "-----蜗杆最大齿顶圆直径", "蜗杆最大齿顶圆直径"),
    number(40, "wheel_tip_arc_radius", &R::wheelTipArcRadius, "-----蜗轮齿顶圆弧半径", "蜗轮齿顶圆弧半径"),
    number(43, "worm_tip_width", &R::wormTipWidth, "-----蜗杆齿顶宽", "蜗杆齿顶宽"),
    number(49, "hob_tip_width", &R::hobTipWidth, "-----滚刀齿顶宽", "滚刀齿顶宽"),
    number(41, "modified_generating_plane_tilt", &R::modifiedGeneratingPlaneTilt, "---修形母面倾斜角",
           "修形母面倾斜角"),
    number(42, "modified_ratio", &R::modifiedRatio, "----修形传动比", "修形传动比"),
    number(51, "modified_centre_distance", &R::modifiedCentreDistance, "----修形中心距", "修形中心距"),
    number(52, "modified_main_base_diameter", &R::modifiedMainBaseDiameter, "----修形主基圆直径", "修形主基圆直径"),
};

} // namespace

std::span<const ResultLabel> resultLabels() { return kLabels; }

const ResultLabel* resultLabel(int label)
{
    for (const ResultLabel& row : kLabels)
        if (row.label == label)
            return &row;
    return nullptr;
}

namespace {

// The suffixes in the language in force, translated once per language and
// thread: a batch writes all of them for every design. The texts of the
// context "tpworm" change only through installTranslations(), which sets
// installedLanguage().
const QString& translatedSuffix(const ResultLabel& row)
{
    const std::ptrdiff_t index = &row - kLabels.data();
    if (index < 0 || index >= std::ptrdiff_t(kLabels.size())) {
        thread_local QString other;
        other = uiText(row.suffix);
        return other;
    }
    struct Cache {
        bool made = false;
        Language language = Language::Chinese;
        std::array<QString, kLabels.size()> texts;
    };
    thread_local Cache cache;
    const Language language = installedLanguage();
    if (!cache.made || cache.language != language) {
        for (std::size_t k = 0; k < kLabels.size(); ++k)
            cache.texts[k] = uiText(kLabels[k].suffix);
        cache.language = language;
        cache.made = true;
    }
    return cache.texts[std::size_t(index)];
}

} // namespace

QString resultText(const Results& results, const ResultLabel& row)
{
    switch (row.kind) {
    case ResultKind::Number:
        return FloatToStr(results.*row.number);
    case ResultKind::Whole:
        return IntToStr(results.*row.whole);
    case ResultKind::Text:
        break;
    }
    return results.*row.text;
}

QString resultCaption(const Results& results, const ResultLabel& row)
{
    QString caption;
    setResultCaption(caption, results, row);
    return caption;
}

void setResultCaption(QString& caption, const Results& results, const ResultLabel& row)
{
    // The suffix in the language in force: the window, the listing and the JSON alike.
    const QString& suffix = translatedSuffix(row);
    char16_t number[kFloatTextCapacity];
    QStringView value;
    QString whole;
    switch (row.kind) {
    case ResultKind::Number:
        value = QStringView(number, FloatToChars(results.*row.number, number));
        break;
    case ResultKind::Whole:
        whole = IntToStr(results.*row.whole);
        value = whole;
        break;
    case ResultKind::Text:
        value = results.*row.text;
        break;
    }
    // Written in place: the caption's own storage is reused when it is large
    // enough and not shared.
    caption.resize(0);
    caption.reserve(value.size() + suffix.size());
    caption.append(value);
    caption.append(suffix);
}

QStringView resultValueText(const QString& caption, const ResultLabel& row)
{
    const QString& suffix = translatedSuffix(row);
    if (!caption.endsWith(suffix))
        return {};
    return QStringView(caption).left(caption.size() - suffix.size());
}

} // namespace tpworm::core
