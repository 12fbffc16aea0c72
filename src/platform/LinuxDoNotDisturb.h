#pragma once

#include <QDBusConnection>
#include <QList>
#include <QPointer>
#include <deque>
#include <memory>

#include "DoNotDisturb.h"

class BannerHold;
class Preferences;

/// Do Not Disturb on the Linux desktop. The notification server's identity picks the way:
/// `Inhibit` where the server has it (KDE Plasma), dunst's pause, or GNOME's `show-banners`
/// setting. Asked again whenever another server takes the notification name. Requests are
/// carried out one after another, so a release always reaches the desktop after the hold it
/// undoes. What a crashed run left held (dunst paused, banners off) is released at start.
/// Leaving the process releases what is held, waiting a moment at most.
class LinuxDoNotDisturb final : public DoNotDisturb {
    Q_OBJECT

public:
    explicit LinuxDoNotDisturb(Preferences& preferences, QDBusConnection bus = QDBusConnection::sessionBus(),
        QObject* parent = nullptr);
    ~LinuxDoNotDisturb() override;

    bool available() const override { return m_backend != nullptr; }
    QString unavailableReason() const override { return m_unavailableReason; }
    bool holding() const override { return m_applied; }
    void hold() override;
    void release() override;
    void whenReleased(QObject* context, std::function<void()> action) override;

private:
    void identifyServer();
    void chooseBackend(const QString& serverName, const QString& introspection);
    void offerBackend(std::unique_ptr<BannerHold> backend, const QString& unavailableReason);
    /// Carries out the next step towards what was asked, unless one is under way.
    void advance();
    void setApplied(bool applied);
    void runWaitingActions();

    Preferences& m_preferences;
    QDBusConnection m_bus;
    std::unique_ptr<BannerHold> m_backend;
    QString m_unavailableReason;
    /// The outcome of the latest look at the server, put in place once nothing is held.
    std::unique_ptr<BannerHold> m_offeredBackend;
    QString m_offeredReason;
    bool m_offered = false;
    /// What a crashed run left held, released before anything else.
    std::deque<std::unique_ptr<BannerHold>> m_leftovers;
    quint64 m_identification = 0;
    bool m_wanted = false;
    bool m_applied = false;
    bool m_busy = false;
    /// A hold the desktop refused is not tried again until the next `hold`.
    bool m_holdFailed = false;
    QList<QPair<QPointer<QObject>, std::function<void()>>> m_waiting;
};
