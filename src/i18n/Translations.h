#pragma once

#include <QLocale>
#include <QProcessEnvironment>
#include <QStringList>
#include <optional>

/// The language Velto speaks and the locale its dates and weekday names follow.
///
/// English is the source language; its plural forms ("1 session", "2 sessions") come
/// from a translation too, so it is always installed underneath the chosen language.
namespace Translations {

/// The locale dates, weekday names and numbers follow when it is not Qt's system locale:
/// the first language of LANGUAGE, unless LC_ALL or LC_TIME set the formats explicitly.
/// Qt reads formats from LC_TIME and LANG only, so `LANG=C LANGUAGE=ja` would otherwise
/// give C dates in a Japanese session.
std::optional<QLocale> formatsFromLanguage(const QProcessEnvironment& environment);

/// Installs the translation of the first of `languages` (most preferred first, as
/// QLocale::uiLanguages lists them) that Velto has, over the English plural forms, with
/// Qt's own translation for that language when one is installed. English anywhere in the
/// list before a translated language means English. Replaces an earlier installation.
/// Returns the language now spoken: "de", or "en".
QString install(const QStringList& languages);

/// Sets the default locale and installs the translations from the user's environment.
/// Call once, after the application object exists and before any text is made.
QString installForUser();

} // namespace Translations
