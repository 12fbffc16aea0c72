#pragma once

#include <QMap>
#include <QObject>
#include <QVariantMap>
#include <chrono>

#include "Preferences.h"
#include "SaveRetry.h"

/// Preferences kept in one JSON file, rewritten atomically on every change.
/// A file that cannot be read is moved aside (never overwritten) and the
/// defaults apply. A change that cannot be saved stays in memory and is saved
/// again with the next change, once a minute, and by `flush`; the failure is
/// reported. Values in the file that are not understood are written back as
/// they were.
class JsonFilePreferences final : public QObject, public Preferences {
    Q_OBJECT
    Q_PROPERTY(bool hasUnsavedChanges READ hasUnsavedChanges NOTIFY saveStateChanged)
    Q_PROPERTY(QString saveError READ saveError NOTIFY saveStateChanged)

public:
    /// Larger files are not read.
    static constexpr qint64 maxFileSize = qint64(16) * 1024 * 1024;

    explicit JsonFilePreferences(QString filePath, QObject* parent = nullptr);

    QVariant value(const QString& key) const override;
    void setValue(const QString& key, const QVariant& value) override;
    void remove(const QString& key) override;

    const QString& filePath() const { return m_filePath; }

    /// True while a change is in memory only.
    bool hasUnsavedChanges() const { return m_saveRetry.pending(); }
    /// Why the last save failed; empty when it succeeded.
    const QString& saveError() const { return m_saveRetry.error(); }
    /// Saves unsaved changes now; true when everything is on disk.
    bool flush();
    /// How often unsaved changes are retried (one minute unless changed).
    void setRetryInterval(std::chrono::milliseconds interval) { m_saveRetry.setInterval(interval); }

signals:
    void saveFailed(const QString& reason);
    void saveStateChanged();

private:
    void load();
    bool save();
    bool write(QString* error);

    QString m_filePath;
    QVariantMap m_values;
    /// Values from the file this version does not understand, written back unchanged.
    QMap<QString, QByteArray> m_unknown;
    /// False when an unreadable file could not be moved aside: it must not be overwritten.
    bool m_mayWrite = true;
    SaveRetry m_saveRetry { [this] { flush(); } };
};
