pragma ComponentBehavior: Bound
import QtQuick
import QtQuick.Templates as T
import Velto

// The preset lengths of the selected tab; the chip matching the configured length is
// filled and pressed down. Disabled while an interval is under way. One Tab stop: the arrow
// keys move between the chips and Return chooses.
FocusGroup {
    id: group
    width: row.width
    height: row.height
    repeater: chips
    enabled: TimerManager.durationsEditable

    Row {
        id: row
        spacing: 8
        Repeater {
            id: chips
            model: MiniTimerViewModel.presetMinutes
            delegate: T.RadioButton {
                id: chip
                required property int modelData
                readonly property bool selected: MiniTimerViewModel.selectedPreset === modelData
                objectName: "preset:" + modelData
                width: 52
                height: 32
                padding: 0
                focusPolicy: Qt.NoFocus
                checkable: false
                autoExclusive: false
                checked: selected
                text: qsTr("%n minute(s)", "", modelData)
                onClicked: MiniTimerViewModel.choosePreset(modelData)
                Keys.onReturnPressed: MiniTimerViewModel.choosePreset(modelData)
                Accessible.onPressAction: MiniTimerViewModel.choosePreset(modelData)
                Accessible.onToggleAction: MiniTimerViewModel.choosePreset(modelData)
                Keys.onEnterPressed: MiniTimerViewModel.choosePreset(modelData)

                ButtonChrome {
                    id: chrome
                    width: chip.width
                    height: chip.height
                    radius: 10
                    fill: chip.selected ? MiniTimerViewModel.tabColor : Style.white
                    strokeWidth: 2
                    shadowOpacity: 0.7
                    sunkenShadowOpacity: 0.3
                    shadowOffset: 2
                    sunkenShadowOffset: 1
                    sunken: chip.selected
                    springy: true
                    dim: chip.enabled ? 1 : 0.5
                    Text {
                        anchors.centerIn: parent
                        text: chip.modelData
                        font: Style.roundedFont(13, Font.Bold)
                        color: Style.ink
                    }
                }
                FocusRing {
                    target: chrome
                    targetRadius: 10
                    shown: chip.visualFocus
                }
            }
        }
    }
}
