import QtQuick
import Velto

// The popover's window: frameless when anchored to the tray icon, a small
// dialog window where there is no tray.
Window {
    id: window
    // Below 1 where the screen is too small for the whole view: it shrinks as one piece.
    property real contentScale: 1
    // Said once where there is no tray.
    property string note: ""
    width: 320
    height: 540
    color: Style.cream
    title: qsTr("Velto")
    signal dismissRequested

    MiniTimerView {
        id: content
        width: window.width / window.contentScale
        height: window.height / window.contentScale
        scale: window.contentScale
        contentScale: window.contentScale
        transformOrigin: Item.TopLeft
        focus: true
        onEscapePressed: window.dismissRequested()

        TrayNote {
            text: window.note
        }
    }
    Shortcut {
        sequence: "Ctrl+Q"
        onActivated: DashboardNavigation.requestQuit()
    }
}
