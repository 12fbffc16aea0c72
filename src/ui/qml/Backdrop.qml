import QtQuick
import Velto

// A dimmed full-size layer under an overlay; a tap on it dismisses the overlay.
Rectangle {
    id: backdrop
    property real dim: 0.2
    signal dismissed
    anchors.fill: parent
    color: Qt.rgba(0, 0, 0, dim)
    TapHandler {
        gesturePolicy: TapHandler.ReleaseWithinBounds
        onTapped: backdrop.dismissed()
    }
}
