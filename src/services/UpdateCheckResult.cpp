#include "UpdateCheckResult.h"

UpdateCheckResult UpdateCheckResult::upToDate(const QString& currentVersion, const QString& latestVersion)
{
    UpdateCheckResult result;
    result.m_outcome = Outcome::UpToDate;
    result.m_failure = Failure::None;
    result.m_currentVersion = currentVersion;
    result.m_latestVersion = latestVersion;
    return result;
}

UpdateCheckResult UpdateCheckResult::updateAvailable(
    const QString& currentVersion, const QString& latestVersion, const QUrl& downloadPage)
{
    UpdateCheckResult result = upToDate(currentVersion, latestVersion);
    result.m_outcome = Outcome::UpdateAvailable;
    result.m_downloadPage = downloadPage;
    return result;
}

UpdateCheckResult UpdateCheckResult::failed(Failure failure, const QString& currentVersion)
{
    UpdateCheckResult result;
    result.m_outcome = Outcome::Failed;
    result.m_failure = failure == Failure::None ? Failure::Unreachable : failure;
    result.m_currentVersion = currentVersion;
    return result;
}

QString UpdateCheckResult::title() const
{
    switch (m_outcome) {
    case Outcome::UpToDate:
        return tr("You're up to date");
    case Outcome::UpdateAvailable:
        return tr("A new version of Velto is available");
    case Outcome::Failed:
        break;
    }
    return tr("Update check failed");
}

QString UpdateCheckResult::message() const
{
    switch (m_outcome) {
    case Outcome::UpToDate:
        return tr("Velto %1 is the newest version available.").arg(m_currentVersion);
    case Outcome::UpdateAvailable:
        return tr("Velto %1 is available. You have %2.").arg(m_latestVersion, m_currentVersion);
    case Outcome::Failed:
        break;
    }
    switch (m_failure) {
    case Failure::TimedOut:
        return tr("The update server did not answer in time.");
    case Failure::ServerError:
        return tr("The update server did not provide the update information.");
    case Failure::Unreadable:
        return tr("The update information is not readable.");
    case Failure::None:
    case Failure::Unreachable:
        break;
    }
    return tr("The update server could not be reached.");
}
