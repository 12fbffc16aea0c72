#pragma once

#include <QObject>
#include <set>

class Notifier;

/// Tells the user when Velto cannot save a file: once per run and file while it keeps the
/// unsaved part in memory and tries again, and at quit when that part is lost after all.
class SaveFailureReporter : public QObject {
    Q_OBJECT

public:
    enum class What { history, settings };

    explicit SaveFailureReporter(Notifier& notifier, QObject* parent = nullptr);

    /// Reports the first failure of `what` with its reason.
    void reportFailure(What what, const QString& reason);
    /// At quit, when the last try failed too: one line on standard error (where a session
    /// manager's journal collects it) and a notification while the desktop session is still there.
    void reportLost(What what, const QString& reason);

private:
    Notifier& m_notifier;
    std::set<What> m_reported;
};
