// Qt's own texts (the buttons of message boxes, the file dialogs) in the
// program's language, Chinese, whatever the desktop's language is.
#pragma once

#include <QString>
#include <QStringList>

class QCoreApplication;

namespace tpworm {

// The folders searched for Qt's translation files, in order: "translations"
// beside the program (an installed copy), then Qt's own folder.
QStringList qtTranslationFolders(const QString& programDir);

// Loads qtbase_zh_CN.qm from the first folder that has it and installs it in
// the application; false when none could be loaded (Qt's texts then stay in
// English).
bool installQtTranslations(QCoreApplication& app, const QString& programDir);

} // namespace tpworm
