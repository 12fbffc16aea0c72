pragma ComponentBehavior: Bound
import QtQuick
import QtQuick.Templates as T
import Velto

// A capsule of equal segments, one per entry of `segments` ({ id, title, symbol }), with
// a tinted capsule sliding behind the selected one. One Tab stop: the arrow keys move
// between the segments and Space or Return chooses.
FocusGroup {
    id: control
    property var segments: []
    property string selected
    property color tint: Style.coral
    signal chosen(string id)

    readonly property real segmentWidth: (width - 6) / Math.max(1, segments.length)
    height: 36
    repeater: buttons
    readonly property int selectedIndex: Math.max(0, segments.findIndex(segment => segment.id === selected))

    NeoSurface {
        width: parent.width
        height: parent.height
        radius: height / 2
        strokeWidth: 2
        shadowOpacity: 0.6
        shadowX: 2
        shadowY: 2

        Rectangle {
            x: 3 + control.selectedIndex * control.segmentWidth
            y: 3
            width: control.segmentWidth
            height: 30
            radius: 15
            color: control.tint
            antialiasing: true
            Behavior on x { Spring { response: 0.3; dampingFraction: 0.75 } }
        }
        Row {
            x: 3
            y: 3
            Repeater {
                id: buttons
                model: control.segments
                delegate: T.TabButton {
                    id: segment
                    required property var modelData
                    readonly property bool isSelected: control.selected === modelData.id
                    objectName: "panel:" + modelData.id
                    width: control.segmentWidth
                    height: 30
                    padding: 0
                    focusPolicy: Qt.NoFocus
                    checkable: false
                    autoExclusive: false
                    text: modelData.title
                    checked: isSelected
                    onClicked: control.chosen(modelData.id)
                    Keys.onReturnPressed: control.chosen(modelData.id)
                    Accessible.onPressAction: control.chosen(modelData.id)
                    Keys.onEnterPressed: control.chosen(modelData.id)

                    background: Rectangle {
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
                            spacing: 6
                            Symbol {
                                anchors.verticalCenter: parent.verticalCenter
                                name: segment.modelData.symbol
                                size: 12
                                color: segment.isSelected ? Style.ink : Style.mutedText
                            }
                            Text {
                                anchors.verticalCenter: parent.verticalCenter
                                text: segment.text
                                font: Style.roundedFont(13, Font.Bold)
                                color: segment.isSelected ? Style.ink : Style.mutedText
                            }
                        }
                    }
                }
            }
        }
    }
}
