pragma ComponentBehavior: Bound
import QtQuick
import Velto

// The Activity card: twelve weeks of days shaded by focus minutes, a legend
// from Less to More, and each day's figure when the pointer rests on it.
NeoCard {
    id: card
    property Item hoveredCell: null
    property string hoveredTip
    height: content.implicitHeight + 2 * padding

    Column {
        id: content
        x: card.padding
        y: card.padding
        width: card.width - 2 * card.padding
        spacing: 12

        Item {
            width: parent.width
            height: Math.max(title.implicitHeight, legend.implicitHeight)
            Text {
                Accessible.role: Accessible.StaticText
                Accessible.name: text
                id: title
                anchors.verticalCenter: parent.verticalCenter
                text: qsTr("Activity")
                font: Style.titleFont
                color: Style.ink
            }
            Row {
                id: legend
                objectName: "heatmapLegend"
                anchors.right: parent.right
                anchors.verticalCenter: parent.verticalCenter
                spacing: 4
                Text {
                    anchors.verticalCenter: parent.verticalCenter
                    text: qsTr("Less")
                    font: Style.roundedFont(9, Font.Medium)
                    color: Style.mutedText
                }
                Repeater {
                    model: HeatmapModel.legendColors
                    delegate: Rectangle {
                        required property string modelData
                        anchors.verticalCenter: parent.verticalCenter
                        width: 12
                        height: 12
                        radius: 3
                        color: modelData
                        border.color: HeatmapModel.borderColor
                        border.width: 0.5
                        antialiasing: true
                    }
                }
                Text {
                    anchors.verticalCenter: parent.verticalCenter
                    text: qsTr("More")
                    font: Style.roundedFont(9, Font.Medium)
                    color: Style.mutedText
                }
            }
        }

        Column {
            anchors.horizontalCenter: parent.horizontalCenter
            spacing: 4
            // The blank top row.
            Text {
                width: 20
                text: ""
                font: Style.roundedFont(9, Font.Medium)
            }
            Row {
                spacing: 4
                Column {
                    spacing: 4
                    Repeater {
                        model: HeatmapModel.rowLabels
                        delegate: Text {
                            required property string modelData
                            width: 20
                            height: 18
                            verticalAlignment: Text.AlignVCenter
                            text: modelData
                            font: Style.roundedFont(9, Font.Medium)
                            color: Style.mutedText
                        }
                    }
                }
                Item {
                    width: grid.width
                    height: grid.height
                    Grid {
                        id: grid
                        objectName: "heatmapGrid"
                        columns: HeatmapModel.columns
                        spacing: 4
                        Repeater {
                            model: HeatmapModel
                            delegate: Rectangle {
                                id: cell
                                required property int index
                                required property string fillColor
                                required property string borderColor
                                required property string tooltip
                                required property int level
                                required property bool isFuture
                                objectName: "heatCell:" + index
                                width: 18
                                height: 18
                                radius: 3
                                color: fillColor
                                border.color: borderColor
                                border.width: 0.5
                                antialiasing: true
                                Accessible.ignored: true
                                HoverHandler {
                                    onHoveredChanged: {
                                        if (hovered) {
                                            card.hoveredCell = cell
                                            card.hoveredTip = cell.tooltip
                                        }
                                        else if (card.hoveredCell === cell)
                                            card.hoveredCell = null
                                    }
                                }
                            }
                        }
                    }
                    // What a screen reader reads: one text per week, over its column.
                    Row {
                        spacing: grid.spacing
                        Repeater {
                            model: HeatmapModel.weekTexts
                            delegate: Item {
                                required property string modelData
                                required property int index
                                objectName: "heatWeek:" + index
                                width: 18
                                height: grid.height
                                Accessible.role: Accessible.StaticText
                                Accessible.name: modelData
                            }
                        }
                    }
                }
            }
        }
    }

    // One tooltip for the whole grid, above the cell under the pointer.
    Timer {
        id: tipDelay
        interval: 500
        running: card.hoveredCell !== null
    }
    Rectangle {
        id: tip
        objectName: "heatmapTooltip"
        readonly property point anchor: card.hoveredCell ? card.hoveredCell.mapToItem(card, card.hoveredCell.width / 2, 0)
                                                         : Qt.point(0, 0)
        visible: card.hoveredCell !== null && !tipDelay.running
        z: 10
        color: Style.ink
        radius: 6
        width: tipText.implicitWidth + 16
        height: tipText.implicitHeight + 8
        x: Math.max(0, Math.min(card.width - width, anchor.x - width / 2))
        y: anchor.y - height - 6
        Text {
            id: tipText
            anchors.centerIn: parent
            text: card.hoveredTip
            color: Style.white
            font: Style.roundedFont(11, Font.Bold)
        }
    }
}
