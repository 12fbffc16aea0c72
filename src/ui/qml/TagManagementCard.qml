import QtQuick
import Velto

// The tag list: add, rename in place, delete after asking; default tags are
// marked and kept. The tag manager decides which names are valid.
NeoCard {
    id: card
    readonly property color focusColor: Colors.focusColor
    readonly property alias model: manager
    // The page's scroll view, so that long lists make only the rows in sight.
    property Flickable viewport: null
    height: content.implicitHeight + 2 * padding

    FontMetrics {
        id: nameMetrics
        font: Style.roundedFont(13, Font.DemiBold)
    }

    TagManagementModel {
        id: manager
        tagManager: Tags
    }

    component SmallButton: Rectangle {
        id: smallButton
        property string symbol
        property color symbolColor: Style.mutedText
        signal clicked
        width: 26
        height: 26
        radius: 6
        border.color: Style.alpha(Style.ink, 0.3)
        border.width: 1
        antialiasing: true
        Accessible.role: Accessible.Button
        Symbol {
            anchors.centerIn: parent
            name: smallButton.symbol
            size: 11
            color: smallButton.symbolColor
        }
        TapHandler {
            gesturePolicy: TapHandler.ReleaseWithinBounds
            onTapped: smallButton.clicked()
        }
    }

    Column {
        id: content
        x: card.padding
        y: card.padding
        width: card.width - 2 * card.padding
        spacing: 12

        Item {
            width: parent.width
            height: Math.max(heading.implicitHeight, addButton.height + addButton.shadowY)
            Column {
                id: heading
                anchors.verticalCenter: parent.verticalCenter
                width: parent.width - addButton.width - 16
                spacing: 2
                Text {
                    text: qsTr("Manage Tags")
                    font: Style.roundedFont(16, Font.Bold)
                    color: Style.ink
                }
                Text {
                    objectName: "tagCountText"
                    text: manager.countText
                    font: Style.roundedFont(12, Font.Medium)
                    color: Style.mutedText
                }
            }
            NeoSurface {
                id: addButton
                objectName: "addTagButton"
                anchors.right: parent.right
                anchors.rightMargin: 2
                anchors.verticalCenter: parent.verticalCenter
                width: addRow.implicitWidth + 24
                height: addRow.implicitHeight + 12
                radius: height / 2
                fill: Qt.tint(Style.white, Style.alpha(card.focusColor, 0.4))
                strokeWidth: 1.5
                shadowOpacity: 0.4
                shadowX: addTap.pressed ? 1 : 2
                shadowY: shadowX
                transform: Translate { x: addTap.pressed ? 1 : 0; y: addTap.pressed ? 1 : 0 }
                Accessible.role: Accessible.Button
                Accessible.name: addText.text
                Row {
                    id: addRow
                    anchors.centerIn: parent
                    spacing: 4
                    Symbol {
                        anchors.verticalCenter: parent.verticalCenter
                        name: "plus"
                        size: 11
                        color: Style.ink
                    }
                    Text {
                        id: addText
                        anchors.verticalCenter: parent.verticalCenter
                        text: qsTr("Add Tag")
                        font: Style.roundedFont(12, Font.Bold)
                        color: Style.ink
                    }
                }
                TapHandler {
                    id: addTap
                    gesturePolicy: TapHandler.ReleaseWithinBounds
                    onTapped: manager.openAddDialog()
                }
            }
        }

        LazyList {
            id: list
            objectName: "tagList"
            width: parent.width
            viewport: card.viewport
            spacing: 6
            // One height for every row, so the list knows where each is without making it.
            rowHeight: Math.max(nameMetrics.height, 26) + 16
            model: manager
            view.removeDisplaced: Transition {
                Spring { properties: "y"; response: 0.3; dampingFraction: 0.8 }
            }
            delegate: Item {
                id: tagRow
                required property string name
                required property color tagColor
                required property bool isDefault
                required property bool isEditing
                objectName: "tagRow:" + name
                width: ListView.view.width
                height: list.rowHeight

                Rectangle {
                    anchors.fill: parent
                    radius: 8
                    color: Style.alpha(tagRow.tagColor, 0.08)
                    border.color: Style.alpha(Style.ink, 0.3)
                    border.width: 1
                    antialiasing: true
                }
                Rectangle {
                    id: dot
                    x: 12
                    anchors.verticalCenter: parent.verticalCenter
                    width: 12
                    height: 12
                    radius: 6
                    color: tagRow.tagColor
                    border.color: Style.ink
                    border.width: 1
                    antialiasing: true
                }
                Text {
                    id: nameText
                    visible: !tagRow.isEditing
                    anchors.left: dot.right
                    anchors.leftMargin: 10
                    anchors.right: trailing.left
                    anchors.rightMargin: 10
                    anchors.verticalCenter: parent.verticalCenter
                    text: tagRow.name
                    textFormat: Text.PlainText
                    horizontalAlignment: Text.AlignLeft
                    elide: Text.ElideRight
                    font: Style.roundedFont(13, Font.DemiBold)
                    color: Style.ink
                }
                Loader {
                    active: tagRow.isEditing
                    anchors.left: dot.right
                    anchors.leftMargin: 10
                    anchors.right: trailing.left
                    anchors.rightMargin: 10
                    anchors.verticalCenter: parent.verticalCenter
                    sourceComponent: Component {
                        NeoTextField {
                            objectName: "renameField"
                            placeholder: qsTr("Tag name")
                            text: manager.editedName
                            onEdited: text => manager.editedName = text
                            onAccepted: manager.commitRename()
                            onCancelled: manager.cancelRename()
                            Component.onCompleted: {
                                input.forceActiveFocus()
                                input.selectAll()
                            }
                        }
                    }
                }
                Item {
                    id: trailing
                    anchors.right: parent.right
                    anchors.rightMargin: 12
                    anchors.verticalCenter: parent.verticalCenter
                    width: tagRow.isDefault ? badge.width : buttons.width
                    height: tagRow.isDefault ? badge.height : buttons.height
                    Rectangle {
                        id: badge
                        visible: tagRow.isDefault
                        width: badgeText.implicitWidth + 12
                        height: badgeText.implicitHeight + 4
                        radius: height / 2
                        color: Style.alpha(Style.ink, 0.05)
                        antialiasing: true
                        Text {
                            id: badgeText
                            anchors.centerIn: parent
                            text: qsTr("Default")
                            font: Style.roundedFont(10, Font.Bold)
                            color: Style.alpha(Style.mutedText, 0.6)
                        }
                    }
                    Row {
                        id: buttons
                        visible: !tagRow.isDefault
                        spacing: 6
                        SmallButton {
                            objectName: "rename:" + tagRow.name
                            symbol: "pencil"
                            color: Style.white
                            Accessible.name: qsTr("Rename")
                            onClicked: manager.startRename(tagRow.name)
                        }
                        SmallButton {
                            objectName: "delete:" + tagRow.name
                            symbol: "trash"
                            symbolColor: Style.coral
                            color: Style.alpha(Style.coral, 0.1)
                            Accessible.name: qsTr("Delete")
                            onClicked: manager.requestDelete(tagRow.name)
                        }
                    }
                }
            }
        }
    }

    NeoDialog {
        objectName: "addTagDialog"
        origin: card
        shown: manager.showAddAlert
        title: qsTr("Add Tag")
        message: qsTr("Enter a name for your new tag")
        confirmText: qsTr("Add")
        confirmColor: card.focusColor
        onAccepted: manager.confirmAdd()
        onCancelled: manager.cancelAdd()

        Rectangle {
            width: parent.width
            height: 34
            radius: 8
            color: Style.white
            border.color: Style.alpha(Style.ink, 0.3)
            border.width: 1
            antialiasing: true
            NeoTextField {
                id: newName
                objectName: "newTagField"
                x: 10
                width: parent.width - 20
                anchors.verticalCenter: parent.verticalCenter
                placeholder: qsTr("Tag name")
                text: manager.newTagName
                onEdited: text => manager.newTagName = text
                onAccepted: manager.confirmAdd()
                onCancelled: manager.cancelAdd()
            }
        }
        initialFocus: newName.input
    }

    NeoDialog {
        objectName: "deleteTagDialog"
        origin: card
        shown: manager.showDeleteConfirm
        title: qsTr("Delete Tag?")
        message: manager.deleteMessage
        confirmText: qsTr("Delete")
        confirmColor: Style.coral
        onAccepted: manager.confirmDelete()
        onCancelled: manager.cancelDelete()
    }
}
