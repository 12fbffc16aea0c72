#include "JsonFilePreferences.h"

#include <QFileInfo>

#include "PlatformLogging.h"
#include "PreferencesCodec.h"
#include "SafeFile.h"

JsonFilePreferences::JsonFilePreferences(QString filePath, QObject* parent)
    : QObject(parent)
    , m_filePath(std::move(filePath))
{
    load();
}

QVariant JsonFilePreferences::value(const QString& key) const
{
    return m_values.value(key);
}

void JsonFilePreferences::setValue(const QString& key, const QVariant& value)
{
    if (!value.isValid()) {
        remove(key);
        return;
    }
    const auto it = m_values.constFind(key);
    if (it != m_values.cend() && it->typeId() == value.typeId() && *it == value && !m_unknown.contains(key))
        return;
    m_values.insert(key, value);
    m_unknown.remove(key);
    save();
}

void JsonFilePreferences::remove(const QString& key)
{
    const bool removed = m_values.remove(key) > 0;
    if (m_unknown.remove(key) > 0 || removed)
        save();
}

bool JsonFilePreferences::flush()
{
    return !m_saveRetry.pending() || save();
}

void JsonFilePreferences::load()
{
    const SafeFile::Contents file = SafeFile::read(m_filePath, maxFileSize);
    if (file.status == SafeFile::Contents::Status::missing)
        return;
    QString error = file.error;
    std::optional<PreferencesCodec::Document> document;
    if (file.status == SafeFile::Contents::Status::read)
        document = PreferencesCodec::decode(QByteArray::fromStdString(file.bytes), &error);
    if (document) {
        m_values = std::move(document->values);
        m_unknown = std::move(document->unknown);
        return;
    }
    const QString setAside = SafeFile::moveAside(m_filePath);
    m_mayWrite = !setAside.isEmpty();
    qCWarning(lcPreferences).noquote()
        << "Cannot read preferences from" << m_filePath << "(" + error + ");"
        << (setAside.isEmpty() ? QStringLiteral("could not move it aside") : "moved it to " + setAside)
        << "and using the defaults";
}

bool JsonFilePreferences::save()
{
    QString error;
    const bool saved = write(&error);
    if (!saved)
        qCWarning(lcPreferences).noquote() << "Cannot save preferences to" << m_filePath << ":" << error;
    if (m_saveRetry.record(saved, error))
        emit saveStateChanged();
    if (!saved)
        emit saveFailed(error);
    return saved;
}

bool JsonFilePreferences::write(QString* error)
{
    if (!m_mayWrite) {
        // Another try at setting the unreadable file aside; only then may it be replaced.
        const QString setAside = SafeFile::moveAside(m_filePath);
        if (setAside.isEmpty() && QFileInfo::exists(m_filePath)) {
            *error = QStringLiteral("the unreadable %1 could not be moved aside").arg(m_filePath);
            return false;
        }
        m_mayWrite = true;
        if (!setAside.isEmpty())
            qCWarning(lcPreferences).noquote() << "Moved the unreadable preferences to" << setAside;
    }
    return SafeFile::createFolders(QFileInfo(m_filePath).absolutePath(), error)
        && SafeFile::writeAtomically(m_filePath, PreferencesCodec::encode(m_values, m_unknown), error);
}
