#include "LinuxScreenLockWatcher.h"

#include <QDBusMessage>
#include <QDBusObjectPath>

#include "Clock.h"
#include "DBusCalls.h"
#include "PlatformLogging.h"

namespace {
const QString kLogind = QStringLiteral("org.freedesktop.login1");
const QString kSessionInterface = QStringLiteral("org.freedesktop.login1.Session");
const QString kLockedHint = QStringLiteral("LockedHint");
} // namespace

LinuxScreenLockWatcher::LinuxScreenLockWatcher(
    const Clock& clock, QDBusConnection systemBus, QDBusConnection sessionBus, QObject* parent)
    : ScreenLockWatcher(parent)
    , m_clock(clock)
    , m_systemBus(std::move(systemBus))
{
    m_settle.setSingleShot(true);
    m_settle.setInterval(settleTime);
    connect(&m_settle, &QTimer::timeout, this, &LinuxScreenLockWatcher::settle);

    // Bound to the services' names: another client on the bus cannot fake a lock.
    for (const QString& service :
        { QStringLiteral("org.freedesktop.ScreenSaver"), QStringLiteral("org.gnome.ScreenSaver") })
        sessionBus.connect(service, QString(), service, QStringLiteral("ActiveChanged"), this,
            SLOT(onScreenSaverActiveChanged(bool)));

    if (!m_systemBus.isConnected())
        return;
    const QString sessionId = qEnvironmentVariable("XDG_SESSION_ID", QStringLiteral("auto"));
    QDBusMessage call = QDBusMessage::createMethodCall(kLogind, QStringLiteral("/org/freedesktop/login1"),
        QStringLiteral("org.freedesktop.login1.Manager"), QStringLiteral("GetSession"));
    call << sessionId;
    DBusCalls::call(m_systemBus, call, this, [this, sessionId](const QDBusMessage& reply) {
        const QVariant path = DBusCalls::firstArgument(reply);
        if (!path.canConvert<QDBusObjectPath>() || path.value<QDBusObjectPath>().path().isEmpty()) {
            qCInfo(lcDesktop) << "No logind session" << sessionId
                              << "to watch for locks:" << reply.errorMessage();
            return;
        }
        watchLogindSession(path.value<QDBusObjectPath>().path());
    });
}

void LinuxScreenLockWatcher::watchLogindSession(const QString& sessionPath)
{
    m_sessionPath = sessionPath;
    m_systemBus.connect(
        kLogind, sessionPath, kSessionInterface, QStringLiteral("Lock"), this, SLOT(onLogindLock()));
    m_systemBus.connect(
        kLogind, sessionPath, kSessionInterface, QStringLiteral("Unlock"), this, SLOT(onLogindUnlock()));
    m_systemBus.connect(kLogind, sessionPath, QStringLiteral("org.freedesktop.DBus.Properties"),
        QStringLiteral("PropertiesChanged"), this,
        SLOT(onSessionPropertiesChanged(QString, QVariantMap, QStringList)));
    readLockedHint();
}

void LinuxScreenLockWatcher::readLockedHint()
{
    DBusCalls::call(m_systemBus,
        DBusCalls::propertyGet(kLogind, m_sessionPath, kSessionInterface, kLockedHint), this,
        [this](const QDBusMessage& reply) {
            const QVariant hint = DBusCalls::firstArgument(reply);
            if (hint.userType() == QMetaType::Bool)
                sourceSaid(hint.toBool());
        });
}

void LinuxScreenLockWatcher::onLogindLock()
{
    sourceSaid(true);
}

void LinuxScreenLockWatcher::onLogindUnlock()
{
    sourceSaid(false);
}

void LinuxScreenLockWatcher::onSessionPropertiesChanged(
    const QString& interface, const QVariantMap& changed, const QStringList& invalidated)
{
    if (interface != kSessionInterface)
        return;
    const QVariant hint = changed.value(kLockedHint);
    if (hint.userType() == QMetaType::Bool)
        sourceSaid(hint.toBool());
    else if (invalidated.contains(kLockedHint))
        readLockedHint();
}

void LinuxScreenLockWatcher::onScreenSaverActiveChanged(bool active)
{
    sourceSaid(active);
}

void LinuxScreenLockWatcher::sourceSaid(bool locked)
{
    // Several sources tell of the same change: only the first moves anything.
    if (locked == (m_settle.isActive() ? m_heard : m_locked))
        return;
    // The change began with the first report that left the settled state.
    if (!m_settle.isActive())
        m_heardSince = m_clock.now();
    m_heard = locked;
    m_settle.start();
}

void LinuxScreenLockWatcher::settle()
{
    if (m_heard == m_locked)
        return;
    m_locked = m_heard;
    if (m_locked) {
        m_lockedSince = m_heardSince;
        emit locked(m_lockedSince);
    } else {
        emit unlocked(m_lockedSince, std::max(0.0, m_heardSince.secondsSince(m_lockedSince)));
    }
    emit lockedChanged();
}
