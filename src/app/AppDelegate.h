#pragma once

#include <QList>
#include <QObject>
#include <QPointer>
#include <functional>
#include <memory>

class MiniTimerPopover;
class MiniTimerViewModel;
#include <QQuickWindow>
class ThemeManager;
class TimerManager;
class UpdateManager;
class ViewEngine;

/// The application's windows: the tray item with its popover, and any number of
/// dashboard windows. Closing the last dashboard never quits.
class AppDelegate : public QObject {
    Q_OBJECT

public:
    struct Dependencies {
        TimerManager& timer;
        ThemeManager& theme;
        MiniTimerViewModel& popoverModel;
        ViewEngine& views;
        std::function<UpdateManager&()> updateManager;
    };

    explicit AppDelegate(Dependencies dependencies, QObject* parent = nullptr);
    ~AppDelegate() override;

    /// Creates the tray item (or, without any tray, opens the popover as a window).
    void applicationDidFinishLaunching();
    /// A second start of Velto: the dashboard on Insights when no window shows, else the newest window comes forward.
    void applicationShouldHandleReopen(bool hasVisibleWindows);
    bool hasVisibleWindows() const;
    /// Opens a new dashboard window on `section` ("insights", "tags", "integrations", "settings").
    void openDashboard(const QString& section);

    MiniTimerPopover* miniTimer() const { return m_miniTimer.get(); }
    QQuickWindow* fullDashboardWindow() const { return m_fullDashboardWindow; }
    int openDashboardCount() const;

public slots:
    void showAbout();

signals:
    /// A dashboard window closed; the tray item and the timer go on.
    void dashboardWindowClosed();
    void quitRequested();

private:
    void handleDashboardWindowClosed();

    Dependencies m_deps;
    std::unique_ptr<MiniTimerPopover> m_miniTimer;
    QList<QPointer<QQuickWindow>> m_dashboards;
    QPointer<QQuickWindow> m_fullDashboardWindow;
};
