#pragma once

#include <QVariantMap>

#include "Preferences.h"

/// Preferences kept in one JSON file, rewritten atomically on every change.
/// A file that cannot be read is moved aside (never overwritten) and the
/// defaults apply.
class JsonFilePreferences final : public Preferences {
public:
    explicit JsonFilePreferences(QString filePath);

    QVariant value(const QString& key) const override;
    void setValue(const QString& key, const QVariant& value) override;
    void remove(const QString& key) override;

    const QString& filePath() const { return m_filePath; }

private:
    void load();
    void save() const;

    QString m_filePath;
    QVariantMap m_values;
    /// False when an unreadable file could not be moved aside: it must not be overwritten.
    bool m_mayWrite = true;
};
