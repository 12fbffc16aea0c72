#pragma once

#include <QMenu>
#include <QObject>
#include <QSystemTrayIcon>
#include <functional>
#include <memory>

#include "LiveIcon.h"
#include "PopoverHost.h"
#include "StatusIconModel.h"

class ThemeManager;
class TimerManager;
class UpdateManager;
class ViewEngine;

/// The tray item and its popover. The item shows the clock face while no interval
/// runs and the live countdown while one does, in the focus or break colour; a left
/// click toggles the popover, a right click opens the menu. The menu is the item's
/// context menu: StatusNotifierItem hosts draw it themselves from its dbusmenu export,
/// XEmbed trays get it popped up at the pointer.
class MiniTimerPopover : public QObject {
    Q_OBJECT

public:
    struct Dependencies {
        TimerManager& timer;
        ThemeManager& theme;
        ViewEngine& views;
        /// Created when the menu is first built, not at launch.
        std::function<UpdateManager&()> updateManager;
    };

    explicit MiniTimerPopover(Dependencies dependencies, QObject* parent = nullptr);
    ~MiniTimerPopover() override;

    PopoverHost& popover() { return m_popover; }
    QSystemTrayIcon& statusItem() { return m_statusItem; }
    QMenu& statusMenu() { return m_menu; }
    void togglePopover();
    /// The tooltip text for the current state.
    QString toolTip() const;

signals:
    void quitRequested();

private:
    void updateIcon();
    void buildStatusMenu();
    /// Brings the menu's entries up to date as it is about to show; the first time starts the
    /// update manager, which then keeps them current.
    void refreshStatusMenu();
    void showUpdateState();

    Dependencies m_deps;
    LiveIcon m_icon;
    QMenu m_menu;
    QSystemTrayIcon m_statusItem;
    PopoverHost m_popover;
    QAction* m_checkForUpdates = nullptr;
    QAction* m_autoUpdates = nullptr;
    UpdateManager* m_updates = nullptr;
    StatusIconModel m_shown;
    QRect m_shownSlot;
    bool m_hasIcon = false;
};
