import QtQuick
import Velto

// The big round play/pause button in the active colour; it looks pushed while held.
Item {
    id: button
    objectName: "playButton"
    width: 56
    height: 56
    readonly property bool pressed: tap.pressed
    Accessible.role: Accessible.Button
    Accessible.name: FocusTimer.isRunning ? qsTr("Pause") : qsTr("Start")

    NeoSurface {
        width: parent.width
        height: parent.height
        x: button.pressed ? 2 : 0
        y: x
        radius: width / 2
        fill: Popover.activeColor
        strokeWidth: 2
        shadowOpacity: button.pressed ? 0.4 : 0.8
        shadowX: button.pressed ? 1 : 3
        shadowY: shadowX
        Behavior on x { NumberAnimation { duration: 100; easing.type: Easing.InOutQuad } }
        Behavior on shadowX { NumberAnimation { duration: 100; easing.type: Easing.InOutQuad } }

        Symbol {
            anchors.centerIn: parent
            // The triangle is optically centred a little to the right.
            anchors.horizontalCenterOffset: FocusTimer.isRunning ? 0 : 2
            name: FocusTimer.isRunning ? "pause.fill" : "play.fill"
            size: 20
            color: Style.ink
        }
    }
    TapHandler {
        gesturePolicy: TapHandler.ReleaseWithinBounds
        id: tap
        dragThreshold: 10
        onTapped: FocusTimer.playPause()
    }
}
