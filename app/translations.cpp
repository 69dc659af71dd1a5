#include "app/translations.h"

#include <QCoreApplication>
#include <QDir>
#include <QLibraryInfo>
#include <QTranslator>

namespace tpworm {

QStringList qtTranslationFolders(const QString& programDir)
{
    return {QDir(programDir).filePath(QStringLiteral("translations")),
            QLibraryInfo::path(QLibraryInfo::TranslationsPath)};
}

bool installQtTranslations(QCoreApplication& app, const QString& programDir)
{
    // Debian ships Qt's Chinese texts in qt6-translations-l10n.
    for (const QString& folder : qtTranslationFolders(programDir)) {
        auto* translator = new QTranslator(&app);
        if (translator->load(QStringLiteral("qtbase_zh_CN"), folder)) {
            QCoreApplication::installTranslator(translator);
            return true;
        }
        delete translator;
    }
    return false;
}

} // namespace tpworm
