#pragma once

#include <QVariantMap>

#include "platform/Preferences.h"

/// Preferences held in memory; counts writes so tests can see what was saved.
class MemoryPreferences final : public Preferences {
public:
    MemoryPreferences() = default;
    explicit MemoryPreferences(QVariantMap values)
        : m_values(std::move(values))
    { }

    QVariant value(const QString& key) const override { return m_values.value(key); }
    void setValue(const QString& key, const QVariant& value) override
    {
        m_values.insert(key, value);
        ++m_writes[key];
    }
    void remove(const QString& key) override
    {
        m_values.remove(key);
        ++m_writes[key];
    }

    bool contains(const QString& key) const { return m_values.contains(key); }
    int writes(const QString& key) const { return m_writes.value(key); }
    int totalWrites() const
    {
        int total = 0;
        for (const int n : m_writes)
            total += n;
        return total;
    }

private:
    QVariantMap m_values;
    QMap<QString, int> m_writes;
};
