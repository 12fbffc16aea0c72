pragma ComponentBehavior: Bound
import QtQuick
import Velto

// The tag list: add, rename in place, delete after asking; default tags are
// marked and kept. The tag manager decides which names are valid.
NeoCard {
    id: card
    readonly property color focusColor: ThemeColors.focusColor
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
        tagManager: TagManager
    }

    component SmallButton: NeoButton {
        id: smallButton
        property string symbol
        property color symbolColor: Style.mutedText
        width: 26
        height: 26
        radius: 6
        stroke: Style.alpha(Style.ink, 0.3)
        strokeWidth: 1
        shadowOffset: 0
        Symbol {
            anchors.centerIn: parent
            name: smallButton.symbol
            size: 11
            color: smallButton.symbolColor
        }
    }

    // A tag the user just added is scrolled into sight, wherever the list puts it, once the
    // list has grown to hold it.
    property bool revealAdded: false
    property int rowToReveal: -1
    Connections {
        target: manager
        function onRowsInserted(parent, first, last) {
            if (!card.revealAdded)
                return
            card.revealAdded = false
            card.rowToReveal = first
        }
    }
    // The list counts its rows when it lays them out, and only then is the page taller.
    Connections {
        target: list
        function onCountChanged() {
            if (card.rowToReveal >= 0)
                revealLater.restart()
        }
    }
    Timer {
        id: revealLater
        interval: 0
        onTriggered: {
            if (!card.viewport || card.rowToReveal < 0)
                return
            const pane = card.viewport
            const top = list.mapToItem(pane.contentItem, 0, card.rowToReveal * (list.rowHeight + list.spacing)).y
            const bottom = top + list.rowHeight + card.padding + 8
            if (bottom > pane.contentY + pane.height)
                pane.contentY = Math.min(pane.contentHeight - pane.height, bottom - pane.height)
            else if (top < pane.contentY)
                pane.contentY = Math.max(0, top - 16)
            card.rowToReveal = -1
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
            height: Math.max(heading.implicitHeight, addButton.height + addButton.shadowOffset)
            Column {
                id: heading
                anchors.verticalCenter: parent.verticalCenter
                width: parent.width - addButton.width - 16
                spacing: 2
                Text {
                    Accessible.role: Accessible.StaticText
                    Accessible.name: text
                    text: qsTr("Manage Tags")
                    font: Style.roundedFont(16, Font.Bold)
                    color: Style.ink
                }
                Text {
                    Accessible.role: Accessible.StaticText
                    Accessible.name: text
                    objectName: "tagCountText"
                    text: manager.countText
                    font: Style.roundedFont(12, Font.Medium)
                    color: Style.mutedText
                }
            }
            NeoButton {
                id: addButton
                objectName: "addTagButton"
                anchors.right: parent.right
                anchors.rightMargin: 2
                anchors.verticalCenter: parent.verticalCenter
                width: addRow.implicitWidth + 24
                height: addRow.implicitHeight + 12
                text: qsTr("Add Tag")
                fill: Qt.tint(Style.white, Style.alpha(card.focusColor, 0.4))
                strokeWidth: 1.5
                shadowOpacity: 0.4
                shadowOffset: 2
                sunkenShadowOffset: 1
                onClicked: manager.openAddDialog()
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
                        anchors.verticalCenter: parent.verticalCenter
                        text: addButton.text
                        font: Style.roundedFont(12, Font.Bold)
                        color: Style.ink
                    }
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
                    Accessible.role: Accessible.StaticText
                    Accessible.name: text
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
                NeoTextField {
                    objectName: tagRow.isEditing ? "renameField" : ""
                    visible: tagRow.isEditing
                    anchors.left: dot.right
                    anchors.leftMargin: 10
                    anchors.right: trailing.left
                    anchors.rightMargin: 10
                    anchors.verticalCenter: parent.verticalCenter
                    placeholder: qsTr("Tag name")
                    onEdited: text => manager.editedName = text
                    onAccepted: manager.commitRename()
                    onCancelled: manager.cancelRename()
                    // The row's name to start from, all of it selected so typing replaces it.
                    onVisibleChanged: {
                        if (visible) {
                            text = manager.editedName
                            forceActiveFocus()
                            selectAll()
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
                            Accessible.role: Accessible.StaticText
                            Accessible.name: text
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
                            fill: Style.white
                            text: qsTr("Rename")
                            Accessible.description: tagRow.name
                            onClicked: manager.startRename(tagRow.name)
                        }
                        SmallButton {
                            objectName: "delete:" + tagRow.name
                            symbol: "trash"
                            symbolColor: Style.coral
                            fill: Style.alpha(Style.coral, 0.1)
                            text: qsTr("Delete")
                            Accessible.description: tagRow.name
                            onClicked: manager.requestDelete(tagRow.name)
                        }
                    }
                }
            }
        }
    }

    NeoDialog {
        objectName: "addTagDialog"
        shown: manager.showAddAlert
        title: qsTr("Add Tag")
        message: qsTr("Enter a name for your new tag")
        confirmText: qsTr("Add")
        confirmColor: card.focusColor
        onAccepted: {
            card.revealAdded = true
            manager.confirmAdd()
        }
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
                onAccepted: {
                    card.revealAdded = true
                    manager.confirmAdd()
                }
                onCancelled: manager.cancelAdd()
            }
        }
        initialFocus: newName
    }

    NeoDialog {
        objectName: "deleteTagDialog"
        shown: manager.showDeleteConfirm
        title: qsTr("Delete Tag?")
        message: manager.deleteMessage
        confirmText: qsTr("Delete")
        confirmColor: Style.coral
        onAccepted: manager.confirmDelete()
        onCancelled: manager.cancelDelete()
    }
}
