// The cells the "文件" menu exports hand to the spreadsheet application: what
// goes where in the worm, wheel and hob tables, as texts. Widget-free: the
// field texts come in as plain values.
#pragma once

#include "core/design_record.h"

#include <QList>
#include <QString>

namespace tpworm::documents {

// A cell addressed as the automation server does: 1-based (row, column).
struct AutomationCell {
    int row = 0;
    int column = 0;
    QString text;

    bool operator==(const AutomationCell&) const = default;
};

// The main-window field texts the menu tables print.
struct MenuFieldTexts {
    QString Edit1;  // centre distance
    QString Edit3;  // wheel teeth
    QString Edit4;  // worm starts
    QString Edit9;  // grade text
    QString Edit10; // hand
    QString Edit11; // entry relief
    QString Edit12; // exit relief
    QString Edit13; // grinding allowance
};

// "C2" -> row 2, column 3. Throws std::invalid_argument on a malformed name.
AutomationCell cellAt(const QString& a1, const QString& text);

// Each list is in the order the cells are written.
QList<AutomationCell> menuWormCells(const DesignRecord& design, const MenuFieldTexts& fields);
QList<AutomationCell> menuWheelCells(const DesignRecord& design, const MenuFieldTexts& fields);
QList<AutomationCell> menuHobCells(const DesignRecord& design, const MenuFieldTexts& fields);

} // namespace tpworm::documents
