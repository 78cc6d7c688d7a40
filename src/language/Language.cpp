#include "language/Language.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QSettings>
#include <QTranslator>

#include <memory>

namespace kap::language {
namespace {

const QString kKey = QStringLiteral("Language");

QString& settingsFile()
{
    static QString path;
    return path;
}

std::unique_ptr<QSettings> openSettings()
{
    if (!settingsFile().isEmpty())
        return std::make_unique<QSettings>(settingsFile(), QSettings::IniFormat);
    return std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope,
                                       QStringLiteral("KAP"),
                                       QStringLiteral("KAP Support-Software"));
}

// The translators stay installed for the rest of the run.
QString& installedCode()
{
    static QString code = QStringLiteral("en");
    return code;
}

std::unique_ptr<QTranslator>& programTranslator()
{
    static std::unique_ptr<QTranslator> t;
    return t;
}

std::unique_ptr<QTranslator>& qtTranslator()
{
    static std::unique_ptr<QTranslator> t;
    return t;
}

void removeTranslators()
{
    for (auto* slot : {&programTranslator(), &qtTranslator()}) {
        if (*slot) {
            QCoreApplication::removeTranslator(slot->get());
            slot->reset();
        }
    }
}

}  // namespace

QStringList codes()
{
    return {QStringLiteral("en"), QStringLiteral("ja")};
}

QString nativeName(const QString& code)
{
    if (code == QLatin1String("ja"))
        return QStringLiteral("日本語");
    return QStringLiteral("English");
}

QVariant userValue(const QString& key)
{
    return openSettings()->value(key);
}

bool setUserValue(const QString& key, const QVariant& value)
{
    const std::unique_ptr<QSettings> settings = openSettings();
    settings->setValue(key, value);
    settings->sync();
    return settings->status() == QSettings::NoError;
}

QString savedChoice()
{
    const QString value = openSettings()->value(kKey).toString();
    return codes().contains(value) ? value : QString();
}

bool saveChoice(const QString& code)
{
    const auto settings = openSettings();
    if (code.isEmpty())
        settings->remove(kKey);
    else
        settings->setValue(kKey, code);
    settings->sync();
    return settings->status() == QSettings::NoError;
}

void useFile(const QString& iniPath)
{
    settingsFile() = iniPath;
}

QString resolve(const QString& saved, const QLocale& system)
{
    if (codes().contains(saved))
        return saved;
    return system.language() == QLocale::Japanese ? QStringLiteral("ja") : QStringLiteral("en");
}

QString translationsFolder()
{
    return QDir::cleanPath(QCoreApplication::applicationDirPath()
                           + QStringLiteral("/../share/kap/translations"));
}

bool install(const QString& code, QString* why)
{
    removeTranslators();
    installedCode() = QStringLiteral("en");
    if (code == QLatin1String("en") || code.isEmpty())
        return true;
    auto program = std::make_unique<QTranslator>();
    const QString file = QStringLiteral("kap_%1.qm").arg(code);
    if (!program->load(file, translationsFolder())) {
        if (why)
            *why = QStringLiteral("%1 not found in %2").arg(file, translationsFolder());
        return false;
    }
    QCoreApplication::installTranslator(program.get());
    programTranslator() = std::move(program);
    installedCode() = code;
    // Qt's own texts (standard buttons, file and print dialogs) when the system has them.
    auto qt = std::make_unique<QTranslator>();
    if (qt->load(QStringLiteral("qtbase_") + code,
                 QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        QCoreApplication::installTranslator(qt.get());
        qtTranslator() = std::move(qt);
    }
    return true;
}

QString current()
{
    return installedCode();
}

QLocale locale()
{
    return current() == QLatin1String("ja") ? QLocale(QLocale::Japanese, QLocale::Japan)
                                            : QLocale();
}

}  // namespace kap::language
