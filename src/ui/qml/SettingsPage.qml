import QtQuick
import Velto

// The Settings section: what is planned. The timer lengths are set in the popover.
Column {
    id: page
    readonly property color focusColor: Colors.focusColor
    spacing: 16
    bottomPadding: 24

    Repeater {
        model: [
            { symbol: "clock.fill", title: qsTr("Timer Defaults"),
              subtitle: qsTr("Configure default focus and break durations") },
            { symbol: "bell.fill", title: qsTr("Notifications"),
              subtitle: qsTr("Customize notification sounds and preferences") }
        ]
        delegate: Rectangle {
            id: card
            required property var modelData
            objectName: "settingsCard:" + modelData.title
            width: page.width
            height: Math.max(48, texts.implicitHeight, badge.height) + 32
            radius: 12
            color: Style.alpha(Style.white, 0.7)
            border.color: Style.alpha(Style.ink, 0.2)
            border.width: 1.5
            antialiasing: true

            Rectangle {
                id: tile
                x: 16
                anchors.verticalCenter: parent.verticalCenter
                width: 48
                height: 48
                radius: 10
                color: Style.white
                border.color: Style.alpha(Style.ink, 0.3)
                border.width: 1
                antialiasing: true
                Symbol {
                    anchors.centerIn: parent
                    name: card.modelData.symbol
                    size: 24
                    color: page.focusColor
                }
            }
            Column {
                id: texts
                anchors.left: tile.right
                anchors.leftMargin: 16
                anchors.right: badge.left
                anchors.rightMargin: 16
                anchors.verticalCenter: parent.verticalCenter
                spacing: 4
                Text {
                    width: parent.width
                    text: card.modelData.title
                    elide: Text.ElideRight
                    font: Style.roundedFont(16, Font.Bold)
                    color: Style.ink
                }
                Text {
                    width: parent.width
                    text: card.modelData.subtitle
                    wrapMode: Text.Wrap
                    font: Style.roundedFont(13, Font.Medium)
                    color: Style.mutedText
                }
            }
            Rectangle {
                id: badge
                anchors.right: parent.right
                anchors.rightMargin: 16
                anchors.verticalCenter: parent.verticalCenter
                width: badgeText.implicitWidth + 20
                height: badgeText.implicitHeight + 12
                radius: height / 2
                color: Style.white
                border.color: Style.alpha(Style.ink, 0.3)
                border.width: 1
                antialiasing: true
                Text {
                    id: badgeText
                    anchors.centerIn: parent
                    text: qsTr("Coming Soon")
                    font: Style.roundedFont(11, Font.Bold)
                    color: Style.mutedText
                }
            }
        }
    }
}
