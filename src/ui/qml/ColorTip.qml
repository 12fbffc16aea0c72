import QtQuick
import Velto

// Shown until dismissed once: where the colour themes are.
Item {
    id: tip
    anchors.fill: parent
    visible: opacity > 0
    opacity: Popover.colorTipShown ? 1 : 0
    Behavior on opacity { NumberAnimation { duration: Style.quickEaseMs; easing.type: Easing.OutQuad } }

    Backdrop {
        dim: 0.4
        onDismissed: Popover.dismissColorTip()
    }
    Symbol {
        id: arrow
        anchors.horizontalCenter: parent.horizontalCenter
        y: 50 + 4
        name: "arrowtriangle.up.fill"
        size: 14
        color: Style.white
    }
    NeoSurface {
        x: 40
        y: arrow.y + arrow.height - 4
        width: parent.width - 80
        height: content.implicitHeight + 32
        radius: 12
        strokeWidth: 2
        shadowOpacity: 0.4
        shadowX: 3
        shadowY: 3

        MouseArea {
            anchors.fill: parent
        }
        Column {
            id: content
            x: 16
            y: 16
            width: parent.width - 32
            spacing: 8
            Row {
                spacing: 8
                Symbol {
                    anchors.verticalCenter: parent.verticalCenter
                    name: "paintpalette.fill"
                    size: 18
                    color: Popover.focusColor
                }
                Text {
                    anchors.verticalCenter: parent.verticalCenter
                    text: qsTr("Customize Colors")
                    font: Style.roundedFont(14, Font.Bold)
                    color: Style.ink
                }
            }
            Text {
                width: parent.width
                text: qsTr("Long-press Focus or Break to pick a custom color theme.")
                wrapMode: Text.WordWrap
                font: Style.roundedFont(12, Font.Medium)
                color: Style.mutedText
            }
            Item {
                objectName: "gotItButton"
                width: parent.width
                height: gotIt.implicitHeight + 20
                NeoSurface {
                    width: parent.width
                    height: parent.height
                    radius: 8
                    fill: Popover.focusColor
                    strokeWidth: 1.5
                    shadowOpacity: 0.5
                    shadowX: 2
                    shadowY: 2
                    Text {
                        id: gotIt
                        anchors.centerIn: parent
                        text: qsTr("Got it!")
                        font: Style.roundedFont(12, Font.Bold)
                        color: Style.ink
                    }
                }
                TapHandler {
                    gesturePolicy: TapHandler.ReleaseWithinBounds
                    onTapped: Popover.dismissColorTip()
                }
            }
        }
    }
}
