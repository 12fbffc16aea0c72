import QtQuick
import Velto

// One setting: the label, with an optional line of detail under it, and the
// control on the right.
Item {
    id: row
    property string label
    property string detail
    property alias detailText: detailText
    default property alias control: slot.data

    width: parent ? parent.width : 0
    height: Math.max(texts.implicitHeight, slot.height)

    Column {
        id: texts
        anchors.left: parent.left
        anchors.right: slot.left
        anchors.rightMargin: 16
        anchors.verticalCenter: parent.verticalCenter
        spacing: 2
        Text {
            Accessible.role: Accessible.StaticText
            Accessible.name: text
            width: parent.width
            text: row.label
            wrapMode: Text.Wrap
            font: Style.roundedFont(14, Font.DemiBold)
            color: Style.ink
        }
        Text {
            Accessible.role: Accessible.StaticText
            Accessible.name: text
            id: detailText
            width: parent.width
            visible: text.length > 0
            text: row.detail
            wrapMode: Text.Wrap
            font: Style.roundedFont(12, Font.Medium)
            color: Style.mutedText
        }
    }
    Item {
        id: slot
        anchors.right: parent.right
        anchors.verticalCenter: parent.verticalCenter
        width: childrenRect.width
        height: childrenRect.height
    }
}
