import QtQuick
import Velto

// The card look: content on a fill, corner radius 12, a 2-point outline and a
// hard shadow offset (4, 4).
NeoSurface {
    property real padding: 16
    fill: Style.white
    radius: 12
    strokeWidth: 2
    shadowX: 4
    shadowY: 4
}
