import QtQuick
import QtQuick.Templates as T
import Velto

// The flat on/off switch: a 44 × 26 capsule with a knob that slides 9 points either
// side of the centre. `checked` follows what it is bound to; a click or Space or Return
// only asks, through `toggled`, so a refusal leaves it as it was. Assistive technology
// knows it as a check box.
T.CheckBox {
    id: control
    property color checkedColor: Style.mint
    /// Drawn fainter (still usable); capsule and knob fade as one, so the knob's shadow never
    /// shows through, and the keyboard's ring stays at full strength.
    property real dim: 1

    implicitWidth: 44
    implicitHeight: 26
    padding: 0
    spacing: 0
    // Checkable, so it reads as a check box with its state, but a click changes nothing by itself.
    nextCheckState: () => checkState
    focusPolicy: Qt.TabFocus

    onClicked: toggled()
    Keys.onReturnPressed: clicked()
    Accessible.onPressAction: clicked()
    Accessible.onToggleAction: clicked()
    Keys.onEnterPressed: clicked()

    Item {
        id: face
        width: control.width
        height: control.height
        // Dimmed, the knob casts no shadow that would show through it.
        opacity: control.dim

        Rectangle {
            id: track
            width: control.width
            height: control.height
            radius: height / 2
            color: control.checked ? control.checkedColor : Style.alpha(Style.ink, 0.15)
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
            shadowOpacity: control.dim < 1 ? 0 : 0.5
            shadowX: 1
            shadowY: 1
            Behavior on x { Spring { response: 0.3; dampingFraction: 0.7 } }
        }
    }
    FocusRing {
        target: track
        shown: control.visualFocus
    }
}
