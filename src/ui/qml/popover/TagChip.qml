import QtQuick
import Velto

// The tag of the coming focus interval.
NeoSurface {
    id: chip
    property string name
    property color tagColor

    readonly property real maxWidth: 240
    width: Math.min(maxWidth, content.implicitWidth + 18)
    height: content.implicitHeight + 8
    radius: height / 2
    fill: Style.alpha(tagColor, 0.2)
    strokeWidth: 1.5
    Accessible.role: Accessible.StaticText
    Accessible.name: qsTr("Tag: %1").arg(name)

    Row {
        id: content
        x: 8
        anchors.verticalCenter: parent.verticalCenter
        spacing: 6
        Rectangle {
            anchors.verticalCenter: parent.verticalCenter
            width: 8
            height: 8
            radius: 4
            color: chip.tagColor
            border.color: Style.ink
            border.width: 0.5
        }
        Text {
            width: Math.min(implicitWidth, chip.maxWidth - 32)
            text: chip.name
            elide: Text.ElideRight
            textFormat: Text.PlainText
            Accessible.ignored: true
            font: Style.roundedFont(11, Font.Bold)
            color: Style.ink
        }
    }
}
