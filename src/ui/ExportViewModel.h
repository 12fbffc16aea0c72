#pragma once

#include <QObject>
#include <QString>
#include <QtQml/qqmlregistration.h>
#include <functional>

class Calendar;
class Clock;
class SessionStore;

/// The Insights page's "Export…": asks for a file and writes the history to it as CSV, the
/// same document `velto export` writes. What happened is one line under the button.
class ExportViewModel : public QObject {
    Q_OBJECT
    /// How the last export went; empty before the first.
    Q_PROPERTY(QString message READ message NOTIFY messageChanged)
    Q_PROPERTY(bool failed READ failed NOTIFY messageChanged)

public:
    struct Dependencies {
        std::function<SessionStore&()> sessionStore;
        const Clock& clock;
        const Calendar& calendar;
        /// Asks the user for the file to write, starting at `suggestion`; empty when cancelled.
        /// The chooser asks before replacing a file.
        std::function<QString(const QString& suggestion)> chooseFile;
    };

    explicit ExportViewModel(Dependencies dependencies, QObject* parent = nullptr);

    QString message() const { return m_message; }
    bool failed() const { return m_failed; }

    Q_INVOKABLE void exportCsv();

signals:
    void messageChanged();

private:
    void say(const QString& message, bool failed);

    Dependencies m_deps;
    QString m_message;
    bool m_failed = false;
};
