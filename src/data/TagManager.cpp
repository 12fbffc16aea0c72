#include "TagManager.h"

#include <QSet>

#include "TagPalette.h"
#include "platform/PreferenceValues.h"
#include "platform/Preferences.h"

namespace {
/// Canonically equivalent names become the same text.
QString canonical(const QString& name)
{
    return name.normalized(QString::NormalizationForm_C);
}
bool sameTag(const QString& a, const QString& b)
{
    return canonical(a) == canonical(b);
}
bool isDefaultTag(const QString& name)
{
    const QStringList& defaults = TagPalette::defaultTags();
    return std::any_of(defaults.begin(), defaults.end(), [&](const QString& d) { return sameTag(d, name); });
}
} // namespace

TagManager::TagManager(Preferences& preferences, QObject* parent)
    : QObject(parent)
    , m_preferences(preferences)
{
    loadCustomTags();
    loadTagColors();
    loadCurrentTag();
}

QStringList TagManager::defaultTags()
{
    return TagPalette::defaultTags();
}

bool TagManager::containsTag(const QString& name) const
{
    return std::any_of(m_availableTags.begin(), m_availableTags.end(),
        [&](const QString& tag) { return sameTag(tag, name); });
}

void TagManager::setAvailableTags(QStringList tags)
{
    m_availableTags = std::move(tags);
    emit availableTagsChanged();
}

void TagManager::setCurrentSessionTag(const std::optional<QString>& tag)
{
    if (m_currentSessionTag == tag)
        return;
    m_currentSessionTag = tag;
    emit currentSessionTagChanged();
}

void TagManager::setTagColor(const QString& name, quint32 color)
{
    m_tagColorMap.insert(canonical(name), color);
    emit tagColorMapChanged();
}

void TagManager::loadCustomTags()
{
    QStringList tags = TagPalette::defaultTags();
    const auto stored = PreferenceValues::stringList(m_preferences.value(QLatin1String(customTagsKey)));
    if (stored) {
        for (const QString& name : *stored) {
            if (!std::any_of(
                    tags.begin(), tags.end(), [&](const QString& tag) { return sameTag(tag, name); }))
                tags.append(name);
        }
    }
    setAvailableTags(std::move(tags));
}

void TagManager::loadTagColors()
{
    if (const auto stored = PreferenceValues::map(m_preferences.value(QLatin1String(tagColorsKey)))) {
        QMap<QString, quint32> colors;
        bool allIntegers = true;
        for (auto it = stored->cbegin(); it != stored->cend() && allIntegers; ++it) {
            const auto value = PreferenceValues::exactInteger(it.value());
            allIntegers = value.has_value();
            // A value outside 0x000000…0xFFFFFF cannot be a colour; that tag gets a new one.
            if (value && *value >= 0 && *value <= 0xFFFFFF)
                colors.insert(canonical(it.key()), static_cast<quint32>(*value));
        }
        if (allIntegers)
            m_tagColorMap = std::move(colors);
    }
    bool gaveColor = false;
    for (const QString& tag : std::as_const(m_availableTags)) {
        if (m_tagColorMap.contains(canonical(tag)))
            continue;
        const auto builtIn = TagPalette::defaultColor(tag);
        m_tagColorMap.insert(canonical(tag), builtIn ? *builtIn : generateColor());
        gaveColor = true;
    }
    if (gaveColor)
        saveTagColors();
    emit tagColorMapChanged();
}

void TagManager::loadCurrentTag()
{
    setCurrentSessionTag(PreferenceValues::string(m_preferences.value(QLatin1String(currentTagKey))));
}

quint32 TagManager::generateColor() const
{
    QSet<quint32> used;
    for (const quint32 color : m_tagColorMap)
        used.insert(color);
    for (const quint32 candidate : TagPalette::colorCandidates()) {
        if (!used.contains(candidate))
            return candidate;
    }
    return TagPalette::randomLightColor();
}

quint32 TagManager::colorForTag(const QString& name)
{
    const auto it = m_tagColorMap.constFind(canonical(name));
    if (it != m_tagColorMap.cend())
        return *it;
    const quint32 color = generateColor();
    setTagColor(name, color);
    saveTagColors();
    return color;
}

