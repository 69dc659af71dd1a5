#include "core/translation.h"

#include <QCoreApplication>
#include <QDir>
#include <QTranslator>

namespace tpworm {

namespace {

Language g_installed = Language::Chinese;

Language fromLocaleName(const QString& name)
{
    return name.startsWith(QLatin1String("en")) ? Language::English : Language::Chinese;
}

} // namespace

QString uiText(const QString& chinese)
{
    return QCoreApplication::translate("tpworm", chinese.toUtf8().constData());
}

QString uiText(const char* chineseUtf8) { return QCoreApplication::translate("tpworm", chineseUtf8); }

LanguageChoice chooseLanguage(QStringList& arguments)
{
    LanguageChoice choice;
    const int at = arguments.indexOf(QStringLiteral("--lang"));
    if (at >= 0) {
        const QString value = at + 1 < arguments.size() ? arguments[at + 1] : QString();
        if (value == QLatin1String("en"))
            choice.language = Language::English;
        else if (value == QLatin1String("zh"))
            choice.language = Language::Chinese;
        else
            choice.error = QStringLiteral("--lang takes en or zh");
        arguments.remove(at, at + 1 < arguments.size() ? 2 : 1);
        return choice;
    }
    // The order in which gettext reads them: LANGUAGE, then the first of
    // LC_ALL, LC_MESSAGES and LANG that is set.
    const QString language = qEnvironmentVariable("LANGUAGE");
    if (!language.isEmpty()) {
        choice.language = fromLocaleName(language);
        return choice;
    }
    for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const QString value = qEnvironmentVariable(name);
        if (!value.isEmpty()) {
            choice.language = fromLocaleName(value);
            return choice;
        }
    }
    return choice;
}

bool installTranslations(QCoreApplication& app, Language language, const QString& programDir)
{
    g_installed = Language::Chinese;
    if (language == Language::Chinese)
        return true;
    // Qt's own dialogs speak English without a translation of their own.
    auto* own = new QTranslator(&app);
    if (!own->load(QStringLiteral("tpworm_en"), programDir))
        return false;
    app.installTranslator(own);
    g_installed = Language::English;
    return true;
}

Language installedLanguage() { return g_installed; }

QString helpPageName()
{
    return g_installed == Language::English ? QStringLiteral("help_en.htm") : QStringLiteral("help.htm");
}

} // namespace tpworm
