// The fixed texts of the rule commands, shared by the main window's handlers
// and the settings dialog.
#pragma once

#include "core/rules_data.h"

#include <QString>

namespace tpworm::rules {

// Message boxes of the rules commands carry this caption.
inline const QString kMessageCaption = QStringLiteral("提示");

inline QString loadFailureMessage() { return kLoadFailureMessage; }

inline const QString kSaveSucceeded = QStringLiteral("数据保存成功......");
inline const QString kSaveFailed = QStringLiteral("数据保存失败.......");
inline const QString kDialogOpenFailed = QStringLiteral("数据初始化失败，程序将关闭");

} // namespace tpworm::rules
