#pragma once

#include <QAbstractListModel>
#include <QString>
#include <QtQml/qqmlregistration.h>
#include <array>

#include "services/HookRunner.h"

class Clock;

/// The "Commands" card: one row per timer event with the user's command line for it, and
/// what the last run of that command gave (a test or the real event), in one line.
///
/// Roles: `event` ("focus-started", ...), `title` ("Focus started"), `command`, `result`
/// (empty before the first run), `failed` (the last run did not exit with status 0) and
/// `running` (a test waits or runs).
class CommandsViewModel : public QAbstractListModel {
    Q_OBJECT

public:
    enum Role { EventRole = Qt::UserRole + 1, TitleRole, CommandRole, ResultRole, FailedRole, RunningRole };

    CommandsViewModel(HookRunner& runner, const Clock& clock, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QHash<int, QByteArray> roleNames() const override;

    /// Stores the command of `row`'s event; a blank one removes it.
    Q_INVOKABLE void setCommand(int row, const QString& command);
    /// Runs `command` once for `row`'s event, with a sample of that event; nothing when blank.
    Q_INVOKABLE void test(int row, const QString& command);

    /// "Exit status 0", "Exit status 127: sh: 1: foo: not found", "Stopped after 60 seconds" ...
    static QString resultText(const HookResult& result, std::chrono::milliseconds timeout);

private:
    struct Row {
        QString result;
        bool failed = false;
        int testsWaiting = 0;
    };
    void finished(const HookResult& result);
    static QString title(HookEvent event);

    HookRunner& m_runner;
    const Clock& m_clock;
    std::array<Row, allHookEvents.size()> m_rows;
};
