import QtQuick
import QtQuick.Templates as T
import Velto

// A small tip above its parent. It is drawn over everything in the window, overlays
// included, and the parent decides when it shows.
T.ToolTip {
    id: tip
    x: parent ? (parent.width - width) / 2 : 0
    y: -height - 6
    z: 100
    leftPadding: 8
    rightPadding: 8
    topPadding: 4
    bottomPadding: 4
    closePolicy: T.Popup.NoAutoClose
    implicitWidth: contentItem.implicitWidth + leftPadding + rightPadding
    implicitHeight: contentItem.implicitHeight + topPadding + bottomPadding

    background: Rectangle {
        color: Style.ink
        radius: 6
    }
    contentItem: Text {
        text: tip.text
        color: Style.white
        font: Style.roundedFont(11, Font.Bold)
    }
}
