#include "CommandsViewModel.h"

#include "platform/Clock.h"

CommandsViewModel::CommandsViewModel(HookRunner& runner, const Clock& clock, QObject* parent)
    : QAbstractListModel(parent)
    , m_runner(runner)
    , m_clock(clock)
{
    connect(&m_runner, &HookRunner::finished, this, &CommandsViewModel::finished);
}

int CommandsViewModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(allHookEvents.size());
}

QHash<int, QByteArray> CommandsViewModel::roleNames() const
{
    return { { EventRole, "event" }, { TitleRole, "title" }, { CommandRole, "command" },
        { ResultRole, "result" }, { FailedRole, "failed" }, { RunningRole, "running" } };
}

QVariant CommandsViewModel::data(const QModelIndex& index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return {};
    const HookEvent event = allHookEvents[std::size_t(index.row())];
    const Row& row = m_rows[std::size_t(index.row())];
    switch (role) {
    case EventRole:
        return hookEventName(event);
    case TitleRole:
        return title(event);
    case CommandRole:
        return m_runner.command(event);
    case ResultRole:
        return row.testsWaiting > 0 ? tr("Running…") : row.result;
    case FailedRole:
        return row.testsWaiting == 0 && row.failed;
    case RunningRole:
        return row.testsWaiting > 0;
    default:
        return {};
    }
}

QString CommandsViewModel::title(HookEvent event)
{
    switch (event) {
    case HookEvent::focusStarted:
        return tr("Focus started");
    case HookEvent::focusEnded:
        return tr("Focus ended");
    case HookEvent::breakStarted:
        return tr("Break started");
    case HookEvent::breakEnded:
        return tr("Break ended");
    case HookEvent::paused:
        return tr("Paused");
    case HookEvent::resumed:
        return tr("Resumed");
    case HookEvent::intervalCompleted:
        return tr("Interval completed");
    }
    return {};
}

void CommandsViewModel::setCommand(int row, const QString& command)
{
    if (row < 0 || row >= rowCount())
        return;
    const HookEvent event = allHookEvents[std::size_t(row)];
    if (m_runner.command(event) == command)
        return;
    m_runner.setCommand(event, command);
    emit dataChanged(index(row), index(row), { CommandRole });
}

void CommandsViewModel::test(int row, const QString& command)
{
    if (row < 0 || row >= rowCount() || command.trimmed().isEmpty())
        return;
    const HookEvent event = allHookEvents[std::size_t(row)];
    ++m_rows[std::size_t(row)].testsWaiting;
    emit dataChanged(index(row), index(row), { ResultRole, FailedRole, RunningRole });
    m_runner.runCommand(command, HookPayload::sample(event, m_clock.now()));
}

void CommandsViewModel::finished(const HookResult& result)
{
    const auto found = std::find(allHookEvents.begin(), allHookEvents.end(), result.event);
    if (found == allHookEvents.end())
        return;
    const int row = int(found - allHookEvents.begin());
    Row& entry = m_rows[std::size_t(row)];
    // The row shows the last run, a test's or the real event's; runs finish in the order asked for.
    if (entry.testsWaiting > 0)
        --entry.testsWaiting;
    entry.result = resultText(result, m_runner.timeout());
    entry.failed = result.outcome != HookResult::Outcome::exited || result.exitCode != 0;
    emit dataChanged(index(row), index(row), { ResultRole, FailedRole, RunningRole });
}

QString CommandsViewModel::resultText(const HookResult& result, std::chrono::milliseconds timeout)
{
    QString text;
    switch (result.outcome) {
    case HookResult::Outcome::exited:
        text = tr("Exit status %1").arg(result.exitCode);
        break;
    case HookResult::Outcome::signalled:
        text = tr("Ended by a signal");
        break;
    case HookResult::Outcome::timedOut:
        text = tr("Stopped after %n seconds", nullptr,
            int(std::chrono::duration_cast<std::chrono::seconds>(timeout).count()));
        break;
    case HookResult::Outcome::failedToStart:
        text = tr("Could not start");
        break;
    }
    if (!result.firstErrorLine.isEmpty())
        text += QStringLiteral(": ") + result.firstErrorLine;
    return text;
}
