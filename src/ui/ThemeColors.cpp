#include "ThemeColors.h"

#include <QVariantMap>

#include "data/ThemeManager.h"

ThemeColors::ThemeColors(ThemeManager& theme, QObject* parent)
    : QObject(parent)
    , m_theme(theme)
{
    connect(&theme, &ThemeManager::focusColorIdChanged, this, &ThemeColors::refresh);
    connect(&theme, &ThemeManager::breakColorIdChanged, this, &ThemeColors::refresh);
    m_focusId = theme.focusColorId();
    m_breakId = theme.breakColorId();
}

void ThemeColors::refresh()
{
    m_focusId = m_theme.focusColorId();
    m_breakId = m_theme.breakColorId();
    emit colorsChanged();
}

QColor ThemeColors::focusColor() const
{
    return colorForId(m_focusId, QColor::fromRgb(fallbackFocusColor));
}

QColor ThemeColors::breakColor() const
{
    return colorForId(m_breakId, QColor::fromRgb(fallbackBreakColor));
}

QColor ThemeColors::colorForId(const QString& id, const QColor& fallback)
{
    const std::optional<quint32> hex = themeColorForId(id);
    return hex ? QColor::fromRgb(*hex) : fallback;
}

QVariantList ThemeColors::options() const
{
    QVariantList list;
    for (const ThemeColorOption& option : themeColorOptions())
        list.append(
            QVariantMap { { QStringLiteral("id"), option.id }, { QStringLiteral("name"), option.name },
                { QStringLiteral("color"), QColor::fromRgb(option.hex) } });
    return list;
}
