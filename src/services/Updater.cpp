#include "Updater.h"

#include <QLoggingCategory>
#include <system_error>

#include "Appcast.h"
#include "platform/Clock.h"
#include "platform/PreferenceValues.h"
#include "platform/Preferences.h"

Q_LOGGING_CATEGORY(lcUpdates, "velto.updates")

namespace {

UpdateCheckResult assess(const http::Response& response, const QString& currentVersion)
{
    using Failure = UpdateCheckResult::Failure;
    switch (response.status) {
    case http::Response::Status::received:
        break;
    case http::Response::Status::timedOut:
        return UpdateCheckResult::failed(Failure::TimedOut, currentVersion);
    case http::Response::Status::tooLarge:
        return UpdateCheckResult::failed(Failure::Unreadable, currentVersion);
    case http::Response::Status::failed:
    case http::Response::Status::cancelled:
        return UpdateCheckResult::failed(Failure::Unreachable, currentVersion);
    }
    if (response.httpStatus < 200 || response.httpStatus > 299)
        return UpdateCheckResult::failed(Failure::ServerError, currentVersion);
    const std::optional<Appcast> appcast = parseAppcast(QByteArray::fromStdString(response.body));
    if (!appcast)
        return UpdateCheckResult::failed(Failure::Unreadable, currentVersion);
    const std::optional<AppcastItem> newest = appcast->newest();
    if (!newest) {
        // An empty feed has simply published nothing yet; items we cannot use are a broken feed.
        return appcast->skippedItems > 0 ? UpdateCheckResult::failed(Failure::Unreadable, currentVersion)
                                         : UpdateCheckResult::upToDate(currentVersion);
    }
    const QVersionNumber running = QVersionNumber::fromString(currentVersion).normalized();
    if (newest->version > running)
        return UpdateCheckResult::updateAvailable(currentVersion, newest->versionText, newest->page);
    return UpdateCheckResult::upToDate(currentVersion, newest->versionText);
}

std::string failureDetail(const http::Response& response)
{
    if (!response.error.empty())
        return response.error;
    if (response.httpStatus < 200 || response.httpStatus > 299)
        return "HTTP status " + std::to_string(response.httpStatus);
    return "the feed is not a usable appcast";
}

} // namespace

QUrl UpdaterSettings::defaultFeedUrl()
{
    return QUrl(QStringLiteral(VELTO_UPDATE_FEED));
}

QString UpdaterSettings::defaultVersion()
{
    return QStringLiteral(VELTO_VERSION);
}

Updater::Updater(Preferences& preferences, const Clock& clock, UpdaterSettings settings, QObject* parent)
    : QObject(parent)
    , m_preferences(preferences)
    , m_clock(clock)
    , m_settings(std::move(settings))
    , m_automaticallyDownloads(
          PreferenceValues::boolean(preferences.value(QLatin1String(automaticDownloadsKey))))
{
    // Where only the automatic-update choice is stored, checking follows it: the one menu switch sets both.
    const QVariant checks = preferences.value(QLatin1String(automaticChecksKey));
    m_automaticallyChecks = checks.isValid() ? PreferenceValues::boolean(checks) : m_automaticallyDownloads;
    http::initialise(); // here, before any worker transfers
    m_scheduleTimer.setTimerType(Qt::VeryCoarseTimer); // a check within the hour is soon enough
    connect(&m_scheduleTimer, &QTimer::timeout, this, &Updater::checkIfDue);
}

Updater::~Updater()
{
    if (m_check && m_check->worker.joinable()) {
        m_check->cancellation->cancel();
        m_check->worker.join();
    }
}

void Updater::startUpdater()
{
    if (m_started)
        return;
    m_started = true;
    emit canCheckForUpdatesChanged();
    updateSchedule();
}

void Updater::setAutomaticallyChecksForUpdates(bool on)
{
    m_preferences.setValue(QLatin1String(automaticChecksKey), on);
    if (m_automaticallyChecks == on)
        return;
    m_automaticallyChecks = on;
    emit automaticallyChecksForUpdatesChanged();
    updateSchedule();
}

