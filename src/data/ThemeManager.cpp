#include "ThemeManager.h"

#include "platform/PreferenceValues.h"
#include "platform/Preferences.h"

ThemeManager::ThemeManager(Preferences& preferences, QObject* parent)
    : QObject(parent)
    , m_preferences(preferences)
{
    loadColors();
}

void ThemeManager::loadColors()
{
    // Ids are not checked against the palette: views fall back for unknown ones.
    if (const auto id = PreferenceValues::string(m_preferences.value(QLatin1String(focusColorKey))))
        m_focusColorId = *id;
    if (const auto id = PreferenceValues::string(m_preferences.value(QLatin1String(breakColorKey))))
        m_breakColorId = *id;
}

void ThemeManager::setFocusColorId(const QString& id)
{
    if (m_focusColorId == id)
        return;
    m_focusColorId = id;
    emit focusColorIdChanged();
}

void ThemeManager::setBreakColorId(const QString& id)
{
    if (m_breakColorId == id)
        return;
    m_breakColorId = id;
    emit breakColorIdChanged();
}

void ThemeManager::saveColors()
{
    m_preferences.setValue(QLatin1String(focusColorKey), m_focusColorId);
    m_preferences.setValue(QLatin1String(breakColorKey), m_breakColorId);
}
