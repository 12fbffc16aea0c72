#pragma once

#include <QMenu>
#include <QObject>
#include <QSystemTrayIcon>
#include <functional>
#include <memory>

#include "PopoverHost.h"
#include "StatusIconModel.h"

class ThemeManager;
class TimerManager;
class UpdateManager;
class ViewEngine;

/// The tray item and its popover. The item shows the clock face while no interval
/// runs and the live countdown while one does, in the focus or break colour; a left
/// click toggles the popover, a right click opens the menu.
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
    void togglePopover();
    /// The tooltip text for the current state.
    QString toolTip() const;

signals:
    void quitRequested();

private:
    void updateIcon();
    /// Builds the menu anew (the first build starts the update manager) and pops it up.
    void showStatusMenu();

    Dependencies m_deps;
    QSystemTrayIcon m_statusItem;
    PopoverHost m_popover;
    std::unique_ptr<QMenu> m_menu;
    StatusIconModel m_shown;
    QRect m_shownSlot;
    bool m_hasIcon = false;
};
