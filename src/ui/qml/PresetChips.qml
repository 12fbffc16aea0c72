import QtQuick
import Velto

// The preset lengths of the selected tab; the chip matching the configured
// length is filled. Disabled while an interval runs.
Row {
    spacing: 8
    enabled: !FocusTimer.isRunning
    opacity: enabled ? 1 : 0.5

    Repeater {
        model: Popover.presetMinutes
        delegate: Item {
            id: chip
            required property int modelData
            readonly property bool selected: Popover.selectedPreset === modelData
            objectName: "preset:" + modelData
            width: 52
            height: 32
            Accessible.role: Accessible.RadioButton
            Accessible.name: qsTr("%1 minutes").arg(modelData)
            Accessible.checked: selected

            NeoSurface {
                width: parent.width
                height: parent.height
                x: chip.selected ? 1 : 0
                y: x
                radius: 10
                fill: chip.selected ? Popover.tabColor : Style.white
                strokeWidth: 2
                shadowOpacity: chip.selected ? 0.3 : 0.7
                shadowX: chip.selected ? 1 : 2
                shadowY: shadowX
                Behavior on x { Spring { response: 0.4; dampingFraction: 0.7 } }

                Text {
                    anchors.centerIn: parent
                    text: chip.modelData
                    font: Style.roundedFont(13, Font.Bold)
                    color: Style.ink
                }
            }
            TapHandler {
                gesturePolicy: TapHandler.ReleaseWithinBounds
                onTapped: Popover.choosePreset(chip.modelData)
            }
        }
    }
}
