import QtQuick
import Velto

// A thin bar that fills as far as the daily goal is done (`progress`, 0 to 1).
Rectangle {
    id: bar
    property real progress
    property color fillColor: Style.ink

    height: 4
    radius: height / 2
    color: Style.alpha(Style.ink, 0.12)
    Accessible.role: Accessible.ProgressBar
    Accessible.name: qsTr("Daily goal")
    Accessible.description: qsTr("%1 % done").arg(Math.round(Math.min(1, progress) * 100))

    Rectangle {
        width: parent.width * Math.min(1, bar.progress)
        height: parent.height
        radius: parent.radius
        color: bar.fillColor
        border.color: Style.alpha(Style.ink, 0.35)
        border.width: 0.5
        antialiasing: true
    }
}
