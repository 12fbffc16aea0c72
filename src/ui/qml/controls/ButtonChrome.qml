import QtQuick
import Velto

// The flat style's pressable look: a filled shape with an outline over a hard shadow.
// Sunken (pressed, or a chosen chip) the shadow shrinks and the face moves by the
// difference, so it looks pushed down. Dimmed, it fades without its shadow, which would
// show through the half-transparent face as a dirty slab. (A layer fading both as one
// draws black under the software renderer at 200 %.)
Item {
    id: chrome
    property bool sunken: false
    property color fill: Style.white
    property color stroke: Style.ink
    property real strokeWidth: 1.5
    property real radius: height / 2
    property real shadowOpacity: 0
    property real sunkenShadowOpacity: shadowOpacity
    property real shadowOffset: 2
    property real sunkenShadowOffset: shadowOffset / 2
    /// The face settles with a spring rather than a short ease.
    property bool springy: false
    property real dim: 1
    default property alias content: surface.content
    readonly property alias face: surface

    readonly property real shift: sunken ? shadowOffset - sunkenShadowOffset : 0
    property real easedShift: shift
    property real springShift: shift
    readonly property real faceShift: springy ? springShift : easedShift
    Behavior on easedShift { NumberAnimation { duration: 100; easing.type: Easing.InOutQuad } }
    Behavior on springShift { Spring { response: Style.bouncyResponse; dampingFraction: Style.bouncyDamping } }

    Item {
        width: chrome.width
        height: chrome.height
        opacity: chrome.dim

        NeoSurface {
            id: surface
            x: chrome.faceShift
            y: chrome.faceShift
            width: chrome.width
            height: chrome.height
            radius: chrome.radius
            fill: chrome.fill
            stroke: chrome.stroke
            strokeWidth: chrome.strokeWidth
            shadowOpacity: chrome.dim < 1 ? 0 : chrome.sunken ? chrome.sunkenShadowOpacity : chrome.shadowOpacity
            shadowX: chrome.shadowOpacity > 0 ? chrome.shadowOffset - chrome.faceShift : 0
            shadowY: shadowX
        }
    }
}
