#pragma once

#include <QString>

namespace tpworm {

inline const QString kProductTitle = QStringLiteral("平面二次包络环面蜗杆传动设计系统");
inline const QString kProductVersion = QStringLiteral("1.0");
// The main window's caption as created.
inline QString productCaption() { return kProductTitle + QStringLiteral(" V") + kProductVersion; }

} // namespace tpworm
