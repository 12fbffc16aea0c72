import QtQuick
import Velto

// Shows which control the keyboard is on: a ring around `target` while it, or
// something inside it, has the active focus.
Rectangle {
    property Item target
    visible: target !== null && target.activeFocus && target.width > 0
    x: target ? target.x - 4 : 0
    y: target ? target.y - 4 : 0
    width: target ? target.width + 8 : 0
    height: target ? target.height + 8 : 0
    radius: height / 2
    color: "transparent"
    border.color: Style.alpha(Style.ink, 0.6)
    border.width: 2
    antialiasing: true
}
