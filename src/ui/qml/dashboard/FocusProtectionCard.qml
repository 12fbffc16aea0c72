import QtQuick
import Velto

// Focus protection: Do Not Disturb while focusing, pausing when the screen locks or the
// user walks away, and the global shortcuts. FocusProtectionViewModel decides; this binds.
SettingsCard {
    id: card
    objectName: "settingsCard:Focus protection"
    symbol: "moon.fill"
    title: qsTr("Focus protection")
    subtitle: qsTr("Keep focus time quiet and honest")

    SettingRow {
        label: qsTr("Do Not Disturb during focus")
        detail: FocusProtectionViewModel.doNotDisturbUnavailableText
        detailText.objectName: "doNotDisturbUnavailable"
        NeoSwitch {
            objectName: "doNotDisturbSwitch"
            enabled: FocusProtectionViewModel.doNotDisturbAvailable
            dim: enabled ? 1 : 0.4
            checked: FocusProtectionViewModel.doNotDisturb
            checkedColor: card.accentColor
            text: qsTr("Do Not Disturb during focus")
            onToggled: FocusProtectionViewModel.setDoNotDisturb(!FocusProtectionViewModel.doNotDisturb)
        }
    }
    SettingRow {
        label: qsTr("Pause when the screen locks")
        NeoSwitch {
            objectName: "pauseOnLockSwitch"
            checked: FocusProtectionViewModel.pauseOnLock
            checkedColor: card.accentColor
            text: qsTr("Pause when the screen locks")
            onToggled: FocusProtectionViewModel.setPauseOnLock(!FocusProtectionViewModel.pauseOnLock)
        }
    }
    SettingRow {
        label: qsTr("Pause when I am away")
        NeoSwitch {
            objectName: "idleDetectionSwitch"
            checked: FocusProtectionViewModel.idleDetection
            checkedColor: card.accentColor
            text: qsTr("Pause when I am away")
            onToggled: FocusProtectionViewModel.setIdleDetection(!FocusProtectionViewModel.idleDetection)
        }
    }
    SettingRow {
        label: qsTr("Away after")
        MinutesField {
            objectName: "idleMinutes"
            from: FocusProtectionViewModel.minimumIdleMinutes
            to: FocusProtectionViewModel.maximumIdleMinutes
            value: FocusProtectionViewModel.idleMinutes
            enabled: FocusProtectionViewModel.idleDetection
            Accessible.name: qsTr("Minutes without input before focus pauses")
            onModified: minutes => FocusProtectionViewModel.setIdleMinutes(minutes)
        }
    }
    SettingRow {
        label: qsTr("Global shortcuts")
        detail: FocusProtectionViewModel.shortcutsText
        detailText.objectName: "shortcutsText"
        NeoButton {
            id: copyButton
            objectName: "copyShortcutCommands"
            visible: !FocusProtectionViewModel.shortcutsRegistered
            width: copyLabel.implicitWidth + 24
            height: 30
            text: qsTr("Copy the commands")
            onClicked: FocusProtectionViewModel.copyShortcutCommands()
            Text {
                id: copyLabel
                anchors.centerIn: parent
                text: copyButton.text
                font: Style.roundedFont(12, Font.Bold)
                color: Style.ink
                Accessible.ignored: true
            }
        }
    }
    Text {
        objectName: "shortcutCommands"
        visible: !FocusProtectionViewModel.shortcutsRegistered
        width: parent.width
        text: FocusProtectionViewModel.shortcutCommands
        font.family: "monospace"
        font.pixelSize: 12
        color: Style.ink
        Accessible.role: Accessible.StaticText
        Accessible.name: text
    }
}
