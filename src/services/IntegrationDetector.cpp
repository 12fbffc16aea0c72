#include "IntegrationDetector.h"

#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>

#include "platform/AppIds.h"

IntegrationDetector::IntegrationDetector(QDBusConnection bus, QObject* parent)
    : QObject(parent)
    , m_bus(std::move(bus))
{
    checkIfRunning();
    m_pollTimer.setInterval(pollIntervalMs);
    m_pollTimer.setTimerType(Qt::VeryCoarseTimer); // nothing depends on the exact second
    connect(&m_pollTimer, &QTimer::timeout, this, &IntegrationDetector::checkIfRunning);
    m_pollTimer.start();
}

void IntegrationDetector::checkIfRunning()
{
    if (!m_bus.isConnected()) {
        setCalmixRunning(false);
        return;
    }
    if (m_checkPending) // a bus that answers slowly must not pile up calls
        return;
    m_checkPending = true;
    // Asynchronous: a busy bus never stalls the interface.
    const QDBusMessage call = QDBusMessage::createMethodCall(QStringLiteral("org.freedesktop.DBus"),
        QStringLiteral("/org/freedesktop/DBus"), QStringLiteral("org.freedesktop.DBus"),
        QStringLiteral("NameHasOwner"));
    auto* watcher = new QDBusPendingCallWatcher(
        m_bus.asyncCall(QDBusMessage(call) << QString::fromLatin1(AppIds::calmix)), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [this](QDBusPendingCallWatcher* finished) {
        const QDBusPendingReply<bool> reply = *finished;
        m_checkPending = false;
        setCalmixRunning(!reply.isError() && reply.value());
        finished->deleteLater();
    });
}

void IntegrationDetector::setCalmixRunning(bool running)
{
    m_isCalmixRunning = running;
    emit isCalmixRunningChanged();
}