QList<quint32> TagManager::colorsForTags(const QStringList& names)
{
    QList<quint32> colors;
    colors.reserve(names.size());
    bool gaveColor = false;
    for (const QString& name : names) {
        auto it = m_tagColorMap.constFind(canonical(name));
        if (it == m_tagColorMap.cend()) {
            it = m_tagColorMap.insert(canonical(name), generateColor());
            gaveColor = true;
        }
        colors.append(*it);
    }
    if (gaveColor) {
        emit tagColorMapChanged();
        saveTagColors();
    }
    return colors;
}

void TagManager::addTag(const QString& name)
{
    const QString trimmed = name.trimmed();
    if (trimmed.isEmpty() || containsTag(trimmed))
        return;
    m_availableTags.append(trimmed);
    const bool newColor = !m_tagColorMap.contains(canonical(trimmed));
    if (newColor)
        m_tagColorMap.insert(canonical(trimmed), generateColor());
    emit availableTagsChanged();
    if (newColor) {
        emit tagColorMapChanged();
        saveTagColors();
    }
    saveCustomTags();
}

void TagManager::renameTag(const QString& oldName, const QString& newName)
{
    const QString trimmed = newName.trimmed();
    if (trimmed.isEmpty() || containsTag(trimmed))
        return;
    const auto position = std::find_if(m_availableTags.cbegin(), m_availableTags.cend(),
        [&](const QString& tag) { return sameTag(tag, oldName); });
    if (position == m_availableTags.cend())
        return;
    // Everything changes before anyone hears of it: an observer asking for the current
    // tag's colour in between would otherwise give the old name a colour again.
    m_availableTags[position - m_availableTags.cbegin()] = trimmed;
    const auto color = m_tagColorMap.constFind(canonical(oldName));
    const bool colorMoves = color != m_tagColorMap.cend();
    if (colorMoves) {
        const quint32 kept = *color;
        m_tagColorMap.remove(canonical(oldName));
        m_tagColorMap.insert(canonical(trimmed), kept);
    }
    const bool currentMoves = m_currentSessionTag && sameTag(*m_currentSessionTag, oldName);
    if (currentMoves)
        m_currentSessionTag = trimmed;

    emit availableTagsChanged();
    if (colorMoves) {
        emit tagColorMapChanged();
        saveTagColors();
    }
    if (currentMoves) {
        emit currentSessionTagChanged();
        saveCurrentTag();
    }
    saveCustomTags();
}

void TagManager::deleteTag(const QString& name)
{
    if (isDefaultTag(name))
        return;
    // As in renameTag: the current tag is cleared before the colour map is announced, so no
    // observer gives the deleted name its colour back.
    m_availableTags.removeIf([&](const QString& tag) { return sameTag(tag, name); });
    m_tagColorMap.remove(canonical(name));
    const bool wasCurrent = m_currentSessionTag && sameTag(*m_currentSessionTag, name);
    if (wasCurrent)
        m_currentSessionTag.reset();

    emit availableTagsChanged();
    emit tagColorMapChanged();
    saveTagColors();
    if (wasCurrent) {
        emit currentSessionTagChanged();
        saveCurrentTag();
    }
    saveCustomTags();
}

void TagManager::chooseCurrentTag(const QString& name)
{
    setCurrentSessionTag(name.isEmpty() ? std::nullopt : std::optional<QString>(name));
    saveCurrentTag();
}

void TagManager::saveCurrentTag()
{
    if (m_currentSessionTag)
        m_preferences.setValue(QLatin1String(currentTagKey), *m_currentSessionTag);
    else
        m_preferences.remove(QLatin1String(currentTagKey));
}

void TagManager::saveCustomTags()
{
    QStringList custom;
    for (const QString& tag : std::as_const(m_availableTags)) {
        if (!isDefaultTag(tag))
            custom.append(tag);
    }
    m_preferences.setValue(QLatin1String(customTagsKey), custom);
}

void TagManager::saveTagColors()
{
    QVariantMap stored;
    for (auto it = m_tagColorMap.cbegin(); it != m_tagColorMap.cend(); ++it)
        stored.insert(it.key(), QVariant::fromValue<qint64>(it.value()));
    m_preferences.setValue(QLatin1String(tagColorsKey), stored);
}
