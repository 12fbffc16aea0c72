pragma ComponentBehavior: Bound
import QtQuick
import QtQuick.Templates as T
import Velto

// A modal question over the whole window: a title, a message, optional content, Cancel
// and one confirming button. `shown` opens and closes it; Escape or a click beside it
// cancels. The keyboard starts on `initialFocus`, or on Cancel, so Return never
// confirms what nobody chose.
T.Dialog {
    id: dialog
    property bool shown: false
    property string message
    property string confirmText
    property color confirmColor: Style.mint
    property Item initialFocus: null
    default property alias content: slot.data
    signal cancelled

    parent: T.Overlay.overlay
    x: parent ? Style.centred(parent.width, width) : 0
    y: parent ? Style.centred(parent.height, height) : 0
    width: Math.min(300, (parent ? parent.width : 340) - 40)
    height: column.implicitHeight + 40
    padding: 0
    modal: true
    focus: true
    closePolicy: T.Popup.CloseOnEscape | T.Popup.CloseOnPressOutside
    T.Overlay.modal: Rectangle {
        color: Qt.rgba(0, 0, 0, 0.3)
    }

    onShownChanged: shown ? open() : close()
    Component.onCompleted: if (shown) open()
    // The keyboard goes back, on closing, to the control that had it before.
    property Item opener: null
    property bool fromKeyboard: false
    onAboutToShow: {
        const item = parent ? parent.Window.activeFocusItem : null
        opener = item
        fromKeyboard = item !== null && item.visualFocus === true
    }
    onOpened: {
        if (initialFocus)
            initialFocus.forceActiveFocus(Qt.TabFocusReason)
        else
            cancelButton.forceActiveFocus(Qt.TabFocusReason)
    }
    onClosed: {
        // Closed while still wanted: Escape or a click beside it.
        if (shown)
            cancelled()
        if (opener && opener.visible && opener.enabled)
            opener.forceActiveFocus(fromKeyboard ? Qt.TabFocusReason : Qt.OtherFocusReason)
        opener = null
    }

    background: NeoSurface {
        radius: 14
        strokeWidth: 2
        shadowX: 4
        shadowY: 4
    }
    Column {
        id: column
        objectName: dialog.objectName
        x: 20
        y: 20
        width: dialog.width - 40
        spacing: 12
        Text {
            width: parent.width
            horizontalAlignment: Text.AlignHCenter
            wrapMode: Text.Wrap
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
            CapsuleButton {
                id: cancelButton
                objectName: dialog.objectName + ":cancel"
                text: qsTr("Cancel")
                onClicked: dialog.cancelled()
            }
            CapsuleButton {
                objectName: dialog.objectName + ":confirm"
                text: dialog.confirmText
                fill: dialog.confirmColor
                onClicked: dialog.accepted()
            }
        }
    }
}
