#pragma once

#include <QDBusConnection>
#include <QSet>
#include <QTimer>
#include <chrono>
#include <functional>
#include <memory>
#include <optional>

#include "IdleMonitor.h"

class Clock;
class IdleTimeReader;

/// Idleness on the Linux desktop, from the first source that answers: GNOME's
/// `org.gnome.Mutter.IdleMonitor` watches, else `org.freedesktop.ScreenSaver`'s
/// `GetSessionIdleTime` (milliseconds, as KDE Plasma answers) read every few seconds, else
/// the reader `openFallback` gives (the X11 screensaver extension), read the same way, and
/// opened only when the others are missing. Idle times below
/// zero or above a day are not believed: they are ignored with one log line.
class LinuxIdleMonitor final : public IdleMonitor {
    Q_OBJECT

public:
    /// How often idleness is read where no source announces it, while the user is active.
    static constexpr std::chrono::milliseconds activePollInterval { 15000 };
    /// How often it is read while the user is idle, so that the return is noticed soon.
    static constexpr std::chrono::milliseconds idlePollInterval { 1000 };
    /// Longer idle times are taken for nonsense.
    static constexpr std::chrono::hours longestBelievableIdleTime { 24 };

    using OpenReader = std::function<std::unique_ptr<IdleTimeReader>()>;

    LinuxIdleMonitor(const Clock& clock, QDBusConnection bus = QDBusConnection::sessionBus(),
        OpenReader openFallback = {}, QObject* parent = nullptr);
    ~LinuxIdleMonitor() override;

    bool available() const override { return m_source != Source::None && m_source != Source::Unknown; }
    void watch(int thresholdMinutes) override;
    void stop() override;

private slots:
    void onWatchFired(uint id);

private:
    enum class Source { Unknown, None, Mutter, ScreenSaver, Reader };

    void findSource();
    void setSource(Source source);
    void start();
    void addMutterWatch(const QString& method, const QVariantList& arguments, uint* id);
    void removeMutterWatch(uint* id);
    void poll();
    /// One reading from a polled source; an empty one (no answer) changes nothing.
    void polled(std::optional<std::chrono::milliseconds> idle);
    std::optional<std::chrono::milliseconds> believable(const QVariant& milliseconds, const char* source);
    void becameIdle(std::chrono::milliseconds idleFor);
    void becameActive();

    const Clock& m_clock;
    QDBusConnection m_bus;
    OpenReader m_openFallback;
    std::unique_ptr<IdleTimeReader> m_reader;
    Source m_source = Source::Unknown;
    std::optional<std::chrono::minutes> m_threshold;
    bool m_idle = false;
    bool m_warnedNonsense = false;
    QTimer m_poll;
    uint m_idleWatch = 0;
    uint m_activeWatch = 0;
    QSet<uint> m_firedEarly;
    /// Watches are added and removed asynchronously: answers for an older `watch` are dropped.
    quint64 m_generation = 0;
};
