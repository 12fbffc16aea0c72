#pragma once

#include <QString>
#include <QTimer>
#include <chrono>
#include <functional>

/// What the owner of a file knows about its last save: whether something still waits
/// to be written, the reason the last save failed, and a timer that tries again (once a
/// minute by default) until a save succeeds.
class SaveRetry {
public:
    /// `retry` runs on each tick of the timer while a save is outstanding.
    explicit SaveRetry(std::function<void()> retry);

    bool pending() const { return m_pending; }
    const QString& error() const { return m_error; }
    void setInterval(std::chrono::milliseconds interval) { m_timer.setInterval(interval); }

    /// Takes a save's outcome (`error` empty on success) and starts or stops the retries.
    /// True when `pending()` or `error()` changed.
    bool record(bool saved, const QString& error);

private:
    bool m_pending = false;
    QString m_error;
    QTimer m_timer;
};
