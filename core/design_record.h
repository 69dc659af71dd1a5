// The store of the current design: inputs as last read from the fields, every
// calculated value, the grade tolerance texts and the rule coefficients
// (DesignValues, which the core calculates), and the main window's run-time
// flags (SessionState). The window owns a DesignRecord, which is both.
#pragma once

#include <QString>

#include <array>
#include <cstdint>
#include <memory>

namespace tpworm {

namespace automation {
class Object;
}

struct DesignValues {
    // Drive data.
    double CentreDistance = 0;
    double Ratio = 0;
    std::int32_t WheelTeeth = 0;
    std::int32_t WormStarts = 0;

    // Recommended parameters.
    double MainBaseDiameter = 0;
    double TipEccentricity = 0;
    double WormReferenceDiameter = 0;
    double Backlash = 0;
    double GrindingIncrement = 0;

    // Drive characteristics and worm.
    std::int32_t RatioClassAngle = 0;
    double WheelReferenceDiameter = 0;
    double TransverseModule = 0;
    double Dedendum = 0;
    double Addendum = 0;
    double WormThroatRootDiameter = 0;
    double WormRootArcRadius = 0;
    double WormThroatTipDiameter = 0;
    double WormTipArcRadius = 0;
    double AngularPitch = 0;
    double EnclosedTeeth = 0;
    double WorkingHalfAngle = 0;
    double WormWorkingLength = 0;
    std::int32_t ShoulderSize = 0;
    double ThroatLeadAngleRad = 0;
    double ThroatLeadAngle = 0;
    double ProfileAngle = 0;
    double CircularPitch = 0;
    double GeneratingPlaneTilt = 0;
    QString GeneratingPlaneTiltText;
    double WormToothThickness = 0;
    double WormNormalChordalThickness = 0;
    double WormNormalChordalHeight = 0;

    // Hob, wheel and modification.
    double HobTipArcRadius = 0;
    double HobEnclosedTeeth = 0;
    double HobHalfAngle = 0;
    double HobEffectiveLength = 0;
    double HobToothThickness = 0;
    double HobNormalChordalHeight = 0;
    double WheelMaxOuterDiameter = 0;
    double WheelToothThickness = 0;
    double WheelNormalChordalThickness = 0;
    double WheelNormalChordalHeight = 0;
    std::int32_t RimWorkingWidth = 0;
    double ModifiedRatio = 0;
    double ModifiedCentreDistance = 0;
    double ModifiedWheelReferenceDiameter = 0;
    double ModifiedMainBaseDiameter = 0;
    double ModifiedProfileAngle = 0;
    double ModifiedGeneratingPlaneTilt = 0;

    // Texts of the grade-table row of the current grade and centre distance.
    QString GradeTolerance3;
    QString GradeTolerance4;
    QString GradeTolerance8;
    QString GradeTolerance9;
    QString GradeTolerance10;
    QString GradeTolerance11;

    // N[0] ... N[15], column N of table nzhi in stored order.
    std::array<double, 16> RuleCoefficients{};
};

// What the main window keeps of a run beside the design.
struct SessionState {
    bool DesignSaved = false;
    QString DesignFileName;
    bool CommandLineConsumed = false;
    QString BacklashBeforeEdit;
    QString SavedCaption;
    bool UpdateCheckSuppressed = false;
    QString ConnectionPrefix;
    std::shared_ptr<automation::Object> AutomationApp;
};

struct DesignRecord : DesignValues, SessionState {
};

} // namespace tpworm
