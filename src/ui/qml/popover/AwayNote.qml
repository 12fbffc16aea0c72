import QtQuick
import Velto

// "Screen locked for 12m — Resume", or after time away "Keep the time" and "Discard the
// time away": focus was paused for the user, who chooses how it goes on.
NeoSurface {
    id: note
    readonly property bool shown: FocusProtectionViewModel.awayShown
    width: column.implicitWidth + 24
    height: column.implicitHeight + 16
    radius: 14
    fill: Style.white
    strokeWidth: 1.5
    shadowOpacity: 0.6
    shadowX: 2
    shadowY: 2
    opacity: shown ? 1 : 0
    visible: opacity > 0
    Behavior on opacity { NumberAnimation { duration: 200 } }

    component NoteButton: NeoButton {
        id: noteButton
        width: label.implicitWidth + 20
        height: 26
        Text {
            id: label
            anchors.centerIn: parent
            text: noteButton.text
            font: Style.roundedFont(12, Font.Bold)
            color: Style.ink
            Accessible.ignored: true
        }
    }

    Column {
        id: column
        anchors.centerIn: parent
        spacing: 8
        Text {
            objectName: "awayText"
            anchors.horizontalCenter: parent.horizontalCenter
            text: FocusProtectionViewModel.awayText
            font: Style.roundedFont(12, Font.Bold)
            color: Style.mutedText
            Accessible.role: Accessible.StaticText
            Accessible.name: text
        }
        Row {
            anchors.horizontalCenter: parent.horizontalCenter
            spacing: 8
            NoteButton {
                objectName: "resumeButton"
                visible: !FocusProtectionViewModel.awayOffersKeep
                text: qsTr("Resume")
                onClicked: FocusProtectionViewModel.resume()
            }
            NoteButton {
                objectName: "keepTimeButton"
                visible: FocusProtectionViewModel.awayOffersKeep
                text: qsTr("Keep the time")
                onClicked: FocusProtectionViewModel.keepTimeAway()
            }
            NoteButton {
                objectName: "discardTimeButton"
                visible: FocusProtectionViewModel.awayOffersKeep
                text: qsTr("Discard the time away")
                onClicked: FocusProtectionViewModel.resume()
            }
        }
    }
}
