#include "LinuxIdleMonitor.h"

#include <QDBusMessage>
#include <algorithm>

#include "Clock.h"
#include "DBusCalls.h"
#include "IdleTimeReader.h"
#include "PlatformLogging.h"

using namespace std::chrono;

namespace {
const QString kMutter = QStringLiteral("org.gnome.Mutter.IdleMonitor");
const QString kMutterPath = QStringLiteral("/org/gnome/Mutter/IdleMonitor/Core");
const QString kScreenSaver = QStringLiteral("org.freedesktop.ScreenSaver");
const QString kScreenSaverPath = QStringLiteral("/org/freedesktop/ScreenSaver");

QDBusMessage mutterCall(const QString& method, const QVariantList& arguments = {})
{
    QDBusMessage call = QDBusMessage::createMethodCall(kMutter, kMutterPath, kMutter, method);
    call.setArguments(arguments);
    return call;
}

QDBusMessage sessionIdleTimeCall()
{
    return QDBusMessage::createMethodCall(
        kScreenSaver, kScreenSaverPath, kScreenSaver, QStringLiteral("GetSessionIdleTime"));
}
} // namespace

LinuxIdleMonitor::LinuxIdleMonitor(
    const Clock& clock, QDBusConnection bus, OpenReader openFallback, QObject* parent)
    : IdleMonitor(parent)
    , m_clock(clock)
    , m_bus(std::move(bus))
    , m_openFallback(std::move(openFallback))
{
    connect(&m_poll, &QTimer::timeout, this, &LinuxIdleMonitor::poll);
    findSource();
}

LinuxIdleMonitor::~LinuxIdleMonitor() = default;

void LinuxIdleMonitor::watch(int thresholdMinutes)
{
    m_threshold = minutes(std::clamp(thresholdMinutes, minThresholdMinutes, maxThresholdMinutes));
    start();
}

void LinuxIdleMonitor::stop()
{
    m_threshold.reset();
    start();
}

void LinuxIdleMonitor::findSource()
{
    QDBusMessage hasOwner = QDBusMessage::createMethodCall(QStringLiteral("org.freedesktop.DBus"),
        QStringLiteral("/org/freedesktop/DBus"), QStringLiteral("org.freedesktop.DBus"),
        QStringLiteral("NameHasOwner"));
    hasOwner << kMutter;
    DBusCalls::call(m_bus, hasOwner, this, [this](const QDBusMessage& mutter) {
        if (DBusCalls::firstArgument(mutter).toBool()) {
            m_bus.connect(
                kMutter, kMutterPath, kMutter, QStringLiteral("WatchFired"), this, SLOT(onWatchFired(uint)));
            setSource(Source::Mutter);
            return;
        }
        DBusCalls::call(m_bus, sessionIdleTimeCall(), this, [this](const QDBusMessage& screenSaver) {
            if (screenSaver.type() == QDBusMessage::ReplyMessage) {
                setSource(Source::ScreenSaver);
                return;
            }
            if (!m_reader && m_openFallback)
                m_reader = m_openFallback();
            setSource(m_reader && m_reader->idleTime() ? Source::Reader : Source::None);
        });
    });
}

void LinuxIdleMonitor::setSource(Source source)
{
    m_source = source;
    if (source == Source::None)
        qCInfo(lcDesktop) << "No source of idle time on this desktop";
    emit availabilityChanged();
    start();
}

void LinuxIdleMonitor::start()
{
    ++m_generation;
    m_idle = false;
    m_firedEarly.clear();
    m_poll.stop();
    removeMutterWatch(&m_idleWatch);
    removeMutterWatch(&m_activeWatch);
    if (!m_threshold || !available())
        return;
    if (m_source == Source::Mutter) {
        addMutterWatch(QStringLiteral("AddIdleWatch"),
            { QVariant::fromValue(qulonglong(duration_cast<milliseconds>(*m_threshold).count())) },
            &m_idleWatch);
        return;
    }
    m_poll.start(activePollInterval);
    poll();
}

