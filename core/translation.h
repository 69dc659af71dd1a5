// The program speaks Chinese, its source language; English comes through
// Qt's translation system. Every Chinese text a user sees is looked up in one
// context, "tpworm", with the Chinese text itself as the key, so that a text
// composed at run time (a result's suffix, a message) finds the same entry
// as the caption a window was built with.
#pragma once

#include <QString>
#include <QStringList>

class QCoreApplication;

namespace tpworm {

enum class Language { Chinese, English };

// The text in the language in force (the text itself while no translation
// is installed, as in every test).
QString uiText(const QString& chinese);
QString uiText(const char* chineseUtf8);

// "--lang en|zh" among the arguments wins (and is taken out of them);
// otherwise LANGUAGE, then LC_ALL, LC_MESSAGES and LANG, the first that is
// set: English when it starts with "en", Chinese for anything else. Returns
// an error text for a "--lang" without a known language.
struct LanguageChoice {
    Language language = Language::Chinese;
    QString error;
};
LanguageChoice chooseLanguage(QStringList& arguments);

// Installs the program's English translation (tpworm_en.qm from the program
// directory); Chinese, the source language, needs none of its own (Qt's
// Chinese for its dialogs is the window program's, app/translations.h).
// Returns false when the English translation could not be loaded.
bool installTranslations(QCoreApplication& app, Language language, const QString& programDir);
// The same for a program without an application object (tpworm-cli's
// commands that need no event loop): uiText() speaks the language; Qt's own
// tr() texts do not, as no such program shows any.
bool installTranslations(Language language, const QString& programDir);

// The language installed last (Chinese until a translation is installed).
Language installedLanguage();

// The help page in the language in force: the manual stays Chinese, the
// help page has an English version.
QString helpPageName();

} // namespace tpworm
