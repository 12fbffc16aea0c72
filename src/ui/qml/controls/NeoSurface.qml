import QtQuick
import Velto

// A flat filled shape with an outline and a hard (unblurred) shadow.
Item {
    id: surface
    property color fill: Style.white
    property real radius: 0
    property color stroke: Style.ink
    property real strokeWidth: 0
    property color shadowColor: Style.ink
    property real shadowOpacity: 1
    property real shadowX: 0
    property real shadowY: 0
    default property alias content: face.data
    readonly property alias face: face

    // A shadow is cast by what is opaque: a see-through fill casts a faint one,
    // its outline a full one, so the shadow never shows through the fill as a dark slab.
    Rectangle {
        visible: surface.shadowX !== 0 || surface.shadowY !== 0
        x: surface.shadowX
        y: surface.shadowY
        width: surface.width
        height: surface.height
        radius: surface.radius
        color: Style.alpha(surface.shadowColor, surface.shadowOpacity * surface.fill.a)
        border.color: surface.strokeWidth > 0 ? Style.alpha(surface.shadowColor, surface.shadowOpacity) : "transparent"
        border.width: surface.strokeWidth
        antialiasing: true
    }
    Rectangle {
        id: face
        anchors.fill: parent
        radius: surface.radius
        color: surface.fill
        antialiasing: true
    }
    // The outline goes over the content, as an overlay would.
    Rectangle {
        visible: surface.strokeWidth > 0
        anchors.fill: parent
        radius: surface.radius
        color: "transparent"
        border.color: surface.stroke
        border.width: surface.strokeWidth
        antialiasing: true
    }
}
