pragma ComponentBehavior: Bound
import QtQuick
import Velto

// The user's commands: a command line for each of the timer's events, run with /bin/sh,
// and a Test button that runs it once with a sample event. Commands decides; this binds.
SettingsCard {
    id: card
    objectName: "settingsCard:Commands"
    symbol: "terminal.fill"
    title: qsTr("Commands")
    subtitle: qsTr("Run your own command when the timer changes; it reads the event as JSON on standard input")

    Repeater {
        model: CommandsViewModel
        delegate: Column {
            id: row
            required property int index
            required property string event
            required property string title
            required property string command
            required property string result
            required property bool failed
            required property bool running
            width: card.width - 32
            spacing: 6

            Item {
                width: parent.width
                height: Math.max(label.implicitHeight, fieldBox.height, testButton.height)
                Text {
                    id: label
                    anchors.left: parent.left
                    anchors.verticalCenter: parent.verticalCenter
                    width: 130
                    text: row.title
                    elide: Text.ElideRight
                    font: Style.roundedFont(14, Font.DemiBold)
                    color: Style.ink
                }
                Rectangle {
                    id: fieldBox
                    anchors.left: label.right
                    anchors.leftMargin: 8
                    anchors.right: testButton.left
                    anchors.rightMargin: 12
                    anchors.verticalCenter: parent.verticalCenter
                    height: 30
                    radius: 8
                    color: Style.white
                    border.color: field.activeFocus ? Style.ink : Style.alpha(Style.ink, 0.3)
                    border.width: field.activeFocus ? 2 : 1
                    antialiasing: true
                    NeoTextField {
                        id: field
                        objectName: "command:" + row.event
                        anchors.fill: parent
                        anchors.leftMargin: 8
                        anchors.rightMargin: 8
                        text: row.command
                        placeholder: qsTr("Command line")
                        font: Qt.font({ family: Style.mono, pixelSize: 12 })
                        activeFocusOnTab: true
                        // Out of focus, a long command shows its start.
                        autoScroll: activeFocus
                        Accessible.name: qsTr("Command for %1").arg(row.title)
                        onEditingFinished: CommandsViewModel.setCommand(row.index, text)
                        onCancelled: {
                            text = row.command
                            focus = false
                        }
                    }
                }
                CapsuleButton {
                    id: testButton
                    objectName: "test:" + row.event
                    anchors.right: parent.right
                    anchors.rightMargin: 4
                    anchors.verticalCenter: parent.verticalCenter
                    text: qsTr("Test")
                    disabledOpacity: 0.45
                    enabled: field.text.trim().length > 0 && !row.running
                    onClicked: CommandsViewModel.test(row.index, field.text)
                }
            }
            Text {
                objectName: "result:" + row.event
                visible: text.length > 0
                x: label.width + 8
                width: parent.width - x
                text: row.result
                elide: Text.ElideRight
                maximumLineCount: 1
                font: Style.roundedFont(12, Font.DemiBold)
                color: row.failed ? Style.red : Style.mutedText
            }
        }
    }
}
