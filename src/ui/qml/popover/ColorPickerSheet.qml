pragma ComponentBehavior: Bound
import QtQuick
import QtQuick.Templates as T
import Velto

// Chooses the focus or the break colour from the palette over a dimmed popover; nothing
// changes until "Apply". Escape or a click beside the sheet cancels; the arrow keys move
// between the colours.
NeoPopup {
    id: sheet
    property ColorPickerModel model
    signal applied
    signal cancelled
    title: model && model.isForFocus ? qsTr("Customize Focus") : qsTr("Customize Break")

    width: 220
    height: column.implicitHeight + 32
    x: parent ? Style.centred(parent.width, width) : 0
    y: parent ? Style.centred(parent.height, height) : 0
    closePolicy: T.Popup.CloseOnEscape | T.Popup.CloseOnPressOutside
    // Grows into place on top of however far the popover has shrunk.
    property real entrance: 1
    scale: contentScale * entrance
    T.Overlay.modal: Rectangle {
        color: Qt.rgba(0, 0, 0, 0.3)
    }
    enter: Transition {
        ParallelAnimation {
            Spring { property: "opacity"; from: 0; to: 1; response: 0.3; dampingFraction: 0.825 }
            Spring { property: "entrance"; from: 0.9; to: 1; response: 0.3; dampingFraction: 0.825 }
        }
    }

    readonly property bool wanted: MiniTimerViewModel.colorPickerOpen
    onWantedChanged: wanted ? open() : close()
    Component.onCompleted: if (wanted) open()
    onOpened: if (fromKeyboard) swatches.forceActiveFocus(Qt.TabFocusReason)
    // Closed while still wanted: Escape or a click beside it.
    onClosed: if (MiniTimerViewModel.colorPickerOpen) sheet.cancelled()

    component PickerButton: NeoButton {
        id: pickerButton
        property bool isCancel
        width: label.implicitWidth + 32
        height: label.implicitHeight + 16
        radius: 8
        fill: isCancel ? Style.alpha(Style.systemGray, 0.1) : Style.mint
        strokeWidth: 1.5
        shadowOpacity: 0.5
        sunkenShadowOpacity: 0.2
        shadowOffset: 2
        sunkenShadowOffset: 0
        Text {
            id: label
            anchors.centerIn: parent
            text: pickerButton.text
            font: Style.roundedFont(12, Font.DemiBold)
            color: Style.ink
        }
    }

    background: NeoSurface {
        radius: 12
        strokeWidth: 2
        shadowOpacity: 0.4
        shadowX: 4
        shadowY: 4
    }
    FocusScope {
        width: sheet.width
        height: sheet.height
        Column {
            id: column
            objectName: "colorPicker"
            x: 16
            y: 16
            width: parent.width - 32
            spacing: 16

            Row {
                spacing: 8
                Symbol {
                    anchors.verticalCenter: parent.verticalCenter
                    name: sheet.model && sheet.model.isForFocus ? "flame.fill" : "cup.and.saucer.fill"
                    size: 14
                }
                Text {
                    anchors.verticalCenter: parent.verticalCenter
                    text: sheet.title
                    font: Style.roundedFont(14, Font.Bold)
                    color: Style.ink
                }
            }
            NeoSurface {
                anchors.horizontalCenter: parent.horizontalCenter
                width: 60
                height: 60
                radius: 30
                fill: sheet.model ? sheet.model.previewColor : Style.mint
                strokeWidth: 2
                shadowOpacity: 0.5
                shadowX: 2
                shadowY: 2
                Behavior on fill { ColorAnimation { duration: 300 } }
            }
            FocusGroup {
                id: swatches
                anchors.horizontalCenter: parent.horizontalCenter
                width: grid.width
                height: grid.height
                repeater: swatchRepeater
                orientation: Qt.Horizontal | Qt.Vertical
                columns: grid.columns
                Grid {
                    id: grid
                    columns: 4
                    rowSpacing: 10
                    columnSpacing: 8
                    Repeater {
                        id: swatchRepeater
                        model: ThemeColors.options
                        delegate: T.RadioButton {
                            id: swatch
                            required property var modelData
                            readonly property bool selected: sheet.model !== null && sheet.model.selectedColorId === modelData.id
                            objectName: "swatch:" + modelData.id
                            width: 36
                            height: 36
                            padding: 0
                            focusPolicy: Qt.NoFocus
                            checkable: false
                            autoExclusive: false
                            text: modelData.name
                            checked: selected
                            onClicked: sheet.model.select(modelData.id)
                            Keys.onReturnPressed: sheet.model.select(modelData.id)
                            Accessible.onPressAction: sheet.model.select(modelData.id)
                            Accessible.onToggleAction: sheet.model.select(modelData.id)
                            Keys.onEnterPressed: sheet.model.select(modelData.id)
                            Item {
                                anchors.fill: parent
                                NeoSurface {
                                    id: swatchFace
                                    anchors.fill: parent
                                    radius: 18
                                    fill: swatch.modelData.color
                                    strokeWidth: swatch.selected ? 2 : 0
                                    shadowOpacity: 0.5
                                    shadowX: swatch.selected ? 1 : 0
                                    shadowY: shadowX
                                    Symbol {
                                        anchors.centerIn: parent
                                        visible: swatch.selected
                                        name: "checkmark"
                                        size: 14
                                        color: Style.white
                                    }
                                }
                                FocusRing {
                                    target: swatchFace
                                    shown: swatch.visualFocus
                                }
                            }
                        }
                    }
                }
            }
            Row {
                anchors.horizontalCenter: parent.horizontalCenter
                spacing: 12
                PickerButton {
                    text: qsTr("Cancel")
                    isCancel: true
                    onClicked: sheet.cancelled()
                }
                PickerButton {
                    objectName: "applyColorButton"
                    text: qsTr("Apply")
                    onClicked: sheet.applied()
                }
            }
        }
    }
}
