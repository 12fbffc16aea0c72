import QtQuick
import Velto

// A small tooltip shown above its parent after the pointer rests on it.
Item {
    id: tip
    property string text
    anchors.fill: parent
    z: 100

    HoverHandler {
        id: hover
        enabled: tip.text.length > 0
    }
    Timer {
        id: delay
        interval: 600
        running: hover.hovered
    }
    Rectangle {
        id: bubble
        visible: hover.hovered && !delay.running && tip.text.length > 0
        color: Style.ink
        radius: 6
        width: label.implicitWidth + 16
        height: label.implicitHeight + 8
        x: (tip.width - width) / 2
        y: -height - 6
        Text {
            id: label
            anchors.centerIn: parent
            text: tip.text
            color: Style.white
            font: Style.roundedFont(11, Font.Bold)
        }
    }
}