void LinuxIdleMonitor::addMutterWatch(const QString& method, const QVariantList& arguments, uint* id)
{
    DBusCalls::call(m_bus, mutterCall(method, arguments), this,
        [this, id, method, generation = m_generation](const QDBusMessage& reply) {
            const QVariant watch = DBusCalls::firstArgument(reply);
            if (watch.userType() != QMetaType::UInt) {
                qCWarning(lcDesktop) << "Mutter's idle monitor refused" << method << reply.errorMessage();
                return;
            }
            if (generation != m_generation) { // asked for by a `watch` that has been replaced
                uint stale = watch.toUInt();
                removeMutterWatch(&stale);
                return;
            }
            *id = watch.toUInt();
            if (m_firedEarly.remove(*id))
                onWatchFired(*id);
        });
}

void LinuxIdleMonitor::removeMutterWatch(uint* id)
{
    if (*id == 0)
        return;
    m_bus.send(mutterCall(QStringLiteral("RemoveWatch"), { QVariant::fromValue(*id) }));
    *id = 0;
}

void LinuxIdleMonitor::onWatchFired(uint id)
{
    if (id == 0)
        return;
    if (id == m_activeWatch) {
        m_activeWatch = 0;
        becameActive();
    } else if (id != m_idleWatch) {
        // The watch can fire before the answer that names it has been handled.
        m_firedEarly.insert(id);
    } else if (!m_idle) {
        DBusCalls::call(m_bus, mutterCall(QStringLiteral("GetIdletime")), this,
            [this, generation = m_generation](const QDBusMessage& reply) {
                if (generation != m_generation || m_idle)
                    return;
                // The watch firing is itself the proof of idleness: an unbelievable idle time only
                // loses the precision of when it began.
                const auto idle = believable(DBusCalls::firstArgument(reply), "Mutter");
                becameIdle(std::max(idle.value_or(*m_threshold), duration_cast<milliseconds>(*m_threshold)));
                addMutterWatch(QStringLiteral("AddUserActiveWatch"), {}, &m_activeWatch);
            });
    }
}

void LinuxIdleMonitor::poll()
{
    if (m_source == Source::Reader) {
        polled(m_reader->idleTime());
        return;
    }
    DBusCalls::call(
        m_bus, sessionIdleTimeCall(), this, [this, generation = m_generation](const QDBusMessage& reply) {
            if (generation == m_generation)
                polled(believable(DBusCalls::firstArgument(reply), "the screensaver"));
        });
}

void LinuxIdleMonitor::polled(std::optional<milliseconds> idle)
{
    if (!idle || !m_threshold)
        return;
    if (!m_idle && *idle >= *m_threshold) {
        becameIdle(*idle);
        m_poll.start(idlePollInterval);
    } else if (m_idle && *idle < *m_threshold) {
        becameActive();
        m_poll.start(activePollInterval);
    }
}

std::optional<milliseconds> LinuxIdleMonitor::believable(const QVariant& value, const char* source)
{
    if (!value.isValid())
        return std::nullopt; // no answer: nothing to believe or doubt
    bool isNumber = false;
    // Unsigned values past the signed range come out negative here, and count as nonsense too.
    const qlonglong ms = value.toLongLong(&isNumber);
    if (isNumber && ms >= 0 && milliseconds(ms) <= longestBelievableIdleTime) {
        m_warnedNonsense = false;
        return milliseconds(ms);
    }
    if (!std::exchange(m_warnedNonsense, true))
        qCWarning(lcDesktop) << "Ignoring an idle time of" << value.toString() << "ms from" << source;
    return std::nullopt;
}

void LinuxIdleMonitor::becameIdle(milliseconds idleFor)
{
    m_idle = true;
    emit idleSince(m_clock.now().addSeconds(-duration<double>(idleFor).count()));
}

void LinuxIdleMonitor::becameActive()
{
    m_idle = false;
    emit active();
}
