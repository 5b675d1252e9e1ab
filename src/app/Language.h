#pragma once
// The language of the windows: Chinese, the language the texts are written
// in, or English from the translation built into the program. Chosen once at
// start-up from the user's interface languages and the installed fonts.

#include <QStringList>

class QCoreApplication;

namespace tavimo::app {

enum class TUiLanguage { Chinese, English };

// English when the first of the user's interface languages that is English,
// Chinese, C or POSIX is English; Chinese otherwise (C and POSIX included).
TUiLanguage PreferredUiLanguage(const QStringList& uiLanguages);

// Whether an installed font covers simplified Chinese.
bool ChineseFontInstalled();

// The language for this run: the preferred one, or English when Chinese is
// preferred but no font can show it (which is said on stderr).
TUiLanguage ChooseUiLanguage(const QStringList& uiLanguages, bool chineseFontInstalled);

// The language the windows' texts are shown in now: English while the
// program's English catalog (or another that translates it) is installed.
TUiLanguage ShownUiLanguage();

// Installs the program's catalog for language (none for Chinese, the source
// language) and Qt's own catalog for its dialogs where one is installed.
void InstallTranslations(QCoreApplication& application, TUiLanguage language);

}  // namespace tavimo::app
