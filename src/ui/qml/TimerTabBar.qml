import QtQuick
import Velto

// Focus / Break: a white capsule with a sliding coloured capsule behind the
// selected tab. A long press opens the colour picker for that tab.
Item {
    id: bar
    height: 36

    NeoSurface {
        anchors.fill: parent
        radius: height / 2
        fill: Style.white
        strokeWidth: 2
        shadowOpacity: 0.6
        shadowX: 2
        shadowY: 2

        Rectangle {
            width: parent.width / 2
            height: parent.height
            radius: height / 2
            color: Popover.tabColor
            x: Popover.focusTabSelected ? 0 : parent.width / 2
            antialiasing: true
            Behavior on x { Spring { response: 0.3; dampingFraction: 0.75 } }
            Behavior on color { ColorAnimation { duration: 200 } }
        }
        Row {
            x: 4
            y: 4
            width: parent.width - 8
            height: parent.height - 8
            Repeater {
                model: [true, false]
                delegate: Item {
                    id: segment
                    required property bool modelData
                    readonly property bool selected: modelData === Popover.focusTabSelected
                    readonly property color foreground: selected ? Style.ink : Style.mutedText
                    objectName: modelData ? "focusTab" : "breakTab"
                    width: parent.width / 2
                    height: parent.height
                    Accessible.role: Accessible.PageTab
                    Accessible.name: Popover.tabTitle(modelData)

                    Row {
                        anchors.centerIn: parent
                        spacing: 5
                        Symbol {
                            anchors.verticalCenter: parent.verticalCenter
                            name: segment.modelData ? "flame.fill" : "cup.and.saucer.fill"
                            size: 11
                            color: segment.foreground
                        }
                        Text {
                            anchors.verticalCenter: parent.verticalCenter
                            text: Popover.tabTitle(segment.modelData)
                            font: Style.roundedFont(12, Font.Bold)
                            color: segment.foreground
                            Behavior on color { ColorAnimation { duration: 200 } }
                        }
                    }
                    TapHandler {
                        gesturePolicy: TapHandler.ReleaseWithinBounds
                        longPressThreshold: 0.5
                        dragThreshold: 10
                        onTapped: Popover.selectTab(segment.modelData)
                        onLongPressed: Popover.openColorPicker(segment.modelData)
                    }
                }
            }
        }
    }
}
