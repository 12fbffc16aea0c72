#include "HookRunner.h"

#include <QDir>
#include <QLoggingCategory>
#include <QProcess>
#include <csignal>
#include <unistd.h>

#include "platform/Preferences.h"

// Each run is logged at info level and up; QT_LOGGING_RULES="velto.hooks.debug=true" adds the starts.
Q_LOGGING_CATEGORY(lcHooks, "velto.hooks", QtInfoMsg)

namespace {
void signalGroup(qint64 leader, int signal)
{
    // The leader is our unreaped child, so its id still names its group and nothing else.
    // Should it have no group of its own after all, it alone is stopped.
    if (leader > 0 && ::kill(static_cast<pid_t>(-leader), signal) != 0)
        ::kill(static_cast<pid_t>(leader), signal);
}
} // namespace

HookRunner::HookRunner(Preferences& preferences, const Calendar& calendar, QObject* parent)
    : QObject(parent)
    , m_preferences(preferences)
    , m_calendar(calendar)
{
    qRegisterMetaType<HookResult>();
    m_deadline.setSingleShot(true);
    m_deadline.setTimerType(Qt::PreciseTimer); // a coarse timer may fire 5 % early
    m_killTimer.setSingleShot(true);
    connect(&m_deadline, &QTimer::timeout, this, &HookRunner::stopForTimeout);
    connect(&m_killTimer, &QTimer::timeout, this, [this] {
        if (m_process && m_process->state() != QProcess::NotRunning)
            signalGroup(m_process->processId(), SIGKILL);
    });
}

HookRunner::~HookRunner()
{
    m_waiting.clear();
    if (!m_process)
        return;
    m_process->disconnect(this);
    if (m_process->state() != QProcess::NotRunning)
        signalGroup(m_process->processId(), SIGKILL);
    delete m_process; // reaps the shell, which has just been killed
}

QString HookRunner::command(HookEvent event) const
{
    const QVariant stored = m_preferences.value(preferenceKey()).toMap().value(hookEventName(event));
    return stored.typeId() == QMetaType::QString ? stored.toString() : QString();
}

void HookRunner::setCommand(HookEvent event, const QString& command)
{
    QVariantMap commands = m_preferences.value(preferenceKey()).toMap();
    const QString name = hookEventName(event);
    if (command.trimmed().isEmpty()) {
        if (!commands.contains(name))
            return;
        commands.remove(name);
    } else {
        if (commands.value(name) == command)
            return;
        commands.insert(name, command);
    }
    if (commands.isEmpty())
        m_preferences.remove(preferenceKey());
    else
        m_preferences.setValue(preferenceKey(), commands);
}

void HookRunner::run(const HookPayload& payload)
{
    runCommand(command(payload.event), payload);
}

void HookRunner::runCommand(const QString& command, const HookPayload& payload)
{
    if (command.trimmed().isEmpty())
        return;
    if (m_waiting.size() >= maxWaiting) {
        qCWarning(lcHooks, "Too many commands waiting; skipped the one for %s",
            qUtf8Printable(hookEventName(payload.event)));
        return;
    }
    m_waiting.push_back(Job { payload.event, command, payload.json(m_calendar),
        payload.environment(m_calendar, QProcessEnvironment::systemEnvironment()) });
    if (!m_process)
        startNext();
}

