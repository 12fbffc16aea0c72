#include "AppDelegate.h"

#include <QApplication>
#include <QGuiApplication>
#include <QLoggingCategory>
#include <QMessageBox>
#include <QQuickWindow>
#include <QScreen>
#include <QSystemTrayIcon>

#include "statusbar/MiniTimerPopover.h"
#include "ui/MiniTimerViewModel.h"
#include "ui/ViewEngine.h"

Q_LOGGING_CATEGORY(lcApp, "velto.app")

AppDelegate::AppDelegate(Dependencies dependencies, QObject* parent) : QObject(parent), m_deps(std::move(dependencies))
{
    connect(&m_deps.popoverModel, &MiniTimerViewModel::dashboardRequested, this, &AppDelegate::openDashboard);
}

AppDelegate::~AppDelegate()
{
    for (const QPointer<QQuickWindow>& window : std::as_const(m_dashboards))
        delete window.data();
}

void AppDelegate::applicationDidFinishLaunching()
{
    m_miniTimer = std::make_unique<MiniTimerPopover>(
        MiniTimerPopover::Dependencies { m_deps.timer, m_deps.theme, m_deps.views, m_deps.updateManager });
    connect(m_miniTimer.get(), &MiniTimerPopover::quitRequested, this, &AppDelegate::quitRequested);
    // Plain GNOME has no tray at all: then the popover is an ordinary window, so Velto is never invisible.
    if (!QSystemTrayIcon::isSystemTrayAvailable()) {
        qCInfo(lcApp) << "No system tray; showing the timer in a window";
        m_miniTimer->popover().showAsWindow();
    }
}

void AppDelegate::applicationShouldHandleReopen(bool hasVisibleWindows)
{
    if (!hasVisibleWindows) {
        openDashboard(QStringLiteral("insights"));
        return;
    }
    if (m_fullDashboardWindow) {
        m_fullDashboardWindow->raise();
        m_fullDashboardWindow->requestActivate();
    }
}

bool AppDelegate::hasVisibleWindows() const
{
    for (const QPointer<QQuickWindow>& window : m_dashboards) {
        if (window && window->isVisible())
            return true;
    }
    return m_miniTimer && m_miniTimer->popover().isShown();
}

int AppDelegate::openDashboardCount() const
{
    int count = 0;
    for (const QPointer<QQuickWindow>& window : m_dashboards)
        count += window && window->isVisible();
    return count;
}

void AppDelegate::openDashboard(const QString& section)
{
    if (m_miniTimer)
        m_miniTimer->popover().close();
    QQuickWindow* window = m_deps.views.createWindow(QStringLiteral("DashboardWindow.qml"),
                                                     { { QStringLiteral("initialSection"), section } });
    if (!window) {
        qCWarning(lcApp) << "Cannot open the dashboard";
        return;
    }
    connect(window, &QWindow::visibleChanged, this, [this, window](bool visible) {
        if (!visible) {
            window->deleteLater();
            handleDashboardWindowClosed();
        }
    });
    if (QScreen* screen = QGuiApplication::primaryScreen())
        window->setPosition(screen->availableGeometry().center() - QPoint(window->width() / 2, window->height() / 2));
    m_dashboards.removeAll(nullptr);
    m_dashboards.append(window);
    m_fullDashboardWindow = window;
    window->show();
    window->raise();
    window->requestActivate();
}

void AppDelegate::handleDashboardWindowClosed()
{
    m_fullDashboardWindow = nullptr;
    emit dashboardWindowClosed();
}

void AppDelegate::showAbout()
{
    QMessageBox about;
    about.setWindowTitle(tr("About Velto"));
    about.setIconPixmap(QApplication::windowIcon().pixmap(64, 64));
    about.setText(QStringLiteral("<b>Velto</b>"));
    about.setInformativeText(tr("Version %1\nA focus timer for your desktop.").arg(QApplication::applicationVersion()));
    about.exec();
}
