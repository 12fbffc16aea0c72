import QtQuick
import QtQuick.Templates as T
import Velto

// One section in the dashboard's sidebar: its symbol and title, highlighted when selected.
T.TabButton {
    id: row
    required property var modelData
    property bool selected: false
    property color highlight: Style.alpha(Style.coral, 0.3)

    objectName: "section:" + modelData.id
    implicitHeight: label.implicitHeight + 20
    padding: 0
    focusPolicy: Qt.NoFocus
    checkable: false
    autoExclusive: false
    text: modelData.title
    checked: selected
    Keys.onReturnPressed: clicked()
    Accessible.onPressAction: clicked()
    Keys.onEnterPressed: clicked()

    Item {
        anchors.fill: parent
        Rectangle {
            anchors.fill: parent
            radius: 8
            color: row.highlight
            border.color: Style.alpha(Style.ink, 0.3)
            border.width: 1
            antialiasing: true
            opacity: row.selected ? 1 : 0
            Behavior on opacity { Spring { response: 0.3; dampingFraction: 0.8 } }
        }
        Rectangle {
            anchors.fill: parent
            radius: 8
            visible: row.visualFocus
            color: "transparent"
            border.color: Style.ink
            border.width: 2
            antialiasing: true
        }
    }
    Item {
        anchors.fill: parent
        Row {
            x: 12
            anchors.verticalCenter: parent.verticalCenter
            spacing: 0
            Item {
                width: 20
                height: label.implicitHeight
                Symbol {
                    anchors.centerIn: parent
                    name: row.modelData.symbol
                    size: 14
                    color: row.selected ? Style.ink : Style.mutedText
                }
            }
            Item { width: 8; height: 1 }
            Text {
                id: label
                text: row.text
                font: Style.roundedFont(14, Font.DemiBold)
                color: row.selected ? Style.ink : Style.mutedText
            }
        }
    }
}