void HookRunner::startNext()
{
    if (m_process || m_waiting.empty())
        return;
    m_current = std::move(m_waiting.front());
    m_waiting.pop_front();
    m_errorHead.clear();
    m_errorHeadDone = false;
    m_timedOut = false;

    m_process = new QProcess(this);
    m_process->setProgram(QStringLiteral("/bin/sh"));
    m_process->setArguments({ QStringLiteral("-c"), m_current.command });
    m_process->setProcessEnvironment(m_current.environment);
    m_process->setWorkingDirectory(QDir::homePath());
    m_process->setStandardOutputFile(QProcess::nullDevice());
    // A session of its own: the command and everything it starts form one process group that a
    // timeout can stop at once, and none of it can read the terminal Velto was started from.
    m_process->setChildProcessModifier([] { ::setsid(); });
    connect(m_process, &QProcess::readyReadStandardError, this, &HookRunner::readErrorOutput);
    connect(m_process, &QProcess::finished, this, [this](int exitCode, QProcess::ExitStatus status) {
        readErrorOutput();
        complete(m_timedOut                     ? HookResult::Outcome::timedOut
                : status == QProcess::CrashExit ? HookResult::Outcome::signalled
                                                : HookResult::Outcome::exited,
            exitCode);
    });
    connect(m_process, &QProcess::errorOccurred, this, [this](QProcess::ProcessError error) {
        if (error == QProcess::FailedToStart) {
            m_errorHead = m_process->errorString().toUtf8();
            m_errorHeadDone = true;
            complete(HookResult::Outcome::failedToStart, -1);
        }
        // A write error only means the command did not read its input: no matter.
    });
    qCDebug(lcHooks, "Running the command for %s", qUtf8Printable(hookEventName(m_current.event)));
    m_process->start(QIODevice::ReadWrite);
    if (!m_process)
        return; // failed at once, and completed
    // Buffered by QProcess and written as the pipe takes it; the end of input follows.
    m_process->write(m_current.input);
    m_process->closeWriteChannel();
    m_deadline.start(m_timeout);
}

void HookRunner::readErrorOutput()
{
    if (!m_process)
        return;
    // Read everything that arrived, so nothing piles up, and keep only the start of the first line.
    const QByteArray chunk = m_process->readAllStandardError();
    if (m_errorHeadDone)
        return;
    const qsizetype end = chunk.indexOf('\n');
    m_errorHead += chunk.left(end < 0 ? chunk.size() : end);
    if (end >= 0 || m_errorHead.size() >= errorLineLimit) {
        m_errorHead.truncate(errorLineLimit);
        m_errorHeadDone = true;
    }
}

void HookRunner::stopForTimeout()
{
    if (!m_process || m_process->state() == QProcess::NotRunning)
        return;
    m_timedOut = true;
    qCWarning(lcHooks, "The command for %s still ran after %lld ms and is stopped",
        qUtf8Printable(hookEventName(m_current.event)), static_cast<long long>(m_timeout.count()));
    signalGroup(m_process->processId(), SIGTERM);
    m_killTimer.start(killGrace);
}

void HookRunner::complete(HookResult::Outcome outcome, int exitCode)
{
    if (!m_process)
        return;
    m_deadline.stop();
    m_killTimer.stop();
    HookResult result;
    result.event = m_current.event;
    result.command = m_current.command;
    result.outcome = outcome;
    result.exitCode = outcome == HookResult::Outcome::exited ? exitCode : -1;
    result.firstErrorLine = QString::fromUtf8(m_errorHead).trimmed();

    // "The command for focus-ended (notify-send Done) exited with status 127: sh: 1: notify-send: not found"
    const QString subject
        = QStringLiteral("The command for %1 (%2)").arg(hookEventName(result.event), result.command);
    const QString detail
        = result.firstErrorLine.isEmpty() ? QString() : QStringLiteral(": ") + result.firstErrorLine;
    switch (outcome) {
    case HookResult::Outcome::exited:
        if (exitCode == 0)
            qCInfo(lcHooks, "%s finished%s", qUtf8Printable(subject), qUtf8Printable(detail));
        else
            qCWarning(lcHooks, "%s exited with status %d%s", qUtf8Printable(subject), exitCode,
                qUtf8Printable(detail));
        break;
    case HookResult::Outcome::signalled:
        qCWarning(lcHooks, "%s was ended by a signal%s", qUtf8Printable(subject), qUtf8Printable(detail));
        break;
    case HookResult::Outcome::timedOut:
        qCWarning(lcHooks, "%s was stopped after running too long%s", qUtf8Printable(subject),
            qUtf8Printable(detail));
        break;
    case HookResult::Outcome::failedToStart:
        qCWarning(lcHooks, "%s could not start%s", qUtf8Printable(subject), qUtf8Printable(detail));
        break;
    }

    m_process->disconnect(this);
    m_process->deleteLater();
    m_process = nullptr;
    emit finished(result);
    // The next one from the event loop, so a handler of `finished` never runs inside another.
    QMetaObject::invokeMethod(this, &HookRunner::startNext, Qt::QueuedConnection);
}
