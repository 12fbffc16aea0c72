import QtQuick
import QtQuick.Templates as T
import Velto

// Shown until dismissed once: where the colour themes are. "Got it!", Return, Escape or a
// click beside the card dismisses it.
NeoPopup {
    id: tip
    title: qsTr("Customize Colors")
    transformOrigin: T.Popup.TopLeft
    width: areaWidth
    height: areaHeight
    closePolicy: T.Popup.CloseOnEscape
    T.Overlay.modal: Rectangle {
        color: Qt.rgba(0, 0, 0, 0.4)
    }
    enter: Transition {
        NumberAnimation { property: "opacity"; from: 0; to: 1; duration: Style.quickEaseMs; easing.type: Easing.OutQuad }
    }
    exit: Transition {
        NumberAnimation { property: "opacity"; from: 1; to: 0; duration: Style.quickEaseMs; easing.type: Easing.OutQuad }
    }

    readonly property bool wanted: MiniTimerViewModel.colorTipShown
    onWantedChanged: wanted ? open() : close()
    Component.onCompleted: if (wanted) open()
    onOpened: gotIt.forceActiveFocus()
    onClosed: {
        if (MiniTimerViewModel.colorTipShown)
            MiniTimerViewModel.dismissColorTip()
    }

    background: null
    FocusScope {
        width: tip.width
        height: tip.height
        TapHandler {
            gesturePolicy: TapHandler.ReleaseWithinBounds
            onTapped: MiniTimerViewModel.dismissColorTip()
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

            // Clicks on the card stay on the card.
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
                        color: MiniTimerViewModel.focusColor
                    }
                    Text {
                        anchors.verticalCenter: parent.verticalCenter
                        text: tip.title
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
                NeoButton {
                    id: gotIt
                    objectName: "gotItButton"
                    width: parent.width
                    height: gotItText.implicitHeight + 20
                    text: qsTr("Got it!")
                    radius: 8
                    fill: MiniTimerViewModel.focusColor
                    strokeWidth: 1.5
                    shadowOpacity: 0.5
                    shadowOffset: 2
                    onClicked: MiniTimerViewModel.dismissColorTip()
                    Text {
                        id: gotItText
                        anchors.centerIn: parent
                        text: gotIt.text
                        font: Style.roundedFont(12, Font.Bold)
                        color: Style.ink
                    }
                }
            }
        }
    }
}
