#include "DialogWindows.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QFile>
#include <QQuickWindow>

#include "ViewEngine.h"
#include "services/UpdateCheckResult.h"

namespace {
/// The application's icon, where the program carries one (tests do not).
QUrl appIcon()
{
    static const QString path = QStringLiteral(":/velto/app-icon.svg");
    return QFile::exists(path) ? QUrl(QStringLiteral("qrc") + path) : QUrl();
}
} // namespace

DialogWindows::DialogWindows(ViewEngine& views, UrlOpener openUrl, QObject* parent)
    : QObject(parent)
    , m_views(views)
    , m_openUrl(openUrl ? std::move(openUrl) : UrlOpener(&QDesktopServices::openUrl))
{ }

DialogWindows::~DialogWindows()
{
    delete m_about.data();
    delete m_update.data();
}

QQuickWindow* DialogWindows::open(
    QPointer<QQuickWindow>& slot, const QString& rootFile, const QVariantMap& properties)
{
    // An open dialog is replaced, so it shows the newest content and takes the focus again.
    if (slot) {
        disconnect(slot, &QWindow::visibleChanged, nullptr, nullptr);
        delete slot.data();
    }
    QQuickWindow* window = m_views.createWindow(rootFile, properties);
    if (!window)
        return nullptr;
    connect(window, &QWindow::visibleChanged, window, [window](bool visible) {
        if (!visible)
            window->deleteLater();
    });
    slot = window;
    window->show();
    window->raise();
    window->requestActivate();
    return window;
}

void DialogWindows::showAbout()
{
    open(m_about, QStringLiteral("dialogs/AboutDialog.qml"),
        { { QStringLiteral("versionText"), tr("Version %1").arg(QCoreApplication::applicationVersion()) },
            { QStringLiteral("iconSource"), appIcon() } });
}

void DialogWindows::showUpdateResult(const UpdateCheckResult& result)
{
    const bool offersDownload = result.outcome() == UpdateCheckResult::Outcome::UpdateAvailable;
    QQuickWindow* window = open(m_update, QStringLiteral("dialogs/UpdateResultDialog.qml"),
        { { QStringLiteral("heading"), result.title() }, { QStringLiteral("message"), result.message() },
            { QStringLiteral("offersDownload"), offersDownload },
            { QStringLiteral("iconSource"), appIcon() } });
    if (!window)
        return;
    m_downloadPage = result.downloadPage();
    // Nothing else keeps a tray app's answer in view.
    window->setFlag(Qt::WindowStaysOnTopHint);
    connect(window, SIGNAL(downloadRequested()), this, SLOT(openDownloadPage()));
}

void DialogWindows::openDownloadPage()
{
    if (m_downloadPage.isValid())
        m_openUrl(m_downloadPage);
}
