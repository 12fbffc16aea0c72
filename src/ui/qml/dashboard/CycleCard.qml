import QtQuick
import Velto

// The cycle: how many focus intervals come before a long break, and how long that break is.
// CycleSettings decides; this binds.
SettingsCard {
    objectName: "settingsCard:Cycle"
    symbol: "arrow.triangle.2.circlepath"
    title: qsTr("Cycle")
    subtitle: qsTr("When the long break comes, and how long it lasts")

    SettingRow {
        label: qsTr("Focus intervals before a long break")
        MinutesField {
            objectName: "intervalsBeforeLongBreak"
            unit: ""
            from: CycleSettingsViewModel.minimumIntervals
            to: CycleSettingsViewModel.maximumIntervals
            value: CycleSettingsViewModel.intervalsBeforeLongBreak
            Accessible.name: qsTr("Focus intervals before a long break")
            onModified: count => CycleSettingsViewModel.enterIntervals(String(count))
        }
    }
    SettingRow {
        label: qsTr("Long break")
        detail: CycleSettingsViewModel.longBreakNote
        detailText.objectName: "longBreakNote"
        MinutesField {
            objectName: "longBreakMinutes"
            from: CycleSettingsViewModel.minimumMinutes
            to: CycleSettingsViewModel.maximumMinutes
            value: CycleSettingsViewModel.longBreakMinutes
            enabled: CycleSettingsViewModel.durationsEditable
            Accessible.name: qsTr("Long break length in minutes")
            onModified: minutes => CycleSettingsViewModel.enterLongBreakMinutes(String(minutes))
        }
    }
}
