// The fixed texts of the rule commands, shared by the main window's handlers
// and the settings dialog.
#pragma once

#include <QString>

namespace tpworm::rules {

// Message boxes of the rules commands carry this caption.
inline const QString kMessageCaption = QStringLiteral("提示");

// The maker's contact number that ends the load-failure message. The value is
// a placeholder until the maker gives the number to print.
inline const QString kMakerContact = QStringLiteral("000000000");

inline QString loadFailureMessage()
{
    return QStringLiteral("您的系统可能缺少相应的驱动，数据初始化失败，请联系开发商QQ:") + kMakerContact;
}

inline const QString kSaveSucceeded = QStringLiteral("数据保存成功......");
inline const QString kSaveFailed = QStringLiteral("数据保存失败.......");
inline const QString kDialogOpenFailed = QStringLiteral("数据初始化失败，程序将关闭");

} // namespace tpworm::rules
