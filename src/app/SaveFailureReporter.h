#pragma once

#include <QObject>
#include <QSet>

class Notifier;

/// Tells the user, once per run and per file, that Velto cannot save it: the data is
/// kept in memory and saved as soon as saving works again, but the user should know.
class SaveFailureReporter : public QObject {
    Q_OBJECT

public:
    explicit SaveFailureReporter(Notifier& notifier, QObject* parent = nullptr);

    /// Reports the first failure of `what` ("history", "settings") with its reason.
    void reportFailure(const QString& what, const QString& reason);

private:
    Notifier& m_notifier;
    QSet<QString> m_reported;
};
