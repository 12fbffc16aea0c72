pragma ComponentBehavior: Bound
import QtQuick
import QtQuick.Templates as T
import Velto

// Focus / Break: a white capsule with a sliding coloured capsule behind the selected
// tab. A long press opens the colour picker for that tab. One Tab stop: the arrow keys
// move between the tabs and Return chooses.
FocusGroup {
    id: bar
    height: 36
    repeater: segments

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
            color: MiniTimerViewModel.tabColor
            x: MiniTimerViewModel.focusTabSelected ? 0 : parent.width / 2
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
                id: segments
                model: [true, false]
                delegate: T.TabButton {
                    id: segment
                    required property bool modelData
                    readonly property bool selected: modelData === MiniTimerViewModel.focusTabSelected
                    readonly property color foreground: selected ? Style.ink : Style.mutedText
                    // Set when a long press opened the colour picker, so the release chooses nothing.
                    property bool heldLong: false
                    objectName: modelData ? "focusTab" : "breakTab"
                    width: parent.width / 2
                    height: parent.height
                    padding: 0
                    focusPolicy: Qt.NoFocus
                    checkable: false
                    autoExclusive: false
                    text: MiniTimerViewModel.tabTitle(modelData)
                    checked: selected

                    onPressed: {
                        heldLong = false
                        hold.restart()
                    }
                    onReleased: hold.stop()
                    onCanceled: hold.stop()
                    onClicked: {
                        if (!heldLong)
                            MiniTimerViewModel.selectTab(modelData)
                    }
                    Keys.onReturnPressed: MiniTimerViewModel.selectTab(modelData)
                    Accessible.onPressAction: MiniTimerViewModel.selectTab(modelData)
                    Keys.onEnterPressed: MiniTimerViewModel.selectTab(modelData)
                    // The keyboard's long press: the menu key or Shift+F10 opens the colour picker.
                    Keys.onPressed: event => {
                        if (event.key === Qt.Key_Menu || (event.key === Qt.Key_F10 && (event.modifiers & Qt.ShiftModifier))) {
                            MiniTimerViewModel.openColorPicker(modelData)
                            event.accepted = true
                        }
                    }
                    Timer {
                        id: hold
                        interval: 500
                        onTriggered: {
                            segment.heldLong = true
                            MiniTimerViewModel.openColorPicker(segment.modelData)
                        }
                    }

                    background: Rectangle {
                        // The keyboard's ring, inside the segment, clear of the bar's outline.
                        x: 2
                        y: 2
                        width: segment.width - 4
                        height: segment.height - 4
                        radius: height / 2
                        visible: segment.visualFocus
                        color: "transparent"
                        border.color: Style.ink
                        border.width: 2
                        antialiasing: true
                    }
                    contentItem: Item {
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
                                text: segment.text
                                font: Style.roundedFont(12, Font.Bold)
                                color: segment.foreground
                                Behavior on color { ColorAnimation { duration: 200 } }
                            }
                        }
                    }
                }
            }
        }
    }
}
