import QtQuick
import Velto

// "Focus discarded — Undo": for a few seconds after a tab switch stopped an interval,
// Undo brings it back paused where it was.
NeoSurface {
    id: note
    readonly property bool shown: MiniTimerViewModel.canUndoDiscard
    // Room inside the outline for Undo's focus ring.
    width: row.implicitWidth + 24
    height: 34
    radius: height / 2
    fill: Style.white
    strokeWidth: 1.5
    shadowOpacity: 0.6
    shadowX: 2
    shadowY: 2
    opacity: shown ? 1 : 0
    visible: opacity > 0
    Behavior on opacity { NumberAnimation { duration: 200 } }

    Row {
        id: row
        anchors.centerIn: parent
        spacing: 10
        Text {
            objectName: "discardNote"
            anchors.verticalCenter: parent.verticalCenter
            text: MiniTimerViewModel.discardNote
            font: Style.roundedFont(12, Font.Bold)
            color: Style.mutedText
        }
        NeoButton {
            id: undo
            objectName: "undoDiscardButton"
            anchors.verticalCenter: parent.verticalCenter
            implicitWidth: undoLabel.implicitWidth + 12
            implicitHeight: undoLabel.implicitHeight + 4
            radius: 6
            fill: "transparent"
            stroke: "transparent"
            strokeWidth: 0
            text: qsTr("Undo")
            // Hidden, it leaves the Tab order.
            enabled: note.shown
            disabledOpacity: 1
            // Space presses the button with the keyboard on it, not play/pause.
            Keys.onShortcutOverride: event => event.accepted = event.key === Qt.Key_Space
            onClicked: MiniTimerViewModel.undoDiscard()
            HoverHandler {
                cursorShape: Qt.PointingHandCursor
            }
            Text {
                id: undoLabel
                anchors.centerIn: parent
                text: undo.text
                font: Style.roundedFont(12, Font.Bold)
                color: Style.ink
            }
        }
    }
}
