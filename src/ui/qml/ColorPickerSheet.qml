import QtQuick
import Velto

// Chooses the focus or the break colour from the palette; nothing changes until "Apply".
NeoSurface {
    id: sheet
    property ColorPickerModel model
    signal applied
    signal cancelled

    width: 220
    height: column.implicitHeight + 32
    radius: 12
    strokeWidth: 2
    shadowOpacity: 0.4
    shadowX: 4
    shadowY: 4

    component PickerButton: Item {
        id: pickerButton
        property string text
        property bool isCancel
        signal clicked
        width: label.implicitWidth + 32
        height: label.implicitHeight + 16
        NeoSurface {
            width: parent.width
            height: parent.height
            x: tap.pressed ? 2 : 0
            y: x
            radius: 8
            fill: pickerButton.isCancel ? Style.alpha(Style.systemGray, 0.1) : Style.mint
            strokeWidth: 1.5
            shadowOpacity: tap.pressed ? 0.2 : 0.5
            shadowX: tap.pressed ? 0 : 2
            shadowY: shadowX
            Text {
                id: label
                anchors.centerIn: parent
                text: pickerButton.text
                font: Style.roundedFont(12, Font.DemiBold)
                color: Style.ink
            }
        }
        TapHandler {
            gesturePolicy: TapHandler.ReleaseWithinBounds
            id: tap
            onTapped: pickerButton.clicked()
        }
    }

    MouseArea {
        anchors.fill: parent
    }
    Column {
        id: column
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
                text: sheet.model && sheet.model.isForFocus ? qsTr("Customize Focus") : qsTr("Customize Break")
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
        Grid {
            anchors.horizontalCenter: parent.horizontalCenter
            columns: 4
            rowSpacing: 10
            columnSpacing: 8
            Repeater {
                model: Colors.options
                delegate: Item {
                    id: swatch
                    required property var modelData
                    readonly property bool selected: sheet.model && sheet.model.selectedColorId === modelData.id
                    objectName: "swatch:" + modelData.id
                    width: 36
                    height: 36
                    Accessible.role: Accessible.RadioButton
                    Accessible.name: modelData.name
                    Accessible.checked: selected
                    NeoSurface {
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
                    TapHandler {
                        gesturePolicy: TapHandler.ReleaseWithinBounds
                        onTapped: sheet.model.select(swatch.modelData.id)
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
