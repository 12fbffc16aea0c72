#pragma once

#include <QString>
#include <QStringList>

/// The installation's anonymous identifier: the machine id (never sent or stored
/// as it is) hashed with SHA-256, first 32 lower-case hex digits.
class MachineIdentity {
public:
    /// Reads the first of `machineIdFiles` that holds an id.
    explicit MachineIdentity(QStringList machineIdFiles
        = { QStringLiteral("/etc/machine-id"), QStringLiteral("/var/lib/dbus/machine-id") });

    /// The same on every launch on one machine; random (and different each launch) when no id can be read.
    QString deviceIdentifier() const;
    /// SHA-256 of the UTF-8 text as lower-case hex, cut to 32 digits.
    static QString hashedIdentifier(const QString& text);

private:
    QStringList m_machineIdFiles;
};
