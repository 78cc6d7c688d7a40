// The language of the windows: English (the program's own texts) or Japanese.
//
// It follows the system locale unless the user chose one in the View menu; the choice is kept
// in the user's settings (organisation "KAP", application "KAP Support-Software", key
// "Language" = "en" or "ja") and takes effect at the next start. Setting files, TALOR.ini,
// the error record and everything on the line stay the same whatever the language.
#pragma once

#include <QLocale>
#include <QString>
#include <QStringList>
#include <QVariant>

namespace kap::language {

// The languages the program speaks, as codes: "en", "ja".
QStringList codes();
// The language's own name, as the menu shows it whatever the current language.
QString nativeName(const QString& code);

// The user's choice; empty when the program follows the system.
QString savedChoice();
// Keeps code ("en", "ja"; empty to follow the system) as the user's choice. False when the
// settings could not be written.
bool saveChoice(const QString& code);
// Other values kept in the user's settings beside the language (the file encoding, ...): an
// invalid QVariant when there is none. setUserValue is false when they could not be written.
QVariant userValue(const QString& key);
bool setUserValue(const QString& key, const QVariant& value);

// Keeps the choice in this INI file instead of the user's settings (tests); an empty path
// goes back to the user's settings.
void useFile(const QString& iniPath);

// The language to start in: the saved choice when it is one the program speaks, else Japanese
// for a Japanese system locale and English for any other.
QString resolve(const QString& saved, const QLocale& system);

// Where the translation files are: share/kap/translations beside the program's bin folder,
// the same layout in the build tree and in the installed package.
QString translationsFolder();

// Makes code the language of every text from now on: installs the program's translation and
// Qt's own (for the standard dialogs) into the application. English installs nothing. False,
// with the reason in *why, when the program's translation could not be loaded; the texts then
// stay English.
bool install(const QString& code, QString* why = nullptr);

// The language installed last ("en" before any).
QString current();
// The locale dates and times are shown in: Japanese for Japanese, else the system's.
QLocale locale();

}  // namespace kap::language
