#include "JsonFilePreferences.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "PlatformLogging.h"
#include "PreferencesCodec.h"
#include "SafeFile.h"

JsonFilePreferences::JsonFilePreferences(QString filePath) : m_filePath(std::move(filePath)) { load(); }

QVariant JsonFilePreferences::value(const QString& key) const { return m_values.value(key); }

void JsonFilePreferences::setValue(const QString& key, const QVariant& value)
{
    if (!value.isValid()) {
        remove(key);
        return;
    }
    const auto it = m_values.constFind(key);
    if (it != m_values.cend() && it->typeId() == value.typeId() && *it == value)
        return;
    m_values.insert(key, value);
    save();
}

void JsonFilePreferences::remove(const QString& key)
{
    if (m_values.remove(key) > 0)
        save();
}

void JsonFilePreferences::load()
{
    if (!QFile::exists(m_filePath))
        return;
    QString error;
    std::optional<QVariantMap> values;
    if (const auto bytes = SafeFile::readAll(m_filePath, &error))
        values = PreferencesCodec::decode(*bytes, &error);
    if (values) {
        m_values = std::move(*values);
        return;
    }
    const QString setAside = SafeFile::moveAside(m_filePath);
    m_mayWrite = !setAside.isEmpty();
    qCWarning(lcPreferences).noquote() << "Cannot read preferences from" << m_filePath << "(" + error + ");"
                                       << (setAside.isEmpty() ? QStringLiteral("could not move it aside")
                                                              : "moved it to " + setAside)
                                       << "and using the defaults";
}

void JsonFilePreferences::save() const
{
    if (!m_mayWrite) {
        qCWarning(lcPreferences).noquote() << "Not saving preferences: the unreadable" << m_filePath
                                           << "is still in place";
        return;
    }
    QDir().mkpath(QFileInfo(m_filePath).absolutePath());
    QString error;
    if (!SafeFile::writeAtomically(m_filePath, PreferencesCodec::encode(m_values), &error))
        qCWarning(lcPreferences).noquote() << "Cannot save preferences to" << m_filePath << ":" << error;
}
