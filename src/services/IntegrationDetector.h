#pragma once

#include <QDBusConnection>
#include <QObject>
#include <QTimer>

/// Tells the views whether the companion music app Calmix is running: it runs
/// while its name has an owner on the session bus. Checked at creation and then
/// every five seconds; every check publishes its answer, changed or not.
class IntegrationDetector : public QObject {
    Q_OBJECT
    Q_PROPERTY(bool isCalmixRunning READ isCalmixRunning NOTIFY isCalmixRunningChanged)

public:
    static constexpr int pollIntervalMs = 5000;

    explicit IntegrationDetector(
        QDBusConnection bus = QDBusConnection::sessionBus(), QObject* parent = nullptr);

    bool isCalmixRunning() const { return m_isCalmixRunning; }
    /// Asks the bus now; the answer arrives asynchronously.
    void checkIfRunning();

signals:
    void isCalmixRunningChanged();

private:
    void setCalmixRunning(bool running);

    QDBusConnection m_bus;
    QTimer m_pollTimer;
    bool m_isCalmixRunning = false;
    bool m_checkPending = false;
};
