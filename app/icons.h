// The program's pictures, drawn with QPainter so that the build needs no image
// files: the twelve 32 × 32 tool-bar pictures of ImageList1 and the pictures
// of the calculate, edit and confirm buttons.
#pragma once

#include <QList>
#include <QPixmap>

namespace tpworm::icons {

// Positions in ImageList1, as the tool-bar buttons refer to them.
enum Picture {
    NewDesign = 0,
    Save = 1,
    WormTable = 2,
    WheelTable = 3,
    HobTable = 4,
    TechnicalManual = 5,
    RecommendedParameters = 6,
    AccuracyGrade = 7,
    DrawingExamples = 8,
    ModificationPrinciple = 9,
    Close = 10,
    Open = 11,
    PictureCount = 12
};

inline constexpr int kToolBarPictureSize = 32;

// One picture of ImageList1 (32 × 32, transparent background); a null
// pixmap for an index outside 0 … 11.
QPixmap toolBarPicture(int index);

// All twelve, in list order.
QList<QPixmap> imageList1();

// SpeedButton2 "计算" (48 × 48), SpeedButton3 "编辑" and SpeedButton4 "确定"
// (28 × 28).
QPixmap calculatePicture();
QPixmap editPicture();
QPixmap confirmPicture();

// The window icon: a toroidal worm meshing with its wheel.
QPixmap programPicture();

} // namespace tpworm::icons
