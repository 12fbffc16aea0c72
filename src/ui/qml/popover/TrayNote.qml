import QtQuick
import Velto

// Where there is no tray: one sentence on what a tray needs, over the bottom of the
// window until it is tapped, or pressed with Space or Return.
Item {
    id: note
    property string text: ""
    anchors.fill: parent
    visible: text !== ""

    NeoButton {
        objectName: "trayNote"
        x: 12
        anchors.bottom: parent.bottom
        anchors.bottomMargin: 12
        width: parent.width - 24
        height: sentence.implicitHeight + 24
        radius: 12
        strokeWidth: 2
        shadowOpacity: 0.4
        shadowOffset: 3
        sunkenShadowOffset: 3
        text: note.text
        Accessible.description: qsTr("Press to dismiss")
        // Space dismisses the note with the keyboard on it, not play/pause.
        Keys.onShortcutOverride: event => event.accepted = event.key === Qt.Key_Space
        onClicked: note.text = ""

        Text {
            id: sentence
            x: 12
            y: 12
            width: parent.width - 24
            text: note.text
            wrapMode: Text.WordWrap
            font: Style.roundedFont(12, Font.Medium)
            color: Style.ink
        }
    }
}
