import QtQuick
import Velto

// A round button with a symbol in the flat style: outline, hard shadow, and a
// pushed-down look while pressed.
Item {
    id: button
    property string symbol
    property real symbolSize: 14
    property color symbolColor: Style.ink
    property color fill: Style.white
    property color stroke: Style.ink
    property real strokeWidth: 1.5
    property real shadowOpacity: 0
    property real shadowOffset: 2
    property string toolTip
    property alias pressed: tap.pressed
    /// Drawn fainter without being disabled; the tooltip stays readable.
    property real dim: 1
    signal clicked

    width: 36
    height: 36

    NeoSurface {
        opacity: (button.enabled ? 1 : 0.3) * button.dim
        width: parent.width
        height: parent.height
        x: tap.pressed ? button.shadowOffset / 2 : 0
        y: x
        radius: width / 2
        fill: button.fill
        stroke: button.stroke
        strokeWidth: button.strokeWidth
        shadowOpacity: button.shadowOpacity
        shadowX: button.shadowOpacity > 0 ? (tap.pressed ? button.shadowOffset / 2 : button.shadowOffset) : 0
        shadowY: shadowX
        Behavior on x { NumberAnimation { duration: 100; easing.type: Easing.InOutQuad } }

        Symbol {
            anchors.centerIn: parent
            name: button.symbol
            size: button.symbolSize
            color: button.symbolColor
        }
    }
    TapHandler {
        gesturePolicy: TapHandler.ReleaseWithinBounds
        id: tap
        onTapped: button.clicked()
    }
    HoverTip {
        text: button.toolTip
    }
}
