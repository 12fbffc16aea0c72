#include "beacon/Reachability.h"

#include "beacon/BeaconLog.h"
#include "beacon/BeaconNotificationCenter.h"
#include "beacon/BeaconSerialQueue.h"

namespace beacon {
namespace {
std::string_view kindName(ReachabilityError::Kind kind)
{
    switch (kind) {
    case ReachabilityError::Kind::failedToCreateWithAddress:
        return "failedToCreateWithAddress";
    case ReachabilityError::Kind::failedToCreateWithHostname:
        return "failedToCreateWithHostname";
    case ReachabilityError::Kind::unableToSetCallback:
        return "unableToSetCallback";
    case ReachabilityError::Kind::unableToSetDispatchQueue:
        return "unableToSetDispatchQueue";
    case ReachabilityError::Kind::unableToGetFlags:
        break;
    }
    return "unableToGetFlags";
}

std::string errorText(ReachabilityError::Kind kind, std::error_code code)
{
    std::string text(kindName(kind));
    if (code)
        text.append(" (").append(code.message()).append(")");
    return text;
}
} // namespace

ReachabilityError::ReachabilityError(Kind kind, std::error_code code)
    : std::runtime_error(errorText(kind, code))
    , m_kind(kind)
    , m_code(code)
{ }

std::shared_ptr<Reachability> Reachability::create(std::shared_ptr<BeaconNetworkStateSource> source,
    std::shared_ptr<BeaconSerialQueue> notificationQueue, BeaconNotificationCenter* notificationCenter)
{
    if (!source)
        throw ReachabilityError(ReachabilityError::Kind::failedToCreateWithAddress,
            std::make_error_code(std::errc::invalid_argument));
    try {
        return std::shared_ptr<Reachability>(
            new Reachability(std::move(source), std::move(notificationQueue), notificationCenter));
    } catch (const std::system_error& error) {
        throw ReachabilityError(ReachabilityError::Kind::failedToCreateWithAddress, error.code());
    }
}

Reachability::Reachability(std::shared_ptr<BeaconNetworkStateSource> source,
    std::shared_ptr<BeaconSerialQueue> notificationQueue, BeaconNotificationCenter* notificationCenter)
    : m_source(std::move(source))
    , m_notificationCenter(
          notificationCenter ? notificationCenter : &BeaconNotificationCenter::defaultCenter())
    , m_reachabilitySerialQueue(std::make_shared<BeaconSerialQueue>("com.beacon.reachability"))
    , m_notificationQueue(notificationQueue
              ? std::move(notificationQueue)
              : std::make_shared<BeaconSerialQueue>("com.beacon.reachability.notify"))
{ }

Reachability::~Reachability()
{
    if (isNotifierRunning())
        m_source->stopWatching();
}

void Reachability::setWhenReachable(Callback callback)
{
    const std::lock_guard lock(m_callbackLock);
    m_whenReachable = std::move(callback);
}

void Reachability::setWhenUnreachable(Callback callback)
{
    const std::lock_guard lock(m_callbackLock);
    m_whenUnreachable = std::move(callback);
}

std::unique_ptr<RegistrationToken> Reachability::subscribe(Callback whenReachable, Callback whenUnreachable)
{
    std::uint64_t id = 0;
    {
        const std::lock_guard lock(m_callbackLock);
        id = m_nextSubscriberId++;
        m_subscribers.push_back({ id, std::move(whenReachable), std::move(whenUnreachable) });
    }
    return std::make_unique<RegistrationToken>([weak = weak_from_this(), id] {
        const auto self = weak.lock();
        if (!self)
            return;
        const std::lock_guard lock(self->m_callbackLock);
        std::erase_if(
            self->m_subscribers, [id](const Subscriber& subscriber) { return subscriber.id == id; });
    });
}

bool Reachability::isNotifierRunning() const
{
    const std::lock_guard lock(m_notifierLock);
    return m_notifierRunning;
}

void Reachability::setRunning(bool running)
{
    const std::lock_guard lock(m_notifierLock);
    m_notifierRunning = running;
}

void Reachability::startNotifier()
{
    const std::lock_guard startStop(m_startStopLock);
    if (isNotifierRunning())
        return;
    // The source holds neither the queue nor this object, so it never ends up destroying
    // either from its own thread.
    auto onChange = [queue = m_reachabilitySerialQueue->poster(), weak = weak_from_this()] {
        queue.post([weak] {
            const auto self = weak.lock();
            if (!self || !self->isNotifierRunning())
                return;
            if (const std::error_code error = self->updateFlags())
                debugLog("Unable to read the network reachability flags: " + error.message());
        });
    };
    if (const std::error_code error = m_source->startWatching(std::move(onChange))) {
        m_source->stopWatching();
        throw ReachabilityError(ReachabilityError::Kind::unableToSetCallback, error);
    }
    // Running before the first read, so that a change arriving meanwhile is not dropped.
    setRunning(true);
    std::error_code readError;
    m_reachabilitySerialQueue->sync([&] { readError = updateFlags(); });
    if (readError)
        throw ReachabilityError(ReachabilityError::Kind::unableToGetFlags, readError);
}

void Reachability::stopNotifier()
{
    const std::lock_guard startStop(m_startStopLock);
    m_source->stopWatching();
    setRunning(false);
}

std::error_code Reachability::updateFlags()
{
    ReachabilityFlags current;
    if (const std::error_code error = m_source->readFlags(current)) {
        m_source->stopWatching();
        setRunning(false);
        return error;
    }
    {
        const std::lock_guard lock(m_flagsLock);
        if (m_flags == current)
            return {};
        m_flags = current;
    }
    notify();
    return {};
}

void Reachability::notify()
{
    m_notificationQueue->post([weak = weak_from_this()] {
        const auto self = weak.lock();
        if (!self)
            return;
        std::vector<Callback> callbacks;
        const bool reachable = self->connection() != Connection::unavailable;
        {
            const std::lock_guard lock(self->m_callbackLock);
            callbacks.push_back(reachable ? self->m_whenReachable : self->m_whenUnreachable);
            for (const Subscriber& subscriber : self->m_subscribers)
                callbacks.push_back(reachable ? subscriber.whenReachable : subscriber.whenUnreachable);
        }
        // Called outside the lock: a callback may subscribe or unsubscribe.
        for (const Callback& callback : callbacks) {
            if (callback)
                callback(*self);
        }
        self->m_notificationCenter->post({ changedNotification, self.get() });
    });
}

std::optional<ReachabilityFlags> Reachability::currentFlags()
{
    if (!flags()) {
        m_reachabilitySerialQueue->sync([this] {
            if (const std::error_code error = updateFlags())
                debugLog("Unable to read the network reachability flags: " + error.message());
        });
    }
    return flags();
}

Reachability::Connection Reachability::connection()
{
    return connectionFor(currentFlags());
}

std::optional<Reachability::Connection> Reachability::knownConnection()
{
    const std::optional<ReachabilityFlags> current = currentFlags();
    if (current && current->contains(ReachabilityFlag::assumed))
        return std::nullopt;
    return connectionFor(current);
}

std::string Reachability::description()
{
    return std::string(toString(connection()));
}

std::optional<ReachabilityFlags> Reachability::flags() const
{
    const std::lock_guard lock(m_flagsLock);
    return m_flags;
}

void Reachability::flushForTesting()
{
    m_reachabilitySerialQueue->flushForTesting();
    m_notificationQueue->flushForTesting();
}

Reachability::Connection Reachability::connectionFor(std::optional<ReachabilityFlags> flags)
{
    if (!flags || !flags->contains(ReachabilityFlag::reachable))
        return Connection::unavailable;
    const bool comesUpByItself = (flags->contains(ReachabilityFlag::connectionOnTraffic)
                                     || flags->contains(ReachabilityFlag::connectionOnDemand))
        && !flags->contains(ReachabilityFlag::interventionRequired);
    if (!flags->contains(ReachabilityFlag::connectionRequired) || comesUpByItself)
        return Connection::wifi;
    return Connection::unavailable;
}

std::string_view toString(Reachability::Connection connection)
{
    switch (connection) {
    case Reachability::Connection::wifi:
        return "WiFi";
    case Reachability::Connection::cellular:
        return "Cellular";
    case Reachability::Connection::unavailable:
        break;
    }
    return "No Connection";
}

} // namespace beacon
