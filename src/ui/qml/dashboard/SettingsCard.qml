import QtQuick
import Velto

// A settings card: an icon tile, the title and a subtitle, a control beside them
// for a card with a single switch, and the card's rows below.
Rectangle {
    id: card
    property string symbol
    property string title
    property string subtitle
    property color accentColor: Style.coral
    /// False hides the rows, and the rule above them.
    property bool hasRows: true
    property alias accessory: accessorySlot.data
    default property alias rows: body.data

    height: content.implicitHeight + 32
    radius: 12
    color: Style.alpha(Style.white, 0.7)
    border.color: Style.alpha(Style.ink, 0.2)
    border.width: 1.5
    antialiasing: true

    Column {
        id: content
        x: 16
        y: 16
        width: parent.width - 32
        spacing: 14

        Item {
            width: parent.width
            height: Math.max(48, texts.implicitHeight, accessorySlot.height)

            Rectangle {
                id: tile
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
                    name: card.symbol
                    size: 24
                    color: card.accentColor
                }
            }
            Column {
                id: texts
                anchors.left: tile.right
                anchors.leftMargin: 16
                anchors.right: accessorySlot.left
                anchors.rightMargin: accessorySlot.width > 0 ? 16 : 0
                anchors.verticalCenter: parent.verticalCenter
                spacing: 4
                Text {
                    Accessible.role: Accessible.StaticText
                    Accessible.name: text
                    width: parent.width
                    text: card.title
                    elide: Text.ElideRight
                    font: Style.roundedFont(16, Font.Bold)
                    color: Style.ink
                }
                Text {
                    Accessible.role: Accessible.StaticText
                    Accessible.name: text
                    width: parent.width
                    text: card.subtitle
                    wrapMode: Text.Wrap
                    font: Style.roundedFont(13, Font.Medium)
                    color: Style.mutedText
                }
            }
            Item {
                id: accessorySlot
                anchors.right: parent.right
                anchors.verticalCenter: parent.verticalCenter
                width: childrenRect.width
                height: childrenRect.height
            }
        }

        Rectangle {
            visible: card.hasRows
            width: parent.width
            height: 1
            color: Style.alpha(Style.ink, 0.12)
        }
        Column {
            id: body
            visible: card.hasRows
            width: parent.width
            spacing: 14
        }
    }
}
