#pragma once

#include <QDBusConnection>
#include <QDBusPendingReply>
#include <QObject>
#include <QVariantMap>
#include <functional>
#include <optional>

class TimerInterface;

namespace Cli {

/// The running Velto's timer interface, seen from outside. Never starts Velto: the bus
/// would launch it for a call to its name, so calls go to the connection that owns the
/// name now, which the bus cannot start.
class TimerClient : public QObject {
    Q_OBJECT

public:
    /// One method of the timer interface on the proxy generated from its XML,
    /// e.g. `[](TimerInterface& timer) { return timer.Pause(); }`.
    using Method = std::function<QDBusPendingReply<>(TimerInterface&)>;

    explicit TimerClient(QDBusConnection bus, QObject* parent = nullptr);
    ~TimerClient() override;

    /// The bus is there and Velto owns its name on it.
    bool appIsRunning() const;
    /// Calls `method` on the running Velto and waits for the answer; on failure `error` says
    /// why (nothing when Velto is not running).
    bool call(const Method& method, QString* error);
    /// Every property by its bus name, or nothing (with `error`, as above) when Velto does not answer.
    std::optional<QVariantMap> properties(QString* error);
    /// Starts reporting changes through `changed`, and Velto's coming onto and leaving the
    /// bus through `appStarted` and `appQuit`.
    bool watch();

signals:
    /// The changed properties; all of them again when Velto only said some became invalid.
    void changed(const QVariantMap& properties);
    void appStarted();
    void appQuit();

private slots:
    void onPropertiesChanged(
        const QString& interface, const QVariantMap& changed, const QStringList& invalidated);

private:
    /// The connection that owns Velto's name now, or empty.
    QString runningOwner() const;

    QDBusConnection m_bus;
};

} // namespace Cli
