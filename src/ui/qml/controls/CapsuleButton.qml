import QtQuick
import Velto

// A capsule with a word on it, as the dialogs and the cards use: the shared button
// (NeoButton) with its pressed chrome, a ring with the keyboard, Space and Return.
NeoButton {
    id: button
    /// The button Return means in a dialog: filled with the accent colour, focused first.
    property bool isDefault: false

    implicitWidth: Math.max(96, label.implicitWidth + 28)
    implicitHeight: 32
    fill: isDefault ? Style.mint : Style.white
    strokeWidth: 1.5
    shadowOpacity: 0.5
    shadowOffset: 2
    sunkenShadowOffset: 0

    Text {
        id: label
        anchors.centerIn: parent
        text: button.text
        font: Style.roundedFont(13, Font.Bold)
        color: Style.ink
    }
}
