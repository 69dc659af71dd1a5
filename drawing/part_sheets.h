// The three shop drawings of a calculated design, each one sheet with its
// views, dimensions, parameter table, technical requirements and title block:
// the worm (axial section with throat, tip and root arcs, working length,
// shoulders, the main base circle and the tangent flank construction of the
// generating plane), the wheel (axial section with tip, throat and reference
// diameters, rim width, throat radius, and an enlarged detail of the rim) and
// the hob (axial section with its tip and root arcs and effective length).
#pragma once

#include "drawing/sheet.h"
#include "drawing/shown_design.h"

#include <optional>

namespace tpworm::drawing {

enum class Part { Worm, Wheel, Hob };

// "worm", "wheel", "hob"; and back (nullopt for another word).
QString partWord(Part part);
std::optional<Part> partFromWord(const QString& word);
// "平面二次包络环面蜗杆", ...: the default name in the title block.
QString partName(Part part);
// The default drawing number: TP<a>-<i>-01 (worm), -02 (wheel), -03 (hob).
QString drawingNumber(Part part, const ShownDesign& design);
// The material printed when the user gives none, a reference choice of this
// program (42CrMo worm and hob blank, ZCuSn10P1 rim on an HT250 centre after
// the usual practice for these drives), labelled as such on the sheet.
QString referenceMaterial(Part part);

Sheet partSheet(Part part, const ShownDesign& design, const TitleFields& title = {});
Sheet wormSheet(const ShownDesign& design, const TitleFields& title = {});
Sheet wheelSheet(const ShownDesign& design, const TitleFields& title = {});
Sheet hobSheet(const ShownDesign& design, const TitleFields& title = {});

} // namespace tpworm::drawing
