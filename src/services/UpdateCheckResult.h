#pragma once

#include <QCoreApplication>
#include <QString>
#include <QUrl>

/// The outcome of one update check, with the texts the user is shown.
class UpdateCheckResult {
    Q_GADGET
    Q_DECLARE_TR_FUNCTIONS(UpdateCheckResult)
    Q_PROPERTY(Outcome outcome READ outcome CONSTANT)
    Q_PROPERTY(Failure failure READ failure CONSTANT)
    Q_PROPERTY(QString latestVersion READ latestVersion CONSTANT)
    Q_PROPERTY(QString currentVersion READ currentVersion CONSTANT)
    Q_PROPERTY(QUrl downloadPage READ downloadPage CONSTANT)
    Q_PROPERTY(QString title READ title CONSTANT)
    Q_PROPERTY(QString message READ message CONSTANT)

public:
    enum class Outcome { UpToDate, UpdateAvailable, Failed };
    Q_ENUM(Outcome)
    enum class Failure {
        None,
        Unreachable, ///< no connection, or the transfer broke off
        TimedOut,
        ServerError, ///< the server answered with an error status
        Unreadable, ///< not an appcast, no usable item, or too large
    };
    Q_ENUM(Failure)

    UpdateCheckResult() = default;
    static UpdateCheckResult upToDate(const QString& currentVersion, const QString& latestVersion = {});
    static UpdateCheckResult updateAvailable(
        const QString& currentVersion, const QString& latestVersion, const QUrl& downloadPage);
    static UpdateCheckResult failed(Failure failure, const QString& currentVersion);

    Outcome outcome() const { return m_outcome; }
    Failure failure() const { return m_failure; }
    /// The newest version the feed names; empty when the check failed or the feed lists none.
    QString latestVersion() const { return m_latestVersion; }
    QString currentVersion() const { return m_currentVersion; }
    /// Where the newer version can be downloaded (http or https); empty unless an update is available.
    QUrl downloadPage() const { return m_downloadPage; }

    /// A short heading for the dialog.
    QString title() const;
    /// One or two sentences: the versions, or why the check failed.
    QString message() const;

private:
    Outcome m_outcome = Outcome::Failed;
    Failure m_failure = Failure::Unreachable;
    QString m_currentVersion;
    QString m_latestVersion;
    QUrl m_downloadPage;
};
