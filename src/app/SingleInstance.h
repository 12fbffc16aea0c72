#pragma once

#include <QDBusAbstractAdaptor>
#include <QDBusConnection>
#include <QVariantMap>

/// One Velto per session: the running one owns the application id on the session bus
/// and answers org.freedesktop.Application, so a second start hands over to it.
namespace SingleInstance {

enum class Claim {
    claimed, ///< this process is the running Velto
    alreadyRunning, ///< another process owns the name
    noBus, ///< no session bus: run anyway, unreachable from outside
};

Claim claim(QDBusConnection bus);
/// Asks the running Velto to come forward; false when it does not answer.
bool activateRunning(QDBusConnection bus);

} // namespace SingleInstance

/// org.freedesktop.Application on Velto's object: `Activate` is a re-launch.
class ApplicationAdaptor : public QDBusAbstractAdaptor {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Application")

public:
    explicit ApplicationAdaptor(QObject* parent) : QDBusAbstractAdaptor(parent) { }

public slots:
    void Activate(const QVariantMap& platformData);
    void Open(const QStringList& uris, const QVariantMap& platformData);
    void ActivateAction(const QString& action, const QVariantList& parameter, const QVariantMap& platformData);

signals:
    void activated();
};
