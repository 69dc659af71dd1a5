#include "core/translation.h"

#include <QCoreApplication>
#include <QDir>
#include <QTranslator>

namespace tpworm {

namespace {

Language g_installed = Language::Chinese;
// The English translation in force; looked up directly, so that a command
// line that makes no application object (and so cannot install it there)
// speaks English all the same.
QTranslator* g_translator = nullptr;

QString translated(const char* chineseUtf8)
{
    if (g_translator) {
        const QString text = g_translator->translate("tpworm", chineseUtf8);
        if (!text.isNull())
            return text;
    }
    return QCoreApplication::translate("tpworm", chineseUtf8);
}

bool loadEnglish(QTranslator& translator, const QString& programDir)
{
    return translator.load(QStringLiteral("tpworm_en"), programDir);
}

Language fromLocaleName(const QString& name)
{
    return name.startsWith(QLatin1String("en")) ? Language::English : Language::Chinese;
}

} // namespace

QString uiText(const QString& chinese) { return translated(chinese.toUtf8().constData()); }

QString uiText(const char* chineseUtf8) { return translated(chineseUtf8); }

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
    g_translator = nullptr;
    if (language == Language::Chinese)
        return true;
    // Qt's own dialogs speak English without a translation of their own.
    auto* own = new QTranslator(&app);
    if (!loadEnglish(*own, programDir))
        return false;
    app.installTranslator(own);
    g_installed = Language::English;
    return true;
}

bool installTranslations(Language language, const QString& programDir)
{
    g_installed = Language::Chinese;
    g_translator = nullptr;
    if (language == Language::Chinese)
        return true;
    // Kept for the run.
    static QTranslator own;
    if (!loadEnglish(own, programDir))
        return false;
    g_translator = &own;
    g_installed = Language::English;
    return true;
}

Language installedLanguage() { return g_installed; }

QString helpPageName()
{
    return g_installed == Language::English ? QStringLiteral("help_en.htm") : QStringLiteral("help.htm");
}

} // namespace tpworm
