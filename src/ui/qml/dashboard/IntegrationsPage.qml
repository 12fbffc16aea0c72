import QtQuick
import Velto

// The Integrations section: Calmix, whether it runs, what syncing does, the
// switch, and where to get it; then the same sync with any media player.
Column {
    id: page
    /// The dashboard's scroll view the page sits in.
    property Flickable viewport: null
    readonly property color focusColor: ThemeColors.focusColor
    spacing: 16
    bottomPadding: 24

    FontMetrics {
        id: bodyMetrics
        font: Style.roundedFont(12, Font.Medium)
    }

    NeoCard {
        id: card
        width: page.width - 4
        height: content.implicitHeight + 2 * padding

        Column {
            id: content
            x: 16
            y: 16
            width: parent.width - 32
            spacing: 14

            Item {
                width: parent.width
                height: Math.max(40, names.implicitHeight, syncSwitch.height)
                Image {
                    id: icon
                    anchors.verticalCenter: parent.verticalCenter
                    width: 40
                    height: 40
                    source: "qrc:/Velto/images/CalmixIcon.svg"
                    sourceSize.width: 80
                    sourceSize.height: 80
                    smooth: true
                    Rectangle {
                        anchors.fill: parent
                        radius: 8
                        color: "transparent"
                        border.color: Style.alpha(Style.ink, 0.3)
                        border.width: 1
                        antialiasing: true
                    }
                }
                Column {
                    id: names
                    anchors.left: icon.right
                    anchors.leftMargin: 12
                    anchors.right: syncSwitch.left
                    anchors.rightMargin: 12
                    anchors.verticalCenter: parent.verticalCenter
                    Text {
                        Accessible.role: Accessible.StaticText
                        Accessible.name: text
                        text: qsTr("Calmix")
                        font: Style.roundedFont(16, Font.Bold)
                        color: Style.ink
                    }
                    Text {
                        Accessible.role: Accessible.StaticText
                        Accessible.name: text
                        width: parent.width
                        text: qsTr("Lo-fi radio for focus & mood")
                        elide: Text.ElideRight
                        font: Style.roundedFont(12, Font.Medium)
                        color: Style.mutedText
                    }
                }
                NeoSwitch {
                    id: syncSwitch
                    objectName: "syncSwitch"
                    anchors.right: parent.right
                    anchors.verticalCenter: parent.verticalCenter
                    checked: IntegrationsViewModel.connected
                    checkedColor: page.focusColor
                    dim: IntegrationsViewModel.running ? 1 : 0.4
                    text: qsTr("Sync music with focus")
                    onToggled: IntegrationsViewModel.pressSwitch()
                }
            }

            Column {
                width: parent.width
                spacing: 4
                Text {
                    Accessible.role: Accessible.StaticText
                    Accessible.name: text
                    text: qsTr("What it does")
                    font: Style.roundedFont(13, Font.Bold)
                    color: Style.ink
                }
                Text {
                    Accessible.role: Accessible.StaticText
                    Accessible.name: text
                    width: parent.width
                    text: qsTr("Music starts when you start focusing, and pauses when you take a break. No switching apps, no distractions - just hit play on your focus session and the right soundtrack is already there.")
                    wrapMode: Text.Wrap
                    lineHeightMode: Text.FixedHeight
                    lineHeight: bodyMetrics.height + 3
                    font: bodyMetrics.font
                    color: Style.mutedText
                }
            }

            Rectangle {
                objectName: "statusRow"
                width: parent.width
                height: statusText.implicitHeight + 16
                radius: 8
                color: IntegrationsViewModel.connected ? Style.alpha(Style.systemGreen, 0.08) : Style.alpha(Style.ink, 0.03)
                border.color: Style.alpha(Style.ink, 0.15)
                border.width: 1
                antialiasing: true
                Rectangle {
                    id: statusDot
                    x: 12
                    anchors.verticalCenter: parent.verticalCenter
                    width: 8
                    height: 8
                    radius: 4
                    color: IntegrationsViewModel.running ? Style.systemGreen : Style.alpha(Style.mutedText, 0.4)
                    antialiasing: true
                }
                Text {
                    Accessible.role: Accessible.StaticText
                    Accessible.name: text
                    id: statusText
                    objectName: "statusText"
                    anchors.left: statusDot.right
                    anchors.leftMargin: 8
                    anchors.right: parent.right
                    anchors.rightMargin: 12
                    anchors.verticalCenter: parent.verticalCenter
                    wrapMode: Text.Wrap
                    text: IntegrationsViewModel.statusText
                    font: Style.roundedFont(11, Font.DemiBold)
                    color: IntegrationsViewModel.connected ? Style.alpha(Style.systemGreen, 0.8) : Style.mutedText
                }
            }

            NeoButton {
                id: download
                objectName: "downloadLink"
                visible: !IntegrationsViewModel.running
                width: downloadRow.implicitWidth + 28
                height: downloadRow.implicitHeight + 16
                text: qsTr("Get Calmix free from Murv Tools")
                radius: 8
                fill: Style.alpha(page.focusColor, 0.1)
                stroke: Style.alpha(page.focusColor, 0.3)
                strokeWidth: 1
                shadowOffset: 0
                onClicked: DashboardNavigation.openToolsPage()
                HoverHandler {
                    cursorShape: Qt.PointingHandCursor
                }
                Row {
                    id: downloadRow
                    anchors.centerIn: parent
                    spacing: 6
                    Symbol {
                        anchors.verticalCenter: parent.verticalCenter
                        name: "arrow.down.circle.fill"
                        size: 12
                        color: page.focusColor
                    }
                    Text {
                        anchors.verticalCenter: parent.verticalCenter
                        text: download.text
                        font: Style.roundedFont(12, Font.Bold)
                        color: page.focusColor
                    }
                }
            }
        }
    }

    NeoCard {
        objectName: "mediaPlayersCard"
        width: page.width - 4
        height: Math.max(40, playerTexts.implicitHeight, playersSwitch.height) + 32

        Rectangle {
            id: playersTile
            x: 16
            anchors.verticalCenter: parent.verticalCenter
            width: 40
            height: 40
            radius: 8
            color: Style.alpha(page.focusColor, 0.1)
            border.color: Style.alpha(Style.ink, 0.3)
            border.width: 1
            antialiasing: true
            Symbol {
                anchors.centerIn: parent
                name: "music.note.list"
                size: 20
                color: page.focusColor
            }
        }
        Column {
            id: playerTexts
            anchors.left: playersTile.right
            anchors.leftMargin: 12
            anchors.right: playersSwitch.left
            anchors.rightMargin: 12
            anchors.verticalCenter: parent.verticalCenter
            Text {
                Accessible.role: Accessible.StaticText
                Accessible.name: text
                text: qsTr("Media players")
                font: Style.roundedFont(16, Font.Bold)
                color: Style.ink
            }
            Text {
                Accessible.role: Accessible.StaticText
                Accessible.name: text
                objectName: "mediaPlayersText"
                width: parent.width
                text: qsTr("Pauses the music you're playing for breaks, resumes it for focus")
                wrapMode: Text.Wrap
                font: Style.roundedFont(12, Font.Medium)
                color: Style.mutedText
            }
        }
        NeoSwitch {
            id: playersSwitch
            objectName: "mediaPlayersSwitch"
            anchors.right: parent.right
            anchors.rightMargin: 16
            anchors.verticalCenter: parent.verticalCenter
            checked: IntegrationsViewModel.mediaPlayersSync
            checkedColor: page.focusColor
            text: qsTr("Sync media players with focus")
            onToggled: IntegrationsViewModel.pressMediaPlayersSwitch()
        }
    }
}
