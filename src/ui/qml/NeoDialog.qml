import QtQuick
import Velto

// A modal question over the whole window: a title, a message, optional
// content, Cancel and one confirming button.
Item {
    id: dialog
    property bool shown: false
    property string title
    property string message
    property string confirmText
    property color confirmColor: Style.mint
    // What takes the keyboard when the dialog opens; the dialog itself by default.
    property Item initialFocus: null
    default property alias content: slot.data
    signal accepted
    signal cancelled

    // The item the dialog belongs to; the dialog covers that item's window,
    // not just the scrolling page around it.
    property Item origin: null
    parent: origin && origin.Window.window ? origin.Window.window.contentItem : origin
    anchors.fill: parent
    z: 1000
    visible: shown
    Keys.onEscapePressed: dialog.cancelled()
    Keys.onReturnPressed: dialog.accepted()
    Keys.onEnterPressed: dialog.accepted()
    onShownChanged: {
        if (shown)
            (initialFocus ? initialFocus : dialog).forceActiveFocus()
    }

    component DialogButton: NeoSurface {
        id: button
        property string label
        signal clicked
        width: Math.max(96, buttonText.implicitWidth + 28)
        height: 32
        radius: height / 2
        strokeWidth: 1.5
        shadowOpacity: 0.5
        shadowX: tap.pressed ? 0 : 2
        shadowY: shadowX
        transform: Translate { x: tap.pressed ? 2 : 0; y: tap.pressed ? 2 : 0 }
        Accessible.role: Accessible.Button
        Accessible.name: label
        Text {
            id: buttonText
            anchors.centerIn: parent
            text: button.label
            font: Style.roundedFont(13, Font.Bold)
            color: Style.ink
        }
        TapHandler {
            id: tap
            gesturePolicy: TapHandler.ReleaseWithinBounds
            onTapped: button.clicked()
        }
    }

    Backdrop {
        dim: 0.3
        onDismissed: dialog.cancelled()
    }
    NeoSurface {
        id: card
        anchors.centerIn: parent
        width: Math.min(300, dialog.width - 40)
        height: column.implicitHeight + 40
        radius: 14
        strokeWidth: 2
        shadowX: 4
        shadowY: 4
        // Taps on the card do not reach the backdrop.
        MouseArea {
            anchors.fill: parent
        }
        Column {
            id: column
            x: 20
            y: 20
            width: parent.width - 40
            spacing: 12
            Text {
                width: parent.width
                horizontalAlignment: Text.AlignHCenter
                text: dialog.title
                font: Style.roundedFont(16, Font.Bold)
                color: Style.ink
            }
            Text {
                objectName: dialog.objectName + ":message"
                width: parent.width
                horizontalAlignment: Text.AlignHCenter
                wrapMode: Text.Wrap
                maximumLineCount: 6
                elide: Text.ElideRight
                textFormat: Text.PlainText
                text: dialog.message
                font: Style.roundedFont(12, Font.Medium)
                color: Style.mutedText
            }
            Item {
                id: slot
                width: parent.width
                height: childrenRect.height
                visible: children.length > 0
            }
            Row {
                anchors.horizontalCenter: parent.horizontalCenter
                spacing: 12
                DialogButton {
                    objectName: dialog.objectName + ":cancel"
                    label: qsTr("Cancel")
                    onClicked: dialog.cancelled()
                }
                DialogButton {
                    objectName: dialog.objectName + ":confirm"
                    label: dialog.confirmText
                    fill: dialog.confirmColor
                    onClicked: dialog.accepted()
                }
            }
        }
    }
}
