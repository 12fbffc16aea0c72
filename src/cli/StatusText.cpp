#include "StatusText.h"

#include <QCoreApplication>
#include <QJsonDocument>
#include <QJsonObject>
#include <algorithm>

#include "timer/ClockText.h"
#include "timer/TimerState.h"

namespace Cli {
namespace {

bool isKnown(uint state)
{
    return state <= static_cast<uint>(TimerState::longBreak);
}

QString stateTitle(uint state)
{
    return isKnown(state) ? Velto::stateTitle(static_cast<TimerState>(state))
                          : QCoreApplication::translate("Cli", "Unknown");
}

QString todayText(const TimerStatus& status)
{
    return QCoreApplication::translate("Cli", "sessions today: %1, focus %2")
        .arg(status.dailySessions)
        .arg(durationText(wholeMinutes(status.focusTimeToday)));
}

/// "Focus 24:13, running, tag Reading; sessions today: 3, focus 1h 15m".
QString textLine(const TimerStatus& status)
{
    QString line = stateTitle(status.state);
    if (status.state != 0) {
        line += QLatin1Char(' ') + clockText(status.timeRemaining) + QStringLiteral(", ")
            + (status.isRunning ? QCoreApplication::translate("Cli", "running")
                                : QCoreApplication::translate("Cli", "paused"));
    }
    if (!status.currentTag.isEmpty())
        line += QStringLiteral(", ") + QCoreApplication::translate("Cli", "tag %1").arg(status.currentTag);
    return line + QStringLiteral("; ") + todayText(status);
}

QString tooltip(const TimerStatus& status)
{
    if (status.state == 0)
        return QCoreApplication::translate("Cli", "Velto is idle; %1").arg(todayText(status));
    const QString left = status.isRunning
        ? QCoreApplication::translate("Cli", "%1: %2 left")
              .arg(stateTitle(status.state), clockText(status.timeRemaining))
        : QCoreApplication::translate("Cli", "%1: paused, %2 left")
              .arg(stateTitle(status.state), clockText(status.timeRemaining));
    return left + QStringLiteral("; ") + todayText(status);
}

QString compact(const QJsonObject& object)
{
    return QString::fromUtf8(QJsonDocument(object).toJson(QJsonDocument::Compact));
}

} // namespace

void TimerStatus::apply(const QVariantMap& properties)
{
    const auto take = [&properties](const char* name, auto& field) {
        const auto it = properties.constFind(QLatin1String(name));
        if (it != properties.cend())
            field = it->value<std::remove_reference_t<decltype(field)>>();
    };
    take("State", state);
    take("TimeRemaining", timeRemaining);
    take("IsRunning", isRunning);
    take("Progress", progress);
    take("CurrentTag", currentTag);
    take("DailySessions", dailySessions);
    take("FocusTimeToday", focusTimeToday);
}

QString stateName(uint state)
{
    return isKnown(state) ? Velto::rawValue(static_cast<TimerState>(state)) : QStringLiteral("unknown");
}

QString formatStatus(const TimerStatus& status, Format format)
{
    switch (format) {
    case Format::text:
        break;
    case Format::json:
        return compact({
            { QStringLiteral("state"), stateName(status.state) },
            { QStringLiteral("stateValue"), static_cast<qint64>(status.state) },
            { QStringLiteral("timeRemaining"), status.timeRemaining },
            { QStringLiteral("isRunning"), status.isRunning },
            { QStringLiteral("progress"), status.progress },
            { QStringLiteral("currentTag"), status.currentTag },
            { QStringLiteral("dailySessions"), status.dailySessions },
            { QStringLiteral("focusTimeToday"), status.focusTimeToday },
            { QStringLiteral("countdown"), clockText(status.timeRemaining) },
        });
    case Format::waybar:
        return compact({
            { QStringLiteral("text"), clockText(status.timeRemaining) },
            { QStringLiteral("tooltip"), tooltip(status) },
            { QStringLiteral("class"), stateName(status.state) },
            // Whole percents: waybar picks its format-icons by them.
            { QStringLiteral("percentage"), qRound(std::clamp(status.progress, 0.0, 1.0) * 100.0) },
        });
    }
    return textLine(status);
}

QString formatNotRunning(Format format)
{
    const QString stopped = QStringLiteral("stopped");
    switch (format) {
    case Format::text:
        break;
    case Format::json:
        return compact({ { QStringLiteral("state"), stopped } });
    case Format::waybar:
        return compact({
            { QStringLiteral("text"), QString() },
            { QStringLiteral("tooltip"), notRunningText() },
            { QStringLiteral("class"), stopped },
            { QStringLiteral("percentage"), 0 },
        });
    }
    return notRunningText();
}

QString notRunningText()
{
    return QCoreApplication::translate("Cli", "Velto is not running.");
}

} // namespace Cli
