import QtQuick
import Velto

// The big round play/pause button in the active colour; it looks pushed while held.
NeoButton {
    id: button
    objectName: "playButton"
    width: 56
    height: 56
    text: TimerManager.isRunning ? qsTr("Pause") : qsTr("Start")
    fill: MiniTimerViewModel.activeColor
    strokeWidth: 2
    shadowOpacity: 0.8
    sunkenShadowOpacity: 0.4
    shadowOffset: 3
    sunkenShadowOffset: 1
    onClicked: TimerManager.playPause()

    Symbol {
        anchors.centerIn: parent
        // The triangle is optically centred a little to the right.
        anchors.horizontalCenterOffset: TimerManager.isRunning ? 0 : 2
        name: TimerManager.isRunning ? "pause.fill" : "play.fill"
        size: 20
        color: Style.ink
    }
}
