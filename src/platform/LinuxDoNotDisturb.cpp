#include "LinuxDoNotDisturb.h"

#include <QDBusMessage>
#include <QDBusServiceWatcher>
#include <QXmlStreamReader>

#include "DBusCalls.h"
#include "DunstPauseHold.h"
#include "GnomeBannerHold.h"
#include "NotificationInhibitHold.h"
#include "NotificationServer.h"
#include "PlatformLogging.h"
#include "Preferences.h"

namespace {

struct ServerInterfaces {
    bool hasInhibit = false;
    bool hasDunstCommands = false;
};

ServerInterfaces readIntrospection(const QString& xml)
{
    ServerInterfaces found;
    QXmlStreamReader reader(xml);
    QString interfaceName;
    while (!reader.atEnd()) {
        if (reader.readNext() != QXmlStreamReader::StartElement)
            continue;
        const QStringView name = reader.attributes().value(QLatin1String("name"));
        if (reader.name() == QLatin1String("interface")) {
            interfaceName = name.toString();
            found.hasDunstCommands |= interfaceName == QLatin1String("org.dunstproject.cmd0");
        } else if (reader.name() == QLatin1String("method") && interfaceName == NotificationServer::service) {
            found.hasInhibit |= name == QLatin1String("Inhibit");
        }
    }
    return found;
}
} // namespace

LinuxDoNotDisturb::LinuxDoNotDisturb(Preferences& preferences, QDBusConnection bus, QObject* parent)
    : DoNotDisturb(parent)
    , m_preferences(preferences)
    , m_bus(std::move(bus))
{
    if (m_preferences.value(DunstPauseHold::pausedKey).isValid())
        m_leftovers.push_back(std::make_unique<DunstPauseHold>(m_preferences, m_bus));
    if (m_preferences.value(GnomeBannerHold::savedBannersKey).isValid()) {
        if (auto gnome = GnomeBannerHold::create(m_preferences))
            m_leftovers.push_back(std::move(gnome));
    }
    auto* serverWatcher = new QDBusServiceWatcher(
        NotificationServer::service, m_bus, QDBusServiceWatcher::WatchForOwnerChange, this);
    connect(
        serverWatcher, &QDBusServiceWatcher::serviceOwnerChanged, this, &LinuxDoNotDisturb::identifyServer);
    identifyServer();
    advance();
}

LinuxDoNotDisturb::~LinuxDoNotDisturb()
{
    for (const auto& leftover : m_leftovers)
        leftover->releaseBeforeQuit();
    if (m_backend)
        m_backend->releaseBeforeQuit();
}

void LinuxDoNotDisturb::hold()
{
    if (!m_wanted)
        m_holdFailed = false;
    m_wanted = true;
    advance();
}

void LinuxDoNotDisturb::release()
{
    m_wanted = false;
    advance();
}

void LinuxDoNotDisturb::whenReleased(QObject* context, std::function<void()> action)
{
    m_waiting.append({ context, std::move(action) });
    if (!m_busy && !m_applied)
        runWaitingActions();
}

void LinuxDoNotDisturb::identifyServer()
{
    const quint64 identification = ++m_identification;
    const QDBusMessage call = NotificationServer::call(QStringLiteral("GetServerInformation"));
    DBusCalls::call(m_bus, call, this, [this, identification](const QDBusMessage& reply) {
        if (identification != m_identification)
            return;
        if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty()) {
            // Unknown, or known to the bus but failing to start.
            const bool absent
                = reply.errorName() == QLatin1String("org.freedesktop.DBus.Error.ServiceUnknown")
                || reply.errorName().startsWith(QLatin1String("org.freedesktop.DBus.Error.Spawn."));
            if (!absent)
                qCWarning(lcDesktop) << "The notification server did not say who it is:"
                                     << reply.errorMessage();
            offerBackend(nullptr,
                absent ? tr("No notification server is running.")
                       : tr("The notification server does not answer."));
            return;
        }
        const QString serverName = reply.arguments().constFirst().toString();
        const QDBusMessage introspect
            = QDBusMessage::createMethodCall(NotificationServer::service, NotificationServer::path,
                QStringLiteral("org.freedesktop.DBus.Introspectable"), QStringLiteral("Introspect"));
        DBusCalls::call(m_bus, introspect, this, [this, identification, serverName](const QDBusMessage& xml) {
            if (identification == m_identification)
                chooseBackend(serverName, DBusCalls::firstArgument(xml).toString());
        });
    });
}

void LinuxDoNotDisturb::chooseBackend(const QString& serverName, const QString& introspection)
{
    const ServerInterfaces server = readIntrospection(introspection);
    if (server.hasInhibit) {
        offerBackend(std::make_unique<NotificationInhibitHold>(m_bus), {});
    } else if (serverName == QLatin1String("dunst") && server.hasDunstCommands) {
        offerBackend(std::make_unique<DunstPauseHold>(m_preferences, m_bus), {});
    } else if (serverName == QLatin1String("gnome-shell")) {
        QString whyNot;
        auto gnome = GnomeBannerHold::create(m_preferences, &whyNot);
        offerBackend(std::move(gnome), whyNot);
    } else {
        offerBackend(nullptr, tr("%1 offers no way to hold notifications back.").arg(serverName));
    }
}

void LinuxDoNotDisturb::offerBackend(std::unique_ptr<BannerHold> backend, const QString& unavailableReason)
{
    m_offeredBackend = std::move(backend);
    m_offeredReason = m_offeredBackend ? QString() : unavailableReason;
    m_offered = true;
    advance();
}

void LinuxDoNotDisturb::advance()
{
    if (m_busy)
        return;
    if (!m_leftovers.empty()) {
        m_busy = true;
        m_leftovers.front()->release([this](bool) {
            m_leftovers.pop_front();
            m_busy = false;
            advance();
        });
        return;
    }
    if (m_offered && m_applied) {
        // The way in use is replaced: what it holds is released first.
        m_busy = true;
        m_backend->release([this](bool) {
            m_busy = false;
            setApplied(false);
            advance();
        });
        return;
    }
    if (m_offered) {
        m_offered = false;
        const bool wasAvailable = available();
        const QString oldReason = m_unavailableReason;
        m_backend = std::move(m_offeredBackend);
        m_unavailableReason = m_offeredReason;
        if (wasAvailable != available() || oldReason != m_unavailableReason)
            emit availabilityChanged();
    }
    if (m_backend && m_wanted && !m_applied && !m_holdFailed) {
        m_busy = true;
        m_backend->hold([this](bool ok) {
            m_busy = false;
            m_holdFailed = !ok;
            setApplied(ok);
            advance();
        });
    } else if (m_backend && !m_wanted && m_applied) {
        m_busy = true;
        m_backend->release([this](bool) {
            m_busy = false;
            setApplied(false);
            advance();
        });
    } else if (!m_applied) {
        runWaitingActions();
    }
}

void LinuxDoNotDisturb::setApplied(bool applied)
{
    if (m_applied == applied)
        return;
    m_applied = applied;
    emit holdingChanged();
}

void LinuxDoNotDisturb::runWaitingActions()
{
    const auto waiting = std::exchange(m_waiting, {});
    for (const auto& [context, action] : waiting) {
        if (context)
            action();
    }
}
