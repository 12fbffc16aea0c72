pragma ComponentBehavior: Bound
import QtQuick
import Velto

// A countdown text whose changing digits roll in from below, each in a cell of
// the same width so the text never jitters. Text wider than the frame shrinks.
Item {
    id: clock
    property string text
    property font font: Qt.font({ family: Style.mono, pixelSize: 56, weight: Font.Bold })
    property color color: Style.ink
    property bool animated: true

    implicitHeight: metrics.height
    // Read as the whole time, not digit by digit.
    Accessible.role: Accessible.StaticText
    Accessible.name: text

    FontMetrics {
        id: metrics
        font: clock.font
    }
    Row {
        id: row
        anchors.centerIn: parent
        scale: implicitWidth > clock.width && implicitWidth > 0 ? clock.width / implicitWidth : 1
        Repeater {
            model: clock.text.length
            delegate: Item {
                id: cell
                required property int index
                readonly property string character: clock.text.charAt(index)
                property string shown: character
                width: metrics.advanceWidth("0")
                height: metrics.height

                onCharacterChanged: {
                    leaving.text = shown
                    shown = character
                    if (clock.animated)
                        roll.restart()
                }
                Text {
                    id: leaving
                    Accessible.ignored: true
                    width: parent.width
                    horizontalAlignment: Text.AlignHCenter
                    font: clock.font
                    color: clock.color
                    opacity: 0
                }
                Text {
                    id: arriving
                    Accessible.ignored: true
                    width: parent.width
                    horizontalAlignment: Text.AlignHCenter
                    text: cell.shown
                    font: clock.font
                    color: clock.color
                }
                ParallelAnimation {
                    id: roll
                    Spring { target: arriving; property: "y"; from: cell.height * 0.4; to: 0; response: 0.5; dampingFraction: 0.85 }
                    NumberAnimation { target: arriving; property: "opacity"; from: 0; to: 1; duration: 250 }
                    NumberAnimation { target: leaving; property: "y"; from: 0; to: -cell.height * 0.4; duration: 250; easing.type: Easing.OutCubic }
                    NumberAnimation { target: leaving; property: "opacity"; from: 1; to: 0; duration: 200 }
                }
            }
        }
    }
}
