#pragma once

#include <QObject>
#include <QString>
#include <QTimer>
#include <QVariantMap>
#include <functional>
#include <optional>

#include "CliArguments.h"
#include "StatusText.h"

namespace Cli {

/// What `velto status --follow` prints while Velto comes and goes: the status line of the
/// running Velto after every change, and one "not running" line while there is none. A
/// status bar started before Velto thus shows nothing until Velto appears, then follows
/// it, and survives its quitting. The same line is never printed twice in a row.
class StatusFollower : public QObject {
    Q_OBJECT

public:
    /// Every property by its bus name, or nothing when Velto does not answer.
    using Fetch = std::function<std::optional<QVariantMap>()>;

    StatusFollower(Format format, Fetch fetch, QObject* parent = nullptr);

    /// The first look: whether Velto owns its name on the bus now.
    void start(bool appOnBus);
    /// Velto took its name on the bus. It may not answer yet while it starts up: then it
    /// is asked again, less often each time.
    void appeared();
    /// Velto announced changed properties.
    void changed(const QVariantMap& properties);
    /// Velto left the bus.
    void gone();

    bool isFollowing() const { return m_status.has_value(); }
    /// The first wait before asking a starting Velto again; doubled after each miss.
    void setRetryInterval(std::chrono::milliseconds interval) { m_firstRetry = interval; }

signals:
    void line(const QString& text);

private:
    void ask();
    void print(const QString& text);

    Format m_format;
    Fetch m_fetch;
    std::optional<TimerStatus> m_status;
    bool m_appOnBus = false;
    QTimer m_retry;
    std::chrono::milliseconds m_firstRetry { 100 };
    std::chrono::milliseconds m_nextRetry { 100 };
    /// The line printed last; none yet at first.
    std::optional<QString> m_last;
};

} // namespace Cli
