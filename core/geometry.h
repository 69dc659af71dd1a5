// The geometry calculation: drive characteristics, worm, hob, wheel and the
// modified drive, from the texts of the main window's fields.
//
// The steps run in a fixed order and each result is shown the moment it is
// known, so a run that faults part-way leaves the captions written before the
// fault as they are; the sink receives those writes in that order.
#pragma once

#include "core/design_record.h"
#include "core/results.h"

#include <QString>

#include <array>

namespace tpworm::calc {

// The inputs as the fields show them.
struct GeometryTexts {
    QString centreDistance;        // Edit1
    QString ratio;                 // Edit2
    QString wheelTeeth;            // Edit3
    QString wormStarts;            // Edit4
    QString mainBaseDiameter;      // Edit5
    QString tipEccentricity;       // Edit6
    QString wormReferenceDiameter; // Edit7
    QString backlash;              // Edit8
    QString grindingIncrement;     // Edit13
    bool wholeTeeth = false;       // "取整数"
};

// Receives the result captions (label number, whole caption) and the warning
// state of the three warning labels (14, 28 and 53).
class ResultSink {
public:
    virtual ~ResultSink() = default;
    virtual void caption(int label, const QString& text) = 0;
    virtual void warning(int label, bool warn) = 0;
};

enum class GeometryOutcome {
    Completed,
    RatioMismatch, // the ratio differs from teeth / starts by more than 0.001
    Fault,         // a field that is not a number, or an arithmetic fault
};

// Runs the calculation, writing the record fields and the named results in
// step order. The coefficients are N[0] ... N[15].
GeometryOutcome calculate(const GeometryTexts& texts, const std::array<double, 16>& N, DesignValues& record,
                          core::Results& results);
// The same, handing each result's caption (and the warning state before it)
// to the sink in step order.
GeometryOutcome calculateGeometry(const GeometryTexts& texts, const std::array<double, 16>& N,
                                  DesignValues& record, ResultSink& sink);

// The suffixes that follow each result's value in its label.
QString resultSuffix(int label);

} // namespace tpworm::calc
