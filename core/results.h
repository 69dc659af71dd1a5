// The results of the geometry calculation by name, and the one table that
// makes the main window's result captions from them.
#pragma once

#include <QString>
#include <QStringView>

#include <cstdint>
#include <span>

namespace tpworm::core {

// Every value the result groups show, as the calculation hands it to the
// caption (before formatting). Written in step order; `written` counts the
// results reached, so a run that faults part-way keeps the ones before the
// fault.
struct Results {
    long double tipEccentricity = 0;            // Label24
    long double wheelReferenceDiameter = 0;     // Label23
    long double wormRootArcRadius = 0;          // Label8
    long double wormTipArcRadius = 0;           // Label9
    long double wormWorkingLength = 0;          // Label10
    std::int64_t shoulderSize = 0;              // Label11
    long double mainBaseDiameter = 0;           // Label12
    long double profileAngle = 0;               // Label14 (red outside 20.5 ... 24.5)
    QString generatingPlaneTilt;                // Label13, already formatted
    long double wormNormalChordalThickness = 0; // Label16
    long double wormNormalChordalHeight = 0;    // Label17
    long double transverseModule = 0;           // Label25
    long double enclosedTeeth = 0;              // Label26
    long double workingHalfAngle = 0;           // Label27
    long double throatLeadAngle = 0;            // Label28 (red above 25)
    long double wormThroatRootDiameter = 0;     // Label53 (red below 30)
    long double hobTipArcRadius = 0;            // Label18
    long double hobRootArcRadius = 0;           // Label19
    long double hobEffectiveLength = 0;         // Label20
    long double hobNormalChordalThickness = 0;  // Label21
    long double hobNormalChordalHeight = 0;     // Label22
    long double hobEnclosedTeeth = 0;           // Label29
    long double wheelNormalChordalThickness = 0;// Label44
    long double wheelNormalChordalHeight = 0;   // Label45
    long double wheelMaxOuterDiameter = 0;      // Label33
    std::int64_t rimWorkingWidth = 0;           // Label34
    long double wheelThroatDiameter = 0;        // Label35
    long double wormMaxTipDiameter = 0;         // Label48
    long double wheelTipArcRadius = 0;          // Label40
    long double wormTipWidth = 0;               // Label43
    long double hobTipWidth = 0;                // Label49
    long double modifiedGeneratingPlaneTilt = 0;// Label41
    long double modifiedRatio = 0;              // Label42
    long double modifiedCentreDistance = 0;     // Label51
    long double modifiedMainBaseDiameter = 0;   // Label52

    bool profileAngleRed = false;           // Label14
    bool throatLeadAngleRed = false;        // Label28
    bool wormThroatRootDiameterRed = false; // Label53

    int written = 0; // results reached, in the order of resultLabels()
};

// How a result becomes its caption.
enum class ResultKind { Number, Whole, Text };

// One result label: {field, label, suffix}, in the order the calculation
// writes them.
struct ResultLabel {
    int label;                 // the number of the window's label (Label24 ...)
    const char* name;          // readable English name of the value
    ResultKind kind;
    long double Results::*number;   // Number
    std::int64_t Results::*whole;   // Whole
    QString Results::*text;         // Text
    bool Results::*red;             // the warning flag, or null
    const char* suffix;             // UTF-8, follows the value in the caption
    const char* initialCaption;     // UTF-8, the caption before any calculation
};

// The 35 results in writing order.
std::span<const ResultLabel> resultLabels();
// The row of a label number; null for a label that shows no result.
const ResultLabel* resultLabel(int label);
// The value as shown (without the suffix).
QString resultText(const Results& results, const ResultLabel& row);
// The whole caption: value and suffix.
QString resultCaption(const Results& results, const ResultLabel& row);
// The same caption written into an existing text (reusing its storage).
void setResultCaption(QString& caption, const Results& results, const ResultLabel& row);
// The value part of a caption that resultCaption() made for this row in the
// language in force: resultText() without formatting again. Empty when the
// caption does not end in the row's suffix (then it was not made so).
QStringView resultValueText(const QString& caption, const ResultLabel& row);

} // namespace tpworm::core
