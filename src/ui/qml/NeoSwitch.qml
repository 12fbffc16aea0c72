import QtQuick
import Velto

// The flat on/off switch: a 44 × 26 capsule with a knob that slides 9 points
// either side of the centre.
Item {
    id: control
    property bool checked
    property color onColor: Style.mint
    signal toggled

    width: 44
    height: 26
    activeFocusOnTab: true
    Keys.onSpacePressed: control.toggled()
    Accessible.role: Accessible.CheckBox
    Accessible.checked: checked

    Rectangle {
        anchors.fill: parent
        radius: height / 2
        color: control.checked ? control.onColor : Style.alpha(Style.ink, 0.15)
        border.color: Style.ink
        border.width: 1.5
        antialiasing: true
    }
    NeoSurface {
        width: 20
        height: 20
        radius: 10
        y: 3
        x: (control.width - width) / 2 + (control.checked ? 9 : -9)
        strokeWidth: 1.5
        shadowOpacity: 0.5
        shadowX: 1
        shadowY: 1
        Behavior on x { Spring { response: 0.3; dampingFraction: 0.7 } }
    }
    TapHandler {
        gesturePolicy: TapHandler.ReleaseWithinBounds
        onTapped: control.toggled()
    }
}
