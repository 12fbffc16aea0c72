import QtQuick
import Velto

// The popover's window: frameless when anchored to the tray icon, a small
// ordinary window where there is no tray.
Window {
    id: window
    width: 320
    height: 540
    color: Style.cream
    title: qsTr("Velto")
    signal dismissRequested

    MiniTimerView {
        id: content
        anchors.fill: parent
        focus: true
        onEscapePressed: window.dismissRequested()
    }
    Shortcut {
        sequence: "Ctrl+Q"
        onActivated: Navigation.requestQuit()
    }
}
