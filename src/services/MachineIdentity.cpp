#include "MachineIdentity.h"

#include <QCryptographicHash>
#include <QFile>
#include <QUuid>

MachineIdentity::MachineIdentity(QStringList machineIdFiles)
    : m_machineIdFiles(std::move(machineIdFiles))
{ }

QString MachineIdentity::deviceIdentifier() const
{
    for (const QString& path : m_machineIdFiles) {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            continue;
        const QString id = QString::fromUtf8(file.read(256)).trimmed();
        if (!id.isEmpty())
            return hashedIdentifier(id);
    }
    return hashedIdentifier(QUuid::createUuid().toString(QUuid::WithoutBraces).toUpper());
}

QString MachineIdentity::hashedIdentifier(const QString& text)
{
    const QByteArray digest = QCryptographicHash::hash(text.toUtf8(), QCryptographicHash::Sha256);
    return QString::fromLatin1(digest.toHex()).left(32);
}
