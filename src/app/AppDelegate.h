#pragma once

#include <QObject>
#include <QPointer>
#include <functional>
#include <memory>

#include <QQuickWindow>

class DialogWindows;
class MiniTimerPopover;
class MiniTimerViewModel;
class PopoverHost;
class Preferences;
class ThemeManager;
class TimerManager;
class UpdateManager;
class ViewEngine;

/// The application's windows: the tray item with its popover, and the one dashboard
/// window. Closing the dashboard never quits.
class AppDelegate : public QObject {
    Q_OBJECT

public:
    struct Dependencies {
        TimerManager& timer;
        ThemeManager& theme;
        MiniTimerViewModel& popoverModel;
        ViewEngine& views;
        DialogWindows& dialogs;
        std::function<UpdateManager&()> updateManager;
        Preferences& preferences;
    };

    /// Set once the no-tray note has been shown.
    static constexpr const char* trayNoteShownKey = "veltoTrayNoteShown";

    explicit AppDelegate(Dependencies dependencies, QObject* parent = nullptr);
    ~AppDelegate() override;

    /// Creates the tray item. Without any tray the popover opens as a window instead, which
    /// says once what a tray needs on GNOME; on Wayland the item then comes with the first
    /// StatusNotifierItem host.
    void applicationDidFinishLaunching();
    /// A second start of Velto: the dashboard on Insights when no window shows, else the newest window comes
    /// forward.
    void applicationShouldHandleReopen(bool hasVisibleWindows);
    bool hasVisibleWindows() const;
    /// Opens the dashboard on `section` ("insights", "tags", "integrations", "settings"): a
    /// new window, or the open one raised with that section selected.
    void openDashboard(const QString& section);

    /// The tray item; none while it waits for a tray host.
    MiniTimerPopover* miniTimer() const { return m_miniTimer.get(); }
    /// The window standing in for the tray item until a tray host comes.
    PopoverHost* noTrayPopover() const { return m_noTrayPopover.get(); }
    QQuickWindow* fullDashboardWindow() const { return qobject_cast<QQuickWindow*>(m_fullDashboardWindow); }

public slots:
    void showAbout();
    /// Shows the popover, unless it already shows.
    void showPopover();

signals:
    /// A dashboard window closed; the tray item and the timer go on.
    void dashboardWindowClosed();
    void quitRequested();

private:
    void createStatusItem();
    void showWithoutTray(PopoverHost& popover);
    void handleDashboardWindowClosed();

    Dependencies m_deps;
    std::unique_ptr<MiniTimerPopover> m_miniTimer;
    std::unique_ptr<PopoverHost> m_noTrayPopover;
    // A plain QWindow: a window that closes as the app quits reports it from ~QWindow, when it
    // is no QQuickWindow any more.
    QPointer<QWindow> m_fullDashboardWindow;
};
