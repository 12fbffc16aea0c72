import QtQuick
import Velto

// The session-tag list over a dimmed popover.
Item {
    id: picker
    anchors.fill: parent
    visible: opacity > 0
    opacity: Popover.tagPickerOpen ? 1 : 0
    Behavior on opacity { Spring { response: 0.3; dampingFraction: 0.8 } }

    Backdrop {
        dim: 0.2
        onDismissed: Popover.closeTagPicker()
    }
    NeoSurface {
        x: 40
        width: parent.width - 80
        height: Math.min(column.implicitHeight + 10, picker.height - 40)
        anchors.verticalCenter: parent.verticalCenter
        radius: 14
        strokeWidth: 2
        shadowOpacity: 0.5
        shadowX: 3
        shadowY: 3
        clip: true

        MouseArea {
            anchors.fill: parent
        }
        Column {
            id: column
            width: parent.width
            spacing: 2
            Item {
                width: parent.width
                height: 12 + title.implicitHeight + 6
                Text {
                    id: title
                    x: 14
                    y: 12
                    text: qsTr("Session Tag")
                    font: Style.roundedFont(13, Font.Bold)
                    color: Style.ink
                }
                Item {
                    // A comfortable target around the small word.
                    objectName: "clearTagButton"
                    visible: Popover.currentTag.length > 0
                    anchors.right: parent.right
                    anchors.verticalCenter: title.verticalCenter
                    width: clear.implicitWidth + 20
                    height: clear.implicitHeight + 10
                    Accessible.role: Accessible.Button
                    Accessible.name: clear.text
                    Text {
                        id: clear
                        anchors.centerIn: parent
                        text: qsTr("Clear")
                        font: Style.roundedFont(11, Font.Bold)
                        color: Style.mutedText
                    }
                    TapHandler {
                        gesturePolicy: TapHandler.ReleaseWithinBounds
                        onTapped: Popover.clearTag()
                    }
                }
            }
            Flickable {
                width: parent.width
                height: Math.min(rows.implicitHeight, picker.height - 120)
                contentHeight: rows.implicitHeight
                clip: true
                boundsBehavior: Flickable.StopAtBounds
                Column {
                    id: rows
                    width: parent.width
                    Repeater {
                        model: Popover.tagRows
                        delegate: Rectangle {
                            id: row
                            required property var modelData
                            objectName: "tagRow:" + modelData.name
                            width: rows.width
                            height: label.implicitHeight + 14
                            radius: 8
                            color: modelData.current ? Style.alpha(modelData.color, 0.15) : "transparent"
                            Accessible.role: Accessible.Button
                            Accessible.name: modelData.name

                            Rectangle {
                                id: dot
                                x: 14
                                anchors.verticalCenter: parent.verticalCenter
                                width: 10
                                height: 10
                                radius: 5
                                color: row.modelData.color
                                border.color: Style.ink
                                border.width: row.modelData.current ? 1.5 : 0.5
                            }
                            Text {
                                id: label
                                anchors.left: dot.right
                                anchors.leftMargin: 8
                                anchors.right: check.left
                                anchors.rightMargin: 8
                                anchors.verticalCenter: parent.verticalCenter
                                text: row.modelData.name
                                elide: Text.ElideRight
                                font: Style.roundedFont(13, row.modelData.current ? Font.Bold : Font.Medium)
                                color: Style.ink
                            }
                            Symbol {
                                id: check
                                anchors.right: parent.right
                                anchors.rightMargin: 14
                                anchors.verticalCenter: parent.verticalCenter
                                visible: row.modelData.current
                                name: "checkmark"
                                size: 11
                            }
                            TapHandler {
                                gesturePolicy: TapHandler.ReleaseWithinBounds
                                onTapped: Popover.chooseTag(row.modelData.name)
                            }
                        }
                    }
                }
            }
        }
    }
}
