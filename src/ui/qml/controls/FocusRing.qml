import QtQuick
import Velto

// Shows which control the keyboard is on: a ring in ink 4 points around `target`,
// drawn while `shown`.
Rectangle {
    property Item target
    property bool shown: target !== null && target.activeFocus
    property real targetRadius: target ? target.height / 2 : 0
    visible: shown && target !== null && target.width > 0
    x: target ? target.x - 4 : 0
    y: target ? target.y - 4 : 0
    width: target ? target.width + 8 : 0
    height: target ? target.height + 8 : 0
    radius: targetRadius + 4
    color: "transparent"
    border.color: Style.ink
    border.width: 2
    antialiasing: true
}
