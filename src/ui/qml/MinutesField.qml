import QtQuick
import Velto

// Whole minutes: typed (Enter or leaving the field takes them), or stepped with the
// buttons either side and the arrow keys (Page Up and Page Down step by five).
Row {
    id: field
    property int value
    signal stepped(int delta)
    signal entered(string text)

    spacing: 8
    opacity: enabled ? 1 : 0.45

    PressableCircle {
        objectName: field.objectName + ":minus"
        anchors.verticalCenter: parent.verticalCenter
        width: 28
        height: 28
        symbol: "minus"
        symbolSize: 12
        shadowOpacity: 1
        onClicked: field.stepped(-1)
    }
    Rectangle {
        anchors.verticalCenter: parent.verticalCenter
        width: 78
        height: 30
        radius: 8
        color: Style.white
        border.color: input.activeFocus ? Style.ink : Style.alpha(Style.ink, 0.3)
        border.width: input.activeFocus ? 2 : 1
        antialiasing: true

        TextInput {
            id: input
            objectName: field.objectName + ":input"
            anchors.left: parent.left
            anchors.leftMargin: 8
            anchors.right: unit.left
            anchors.rightMargin: 4
            anchors.verticalCenter: parent.verticalCenter
            horizontalAlignment: TextInput.AlignRight
            text: field.value
            font: Style.roundedFont(15, Font.Bold)
            color: Style.ink
            selectionColor: Style.alpha(Style.ink, 0.2)
            selectedTextColor: Style.ink
            selectByMouse: true
            activeFocusOnTab: true
            maximumLength: 4
            validator: RegularExpressionValidator { regularExpression: /[0-9]*/ }
            Accessible.name: field.Accessible.name
            Keys.onUpPressed: field.stepped(1)
            Keys.onDownPressed: field.stepped(-1)
            Keys.onPressed: event => {
                if (event.key === Qt.Key_PageUp || event.key === Qt.Key_PageDown) {
                    field.stepped(event.key === Qt.Key_PageUp ? 5 : -5)
                    event.accepted = true
                }
            }
            Keys.onEscapePressed: input.showValue()
            onActiveFocusChanged: if (activeFocus) selectAll()
            onEditingFinished: {
                field.entered(text)
                showValue()
            }
            // Typing replaces the binding; this puts it back, showing the length in force.
            function showValue() {
                text = Qt.binding(() => field.value)
            }
        }
        Text {
            id: unit
            anchors.right: parent.right
            anchors.rightMargin: 8
            anchors.verticalCenter: parent.verticalCenter
            text: qsTr("min")
            font: Style.roundedFont(12, Font.Medium)
            color: Style.mutedText
        }
    }
    PressableCircle {
        objectName: field.objectName + ":plus"
        anchors.verticalCenter: parent.verticalCenter
        width: 28
        height: 28
        symbol: "plus"
        symbolSize: 12
        shadowOpacity: 1
        onClicked: field.stepped(1)
    }
}
