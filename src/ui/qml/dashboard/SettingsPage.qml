import QtQuick
import Velto

// The Settings section: the timer's lengths and auto-start, what marks the end of
// an interval, usage statistics, and opening at login. SettingsViewModel decides; this binds.
Column {
    id: page
    /// The dashboard's scroll view the page sits in.
    property Flickable viewport: null
    readonly property color focusColor: ThemeColors.focusColor
    spacing: 16
    bottomPadding: 24

    Component.onCompleted: SettingsViewModel.refresh()

    SettingsCard {
        objectName: "settingsCard:Timer Defaults"
        width: page.width
        symbol: "clock.fill"
        title: qsTr("Timer Defaults")
        subtitle: qsTr("Configure default focus and break durations")
        accentColor: page.focusColor

        SettingRow {
            label: qsTr("Focus")
            MinutesField {
                objectName: "focusMinutes"
                from: SettingsViewModel.minimumMinutes
                to: SettingsViewModel.maximumMinutes
                value: SettingsViewModel.focusMinutes
                enabled: SettingsViewModel.durationsEditable
                Accessible.name: qsTr("Focus length in minutes")
                onModified: minutes => SettingsViewModel.enterFocusMinutes(String(minutes))
            }
        }
        SettingRow {
            label: qsTr("Break")
            detail: SettingsViewModel.longBreakText
            detailText.objectName: "longBreakText"
            MinutesField {
                objectName: "breakMinutes"
                from: SettingsViewModel.minimumMinutes
                to: SettingsViewModel.maximumMinutes
                value: SettingsViewModel.breakMinutes
                enabled: SettingsViewModel.durationsEditable
                Accessible.name: qsTr("Break length in minutes")
                onModified: minutes => SettingsViewModel.enterBreakMinutes(String(minutes))
            }
        }
        Rectangle {
            objectName: "durationsNote"
            visible: SettingsViewModel.durationsNote.length > 0
            width: parent.width
            height: noteText.implicitHeight + 14
            radius: 8
            color: Style.alpha(Style.orange, 0.1)
            border.color: Style.alpha(Style.orange, 0.45)
            border.width: 1
            antialiasing: true
            Text {
                Accessible.role: Accessible.StaticText
                Accessible.name: text
                id: noteText
                x: 10
                width: parent.width - 20
                anchors.verticalCenter: parent.verticalCenter
                text: SettingsViewModel.durationsNote
                wrapMode: Text.Wrap
                font: Style.roundedFont(12, Font.DemiBold)
                color: Style.ink
            }
        }
        SettingRow {
            label: qsTr("Start the next interval automatically")
            NeoSwitch {
                objectName: "autoStartSwitch"
                checked: SettingsViewModel.autoStartNext
                checkedColor: page.focusColor
                text: qsTr("Start the next interval automatically")
                onToggled: SettingsViewModel.toggleAutoStart()
            }
        }
    }

    CycleCard { width: page.width; accentColor: page.focusColor }
    GoalCard { width: page.width; accentColor: page.focusColor }

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
                checked: SettingsViewModel.endSound
                checkedColor: page.focusColor
                text: qsTr("Play a sound when an interval ends")
                onToggled: SettingsViewModel.toggleEndSound()
            }
        }
        SettingRow {
            label: qsTr("Show a desktop notification")
            NeoSwitch {
                objectName: "endNotificationSwitch"
                checked: SettingsViewModel.endNotification
                checkedColor: page.focusColor
                text: qsTr("Show a desktop notification")
                onToggled: SettingsViewModel.toggleEndNotification()
            }
        }
    }

    FocusProtectionCard { width: page.width; accentColor: page.focusColor }
    CommandsCard { width: page.width; accentColor: page.focusColor }

    SettingsCard {
        objectName: "settingsCard:Privacy"
        width: page.width
        symbol: "lock.shield.fill"
        title: qsTr("Privacy")
        subtitle: qsTr("What Velto tells its maker")
        accentColor: page.focusColor

        SettingRow {
            label: qsTr("Share anonymous usage statistics")
            detail: SettingsViewModel.privacyNote
            detailText.objectName: "privacyNote"
            NeoSwitch {
                objectName: "shareUsageSwitch"
                enabled: !SettingsViewModel.shareUsageLocked
                dim: enabled ? 1 : 0.4
                checked: SettingsViewModel.shareUsage
                checkedColor: page.focusColor
                text: qsTr("Share anonymous usage statistics")
                onToggled: SettingsViewModel.toggleShareUsage()
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
        hasRows: SettingsViewModel.openAtLoginError.length > 0
        accessory: NeoSwitch {
            objectName: "openAtLoginSwitch"
            checked: SettingsViewModel.openAtLogin
            checkedColor: page.focusColor
            text: qsTr("Open at login")
            onToggled: SettingsViewModel.toggleOpenAtLogin()
        }

        Text {
            Accessible.role: Accessible.StaticText
            Accessible.name: text
            objectName: "openAtLoginError"
            width: parent.width
            text: SettingsViewModel.openAtLoginError
            wrapMode: Text.Wrap
            font: Style.roundedFont(12, Font.DemiBold)
            color: Style.red
        }
    }
}
