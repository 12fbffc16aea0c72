import QtQuick
import Velto

// A plain single-line text field with a placeholder.
Item {
    id: field
    property alias text: input.text
    property string placeholder
    property font font: Style.roundedFont(13, Font.DemiBold)
    property alias input: input
    signal accepted
    signal edited(string text)
    signal cancelled

    implicitWidth: 160
    implicitHeight: input.implicitHeight

    Text {
        anchors.fill: input
        visible: input.text.length === 0
        text: field.placeholder
        font: field.font
        color: Style.alpha(Style.mutedText, 0.6)
        elide: Text.ElideRight
        verticalAlignment: Text.AlignVCenter
    }
    TextInput {
        id: input
        anchors.left: parent.left
        anchors.right: parent.right
        anchors.verticalCenter: parent.verticalCenter
        font: field.font
        color: Style.ink
        selectionColor: Style.alpha(Style.ink, 0.2)
        selectedTextColor: Style.ink
        clip: true
        selectByMouse: true
        maximumLength: 1000
        onAccepted: field.accepted()
        onTextEdited: field.edited(text)
        Keys.onEscapePressed: field.cancelled()
    }
}
