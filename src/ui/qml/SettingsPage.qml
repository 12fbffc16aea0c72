import QtQuick
import Velto

// The Settings section: the timer's lengths and auto-start, what marks the end of
// an interval, usage statistics, and opening at login. Settings decides; this binds.
Column {
    id: page
    /// The scroller the page sits in, kept on the control the keyboard moves to.
    property Flickable viewport: null
    readonly property color focusColor: Colors.focusColor
    spacing: 16
    bottomPadding: 24

    Component.onCompleted: Settings.refresh()

    function reveal(item) {
        let inside = item
        while (inside && inside !== page)
            inside = inside.parent
        if (!viewport || !inside)
            return
        const top = item.mapToItem(viewport.contentItem, 0, 0).y - 16
        const bottom = top + item.height + 32
        if (top < viewport.contentY)
            viewport.contentY = Math.max(0, top)
        else if (bottom > viewport.contentY + viewport.height)
            viewport.contentY = Math.min(viewport.contentHeight - viewport.height, bottom - viewport.height)
    }
    Connections {
        target: page.Window.window
        function onActiveFocusItemChanged() {
            page.reveal(page.Window.activeFocusItem)
        }
    }

    SettingsCard {
        objectName: "settingsCard:Timer Defaults"
        width: page.width
        symbol: "clock.fill"
        title: qsTr("Timer Defaults")
        subtitle: qsTr("Configure default focus and break durations")
        accentColor: page.focusColor

        SettingRow {
            label: qsTr("Focus")
            focusRing: false
            MinutesField {
                objectName: "focusMinutes"
                value: Settings.focusMinutes
                enabled: Settings.durationsEditable
                Accessible.name: qsTr("Focus length in minutes")
                onStepped: delta => Settings.stepFocusMinutes(delta)
                onEntered: text => Settings.enterFocusMinutes(text)
            }
        }
        SettingRow {
            label: qsTr("Break")
            detail: Settings.longBreakText
            detailText.objectName: "longBreakText"
            focusRing: false
            MinutesField {
                objectName: "breakMinutes"
                value: Settings.breakMinutes
                enabled: Settings.durationsEditable
                Accessible.name: qsTr("Break length in minutes")
                onStepped: delta => Settings.stepBreakMinutes(delta)
                onEntered: text => Settings.enterBreakMinutes(text)
            }
        }
        Rectangle {
            objectName: "durationsNote"
            visible: Settings.durationsNote.length > 0
            width: parent.width
            height: noteText.implicitHeight + 14
            radius: 8
            color: Style.alpha(Style.orange, 0.1)
            border.color: Style.alpha(Style.orange, 0.45)
            border.width: 1
            antialiasing: true
            Text {
                id: noteText
                x: 10
                width: parent.width - 20
                anchors.verticalCenter: parent.verticalCenter
                text: Settings.durationsNote
                wrapMode: Text.Wrap
                font: Style.roundedFont(12, Font.DemiBold)
                color: Style.ink
            }
        }
        SettingRow {
            label: qsTr("Start the next interval automatically")
            NeoSwitch {
                objectName: "autoStartSwitch"
                checked: Settings.autoStartNext
                onColor: page.focusColor
                Accessible.name: qsTr("Start the next interval automatically")
                onToggled: Settings.toggleAutoStart()
            }
        }
    }

    SettingsCard {
        objectName: "settingsCard:Notifications"
        width: page.width
        symbol: "bell.fill"
        title: qsTr("Notifications")
        subtitle: qsTr("Customize notification sounds and preferences")
        accentColor: page.focusColor

        SettingRow {
            label: qsTr("Play a sound when an interval ends")
            NeoSwitch {
                objectName: "endSoundSwitch"
                checked: Settings.endSound
                onColor: page.focusColor
                Accessible.name: qsTr("Play a sound when an interval ends")
                onToggled: Settings.toggleEndSound()
            }
        }
        SettingRow {
            label: qsTr("Show a desktop notification")
            NeoSwitch {
                objectName: "endNotificationSwitch"
                checked: Settings.endNotification
                onColor: page.focusColor
                Accessible.name: qsTr("Show a desktop notification")
                onToggled: Settings.toggleEndNotification()
            }
        }
    }

    SettingsCard {
        objectName: "settingsCard:Privacy"
        width: page.width
        symbol: "lock.shield.fill"
        title: qsTr("Privacy")
        subtitle: qsTr("What Velto tells its maker")
        accentColor: page.focusColor

        SettingRow {
            label: qsTr("Share anonymous usage statistics")
            detail: Settings.privacyNote
            detailText.objectName: "privacyNote"
            NeoSwitch {
                objectName: "shareUsageSwitch"
                enabled: !Settings.shareUsageLocked
                opacity: enabled ? 1 : 0.4
                checked: Settings.shareUsage
                onColor: page.focusColor
                Accessible.name: qsTr("Share anonymous usage statistics")
                onToggled: Settings.toggleShareUsage()
            }
        }
    }

    SettingsCard {
        objectName: "settingsCard:Open at login"
        width: page.width
        symbol: "power"
        title: qsTr("Open at login")
        subtitle: qsTr("Start Velto in the tray when you log in")
        accentColor: page.focusColor
        hasRows: Settings.openAtLoginError.length > 0
        accessory: NeoSwitch {
            objectName: "openAtLoginSwitch"
            checked: Settings.openAtLogin
            onColor: page.focusColor
            Accessible.name: qsTr("Open at login")
            onToggled: Settings.toggleOpenAtLogin()
        }

        Text {
            objectName: "openAtLoginError"
            width: parent.width
            text: Settings.openAtLoginError
            wrapMode: Text.Wrap
            font: Style.roundedFont(12, Font.DemiBold)
            color: Style.red
        }
    }
}
