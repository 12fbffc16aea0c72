#include "AppDelegate.h"

#include <QDBusConnection>
#include <QGuiApplication>
#include <QLoggingCategory>
#include <QQuickWindow>
#include <QScreen>
#include <QSystemTrayIcon>
#include <QVariant>

#include "platform/Preferences.h"
#include "platform/TrayHostWatch.h"
#include "statusbar/MiniTimerPopover.h"
#include "statusbar/PopoverHost.h"
#include "ui/DialogWindows.h"
#include "ui/MiniTimerViewModel.h"
#include "ui/ViewEngine.h"

Q_LOGGING_CATEGORY(lcApp, "velto.app")

AppDelegate::AppDelegate(Dependencies dependencies, QObject* parent)
    : QObject(parent)
    , m_deps(std::move(dependencies))
{
    connect(&m_deps.popoverModel, &MiniTimerViewModel::dashboardRequested, this, &AppDelegate::openDashboard);
}

AppDelegate::~AppDelegate()
{
    delete m_fullDashboardWindow.data();
}

void AppDelegate::applicationDidFinishLaunching()
{
    // Qt settles on a kind of tray item once, when the first is made. On Wayland only a
    // StatusNotifierItem host can show one, and a bar started after Velto would never see
    // it: so there the item waits for a host, with the window standing in meanwhile.
    if (QGuiApplication::platformName() != QLatin1String("xcb")) {
        auto* hosts = new TrayHostWatch(QDBusConnection::sessionBus(), this);
        if (!hosts->hostPresent()) {
            qCInfo(lcApp) << "No tray host yet; showing the timer in a window until one comes";
            m_noTrayPopover = std::make_unique<PopoverHost>(m_deps.views);
            showWithoutTray(*m_noTrayPopover);
            connect(hosts, &TrayHostWatch::hostAppeared, this, [this, hosts] {
                hosts->deleteLater();
                if (!m_miniTimer)
                    createStatusItem();
            });
            return;
        }
        delete hosts;
    }
    createStatusItem();
    // Plain GNOME has no tray at all: then the popover is a window, so Velto is never invisible.
    if (!QSystemTrayIcon::isSystemTrayAvailable()) {
        qCInfo(lcApp) << "No system tray; showing the timer in a window";
        showWithoutTray(m_miniTimer->popover());
    }
}

void AppDelegate::createStatusItem()
{
    m_miniTimer = std::make_unique<MiniTimerPopover>(
        MiniTimerPopover::Dependencies { m_deps.timer, m_deps.theme, m_deps.views, m_deps.updateManager });
    connect(m_miniTimer.get(), &MiniTimerPopover::quitRequested, this, &AppDelegate::quitRequested);
}

void AppDelegate::showWithoutTray(PopoverHost& popover)
{
    QString note;
    if (!m_deps.preferences.value(QLatin1String(trayNoteShownKey)).toBool()) {
        note = tr("Velto lives in the tray, and on GNOME a tray needs the AppIndicator extension.");
        m_deps.preferences.setValue(QLatin1String(trayNoteShownKey), true);
    }
    popover.showAsWindow(note);
}

void AppDelegate::showPopover()
{
    if (m_noTrayPopover && !m_miniTimer) {
        if (!m_noTrayPopover->isShown())
            m_noTrayPopover->showAsWindow();
        return;
    }
    if (m_miniTimer && !m_miniTimer->popover().isShown())
        m_miniTimer->togglePopover();
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
    return (m_fullDashboardWindow && m_fullDashboardWindow->isVisible())
        || (m_miniTimer && m_miniTimer->popover().isShown())
        || (m_noTrayPopover && m_noTrayPopover->isShown());
}

void AppDelegate::openDashboard(const QString& section)
{
    if (m_miniTimer)
        m_miniTimer->popover().close();
    if (m_noTrayPopover)
        m_noTrayPopover->close();
    // One dashboard: asked again, the open one comes forward on the section asked for.
    if (QWindow* open = m_fullDashboardWindow; open && open->isVisible()) {
        QMetaObject::invokeMethod(open, "showSection", Q_ARG(QVariant, section));
        if (open->visibility() == QWindow::Minimized)
            open->showNormal();
        open->raise();
        open->requestActivate();
        return;
    }
    QQuickWindow* window = m_deps.views.createWindow(
        QStringLiteral("DashboardWindow.qml"), { { QStringLiteral("initialSection"), section } });
    if (!window) {
        qCWarning(lcApp) << "Cannot open the dashboard";
        return;
    }
    connect(
        window, &QWindow::visibleChanged, this, [this, closed = static_cast<QWindow*>(window)](bool visible) {
            if (!visible) {
                closed->deleteLater();
                if (m_fullDashboardWindow == closed)
                    handleDashboardWindowClosed();
            }
        });
    if (QScreen* screen = QGuiApplication::primaryScreen())
        window->setPosition(
            screen->availableGeometry().center() - QPoint(window->width() / 2, window->height() / 2));
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
    m_deps.dialogs.showAbout();
}
