import QtQuick
import Velto

// A small window that tells the user something, in the app's look: a card on the
// cream background with the buttons at its foot. Escape closes it; the button marked
// `isDefault` has the keyboard focus when it opens, so Return presses it.
Window {
    id: window
    default property alias content: body.data
    property alias buttons: buttonRow.data

    flags: Qt.Dialog
    color: Style.cream
    width: 360
    height: card.height + 2 * card.y + card.shadowY
    minimumWidth: width
    maximumWidth: width
    minimumHeight: height
    maximumHeight: height

    Shortcut {
        sequence: "Escape"
        onActivated: window.close()
    }

    // Each opening starts on the default button.
    onVisibleChanged: {
        if (!visible)
            return
        for (let i = 0; i < buttonRow.children.length; ++i) {
            const button = buttonRow.children[i]
            if (button.isDefault)
                button.forceActiveFocus(Qt.TabFocusReason)
        }
    }

    NeoCard {
        id: card
        x: 16
        y: 16
        width: window.width - 2 * x - shadowX
        height: column.implicitHeight + 2 * padding

        Column {
            id: column
            x: card.padding
            y: card.padding
            width: card.width - 2 * card.padding
            spacing: 16

            Column {
                id: body
                width: parent.width
                spacing: 6
            }
            Row {
                id: buttonRow
                anchors.right: parent.right
                spacing: 12
            }
        }
    }
}
