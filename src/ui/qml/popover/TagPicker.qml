pragma ComponentBehavior: Bound
import QtQuick
import QtQuick.Templates as T
import Velto

// The session-tag list over a dimmed popover. Escape or a click beside it closes it;
// the arrow keys move between the tags and Return picks one.
NeoPopup {
    id: picker
    title: qsTr("Session Tag")

    width: areaWidth - 80
    height: Math.min(column.implicitHeight + 10, areaHeight - 40)
    x: parent ? Style.centred(parent.width, width) : 0
    y: parent ? Style.centred(parent.height, height) : 0
    closePolicy: T.Popup.CloseOnEscape | T.Popup.CloseOnPressOutside
    T.Overlay.modal: Rectangle {
        color: Qt.rgba(0, 0, 0, 0.2)
    }
    enter: Transition {
        Spring { property: "opacity"; from: 0; to: 1; response: 0.3; dampingFraction: 0.8 }
    }
    exit: Transition {
        Spring { property: "opacity"; from: 1; to: 0; response: 0.3; dampingFraction: 0.8 }
    }

    readonly property bool wanted: MiniTimerViewModel.tagPickerOpen
    onWantedChanged: wanted ? open() : close()
    Component.onCompleted: if (wanted) open()
    onOpened: if (fromKeyboard) rowGroup.forceActiveFocus(Qt.TabFocusReason)
    // Closed while still wanted: Escape or a click beside it.
    onClosed: {
        if (MiniTimerViewModel.tagPickerOpen)
            MiniTimerViewModel.closeTagPicker()
    }

    background: NeoSurface {
        radius: 14
        strokeWidth: 2
        shadowOpacity: 0.5
        shadowX: 3
        shadowY: 3
    }
    FocusScope {
        width: picker.width
        height: picker.height
        Column {
            id: column
            objectName: "tagPicker"
            width: parent.width
            spacing: 2
            Item {
                width: parent.width
                height: 12 + heading.implicitHeight + 6
                Text {
                    id: heading
                    x: 14
                    y: 12
                    text: picker.title
                    font: Style.roundedFont(13, Font.Bold)
                    color: Style.ink
                }
                T.AbstractButton {
                    id: clear
                    // A comfortable target around the small word.
                    objectName: "clearTagButton"
                    visible: MiniTimerViewModel.currentTag.length > 0
                    anchors.right: parent.right
                    anchors.verticalCenter: heading.verticalCenter
                    width: clearText.implicitWidth + 20
                    height: clearText.implicitHeight + 10
                    focusPolicy: Qt.TabFocus
                    text: qsTr("Clear")
                    onClicked: MiniTimerViewModel.clearTag()
                    Keys.onReturnPressed: MiniTimerViewModel.clearTag()
                    Accessible.onPressAction: MiniTimerViewModel.clearTag()
                    Keys.onEnterPressed: MiniTimerViewModel.clearTag()
                    Text {
                        id: clearText
                        anchors.centerIn: parent
                        text: clear.text
                        font: Style.roundedFont(11, Font.Bold)
                        color: Style.mutedText
                    }
                    Rectangle {
                        anchors.fill: parent
                        visible: clear.visualFocus
                        radius: 6
                        color: "transparent"
                        border.color: Style.ink
                        border.width: 2
                    }
                }
            }
            Flickable {
                id: list
                width: parent.width
                height: Math.min(rows.implicitHeight, picker.areaHeight - 120)
                // Given, not measured from the rows: their width comes from the list.
                contentWidth: width
                contentHeight: rows.implicitHeight
                clip: true
                boundsBehavior: Flickable.StopAtBounds

                FocusGroup {
                    id: rowGroup
                    width: list.width
                    height: rows.implicitHeight
                    repeater: tagRows
                    orientation: Qt.Vertical
                    Column {
                        id: rows
                        width: list.width
                        Repeater {
                            id: tagRows
                            model: MiniTimerViewModel.tagRows
                            delegate: T.RadioButton {
                                id: row
                                required property var modelData
                                objectName: "tagRow:" + modelData.name
                                width: rows.width
                                height: label.implicitHeight + 14
                                padding: 0
                                focusPolicy: Qt.NoFocus
                                checkable: false
                                autoExclusive: false
                                text: modelData.name
                                checked: modelData.current
                                onClicked: MiniTimerViewModel.chooseTag(modelData.name)
                                Keys.onReturnPressed: MiniTimerViewModel.chooseTag(modelData.name)
                                Accessible.onPressAction: MiniTimerViewModel.chooseTag(modelData.name)
                                Accessible.onToggleAction: MiniTimerViewModel.chooseTag(modelData.name)
                                Keys.onEnterPressed: MiniTimerViewModel.chooseTag(modelData.name)
                                // Kept in sight while the keyboard walks a long list.
                                onActiveFocusChanged: {
                                    if (!activeFocus)
                                        return
                                    if (y < list.contentY)
                                        list.contentY = y
                                    else if (y + height > list.contentY + list.height)
                                        list.contentY = y + height - list.height
                                }

                                Rectangle {
                                    anchors.fill: parent
                                    radius: 8
                                    color: row.modelData.current ? Style.alpha(row.modelData.color, 0.15) : "transparent"
                                }
                                Rectangle {
                                    anchors.fill: parent
                                    anchors.leftMargin: 4
                                    anchors.rightMargin: 4
                                    visible: row.visualFocus
                                    radius: 8
                                    color: "transparent"
                                    border.color: Style.ink
                                    border.width: 2
                                }
                                Item {
                                    anchors.fill: parent
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
                                        textFormat: Text.PlainText
                                        // Names in right-to-left scripts line up with the others.
                                        horizontalAlignment: Text.AlignLeft
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
                                }
                            }
                        }
                    }
                }
            }
        }
    }
}
