#include "Translations.h"

#include <QCoreApplication>
#include <QFile>
#include <QLibraryInfo>
#include <QPointer>
#include <QTranslator>

namespace Translations {
namespace {

QList<QPointer<QTranslator>>& installed()
{
    static QList<QPointer<QTranslator>> translators;
    return translators;
}

void removeInstalled()
{
    for (const QPointer<QTranslator>& translator : std::as_const(installed())) {
        if (translator) {
            QCoreApplication::removeTranslator(translator);
            delete translator.data();
        }
    }
    installed().clear();
}

/// Installs exactly `directory`/`name`.qm (QTranslator::load alone would also try shorter names).
bool installFile(const QString& name, const QString& directory)
{
    const QString path = directory + QLatin1Char('/') + name + QStringLiteral(".qm");
    if (!QFile::exists(path))
        return false;
    auto translator = std::make_unique<QTranslator>(QCoreApplication::instance());
    if (!translator->load(path) || !QCoreApplication::installTranslator(translator.get()))
        return false;
    installed().append(translator.release());
    return true;
}

/// "de_DE.UTF-8" and "de_DE@euro" name the locale "de_DE".
QLocale localeOf(QString name)
{
    for (const QChar separator : { QLatin1Char('.'), QLatin1Char('@') }) {
        const qsizetype end = name.indexOf(separator);
        if (end >= 0)
            name.truncate(end);
    }
    return QLocale(name);
}

} // namespace

std::optional<QLocale> formatsFromLanguage(const QProcessEnvironment& environment)
{
    if (!environment.value(QStringLiteral("LC_ALL")).isEmpty()
        || !environment.value(QStringLiteral("LC_TIME")).isEmpty())
        return std::nullopt;
    const QStringList languages
        = environment.value(QStringLiteral("LANGUAGE")).split(QLatin1Char(':'), Qt::SkipEmptyParts);
    for (const QString& language : languages) {
        const QLocale locale = localeOf(language);
        if (locale.language() != QLocale::C)
            return locale;
    }
    return std::nullopt;
}

QString install(const QStringList& languages)
{
    removeInstalled();
    installFile(QStringLiteral("velto_en"), QStringLiteral(":/i18n"));
    for (const QString& language : languages) {
        const QLocale locale = localeOf(QString(language).replace(QLatin1Char('-'), QLatin1Char('_')));
        if (locale.language() == QLocale::C)
            continue;
        if (locale.language() == QLocale::English)
            break;
        QString code = QLocale::languageToCode(locale.language());
        if (!installFile(QStringLiteral("velto_") + code, QStringLiteral(":/i18n")))
            continue;
        installFile(QStringLiteral("qtbase_") + code, QLibraryInfo::path(QLibraryInfo::TranslationsPath));
        return code;
    }
    return QStringLiteral("en");
}

QString installForUser()
{
    if (const auto formats = formatsFromLanguage(QProcessEnvironment::systemEnvironment()))
        QLocale::setDefault(*formats);
    return install(QLocale::system().uiLanguages());
}

} // namespace Translations