void Updater::setAutomaticallyDownloadsUpdates(bool on)
{
    m_preferences.setValue(QLatin1String(automaticDownloadsKey), on);
    if (m_automaticallyDownloads == on)
        return;
    m_automaticallyDownloads = on;
    emit automaticallyDownloadsUpdatesChanged();
}

void Updater::checkForUpdates()
{
    if (!m_started)
        return;
    if (m_check) {
        m_check->userInitiated = true; // the user hears the answer of the check under way
        return;
    }
    startCheck(true);
}

void Updater::updateSchedule()
{
    if (!m_started || !m_automaticallyChecks) {
        m_scheduleTimer.stop();
        return;
    }
    if (!m_scheduleTimer.isActive()) {
        m_scheduleTimer.start(m_settings.scheduleTick);
        // Not at once: whoever switched checks on may still be setting up.
        QMetaObject::invokeMethod(this, &Updater::checkIfDue, Qt::QueuedConnection);
    }
}

void Updater::checkIfDue()
{
    if (!m_started || !m_automaticallyChecks || m_check)
        return;
    const Instant now = m_clock.now();
    const std::optional<QDateTime> stored
        = PreferenceValues::date(m_preferences.value(QLatin1String(lastCheckTimeKey)));
    if (stored && stored->isValid()) {
        const double elapsed = now.secondsSince(Instant::fromDateTime(*stored));
        const double interval = std::chrono::duration<double>(checkInterval).count();
        // A last check in the future means the clock was set back: check rather than wait for it.
        if (elapsed >= 0 && elapsed < interval)
            return;
    }
    startCheck(false);
}

void Updater::startCheck(bool userInitiated)
{
    m_preferences.setValue(QLatin1String(lastCheckTimeKey), m_clock.now().toDateTime());
    m_check = std::make_unique<RunningCheck>();
    m_check->userInitiated = userInitiated;
    http::Request request;
    request.url = m_settings.feedUrl.toString(QUrl::FullyEncoded).toStdString();
    request.userAgent = "Velto/" + m_settings.currentVersion.toStdString();
    request.acceptEncoding = ""; // whatever libcurl can decode
    request.redirects = http::Redirects::followHttps;
    request.limits = m_settings.limits;
    emit canCheckForUpdatesChanged();

    // The destructor cancels and joins this thread, so `this` outlives it; a result posted
    // but not yet delivered is dropped with the object.
    const auto work = [this, request = std::move(request), cancellation = m_check->cancellation,
                          currentVersion = m_settings.currentVersion] {
        const http::Response response = http::perform(request, cancellation.get());
        if (response.status == http::Response::Status::cancelled)
            return;
        const UpdateCheckResult result = assess(response, currentVersion);
        if (result.outcome() == UpdateCheckResult::Outcome::Failed)
            qCInfo(lcUpdates) << "Update check failed:" << failureDetail(response).c_str();
        QMetaObject::invokeMethod(
            this, [this, result] { finishCheck(result); }, Qt::QueuedConnection);
    };
    try {
        m_check->worker = std::thread(work);
    } catch (const std::system_error& error) {
        qCWarning(lcUpdates) << "Update check not started:" << error.what();
        const UpdateCheckResult result
            = UpdateCheckResult::failed(UpdateCheckResult::Failure::Unreachable, m_settings.currentVersion);
        QMetaObject::invokeMethod(
            this, [this, result] { finishCheck(result); }, Qt::QueuedConnection);
    }
}

void Updater::finishCheck(const UpdateCheckResult& result)
{
    const std::unique_ptr<RunningCheck> check = std::move(m_check);
    if (check->worker.joinable())
        check->worker.join(); // it ends right after posting this
    emit canCheckForUpdatesChanged();
    emit checkFinished(result, check->userInitiated);
}
