import QtQuick
import Velto

// The daily goal: off, or so many focus intervals a day. GoalSettings decides; this binds.
SettingsCard {
    id: card
    objectName: "settingsCard:Daily goal"
    symbol: "target"
    title: qsTr("Daily goal")
    subtitle: qsTr("Focus intervals to complete each day")
    hasRows: GoalSettingsViewModel.isOn
    accessory: NeoSwitch {
        objectName: "dailyGoalSwitch"
        checked: GoalSettingsViewModel.isOn
        checkedColor: card.accentColor
        text: qsTr("Daily goal")
        onToggled: GoalSettingsViewModel.toggle()
    }

    SettingRow {
        label: qsTr("Focus intervals a day")
        MinutesField {
            objectName: "dailyGoalSessions"
            unit: ""
            from: GoalSettingsViewModel.minimumSessions
            to: GoalSettingsViewModel.maximumSessions
            value: GoalSettingsViewModel.sessions
            Accessible.name: qsTr("Focus intervals a day")
            onModified: count => GoalSettingsViewModel.enter(String(count))
        }
    }
}
