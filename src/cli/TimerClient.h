#pragma once

#include <QDBusConnection>
#include <QObject>
#include <QVariantMap>
#include <optional>

namespace Cli {

/// The running Velto's timer interface, seen from outside. Never starts Velto:
/// the bus would launch it for a call to its name, so every call asks it not to.
class TimerClient : public QObject {
    Q_OBJECT

public:
    explicit TimerClient(QDBusConnection bus, QObject* parent = nullptr);

    /// The bus is there and Velto owns its name on it.
    bool appIsRunning() const;
    /// Calls `method` of the timer interface; on failure `error` says why.
    bool call(const QString& method, const QVariantList& arguments, QString* error);
    /// Every property by its bus name, or nothing (with `error`) when Velto does not answer.
    std::optional<QVariantMap> properties(QString* error);
    /// Starts reporting changes through `changed`, and Velto's leaving the bus through `appQuit`.
    bool watch();

signals:
    /// The changed properties; all of them again when Velto only said some became invalid.
    void changed(const QVariantMap& properties);
    void appQuit();

private slots:
    void onPropertiesChanged(const QString& interface, const QVariantMap& changed, const QStringList& invalidated);

private:
    QDBusMessage methodCall(const QString& interface, const QString& method) const;

    QDBusConnection m_bus;
};

} // namespace Cli
