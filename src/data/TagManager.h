#pragma once

#include <QMap>
#include <QObject>
#include <QStringList>
#include <optional>

class Preferences;

/// The tags a focus interval can carry, the tag chosen for the next one, and a
/// lasting colour per tag. Tag names are compared by Unicode canonical
/// equivalence, case-sensitively.
class TagManager : public QObject {
    Q_OBJECT
    Q_PROPERTY(QStringList availableTags READ availableTags NOTIFY availableTagsChanged)
    /// The current tag, or an empty string when there is none.
    Q_PROPERTY(QString currentSessionTag READ currentSessionTagText NOTIFY currentSessionTagChanged)
    Q_PROPERTY(QStringList defaultTags READ defaultTags CONSTANT)

public:
    static constexpr const char* customTagsKey = "veltoCustomTags";
    static constexpr const char* currentTagKey = "veltoCurrentSessionTag";
    static constexpr const char* tagColorsKey = "veltoTagColors";

    explicit TagManager(Preferences& preferences, QObject* parent = nullptr);

    QStringList availableTags() const { return m_availableTags; }
    std::optional<QString> currentSessionTag() const { return m_currentSessionTag; }
    QString currentSessionTagText() const { return m_currentSessionTag.value_or(QString()); }
    void setCurrentSessionTag(const std::optional<QString>& tag);
    /// Colours by tag name (names in composed normal form).
    const QMap<QString, quint32>& tagColorMap() const { return m_tagColorMap; }
    static QStringList defaultTags();

    /// The tag's colour (0xRRGGBB); an unknown name gets a new colour that is kept.
    Q_INVOKABLE quint32 colorForTag(const QString& name);
    /// The colours of several tags; unknown names get the colours `colorForTag` would give them
    /// one after another, kept with a single write.
    QList<quint32> colorsForTags(const QStringList& names);
    Q_INVOKABLE void addTag(const QString& name);
    Q_INVOKABLE void renameTag(const QString& oldName, const QString& newName);
    Q_INVOKABLE void deleteTag(const QString& name);
    /// Chooses the tag for the next focus interval (an empty name clears it) and saves it.
    Q_INVOKABLE void chooseCurrentTag(const QString& name);

    void saveCurrentTag();
    void saveCustomTags();
    void saveTagColors();
    /// The first free palette colour, or a random light colour once all are taken.
    quint32 generateColor() const;

signals:
    void availableTagsChanged();
    void currentSessionTagChanged();
    void tagColorMapChanged();

private:
    void loadCustomTags();
    void loadTagColors();
    void loadCurrentTag();
    bool containsTag(const QString& name) const;
    void setAvailableTags(QStringList tags);
    void setTagColor(const QString& name, quint32 color);

    Preferences& m_preferences;
    QStringList m_availableTags;
    std::optional<QString> m_currentSessionTag;
    QMap<QString, quint32> m_tagColorMap;
};
