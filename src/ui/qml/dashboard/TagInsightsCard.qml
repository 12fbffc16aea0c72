pragma ComponentBehavior: Bound
import QtQuick
import QtQuick.Templates as T
import Velto

// "Time by Tag": the ring of tagged focus time, its legend and the range switch.
NeoCard {
    id: card
    readonly property color focusColor: ThemeColors.focusColor
    // The page's scroll view, so that long legends make only the rows in sight.
    property Flickable viewport: null
    height: content.implicitHeight + 2 * padding

    FontMetrics {
        id: nameMetrics
        font: Style.roundedFont(13, Font.DemiBold)
    }
    FontMetrics {
        id: sessionsMetrics
        font: Style.roundedFont(11, Font.Normal)
    }

    // The range starts at all time whenever the panel is shown.
    Component.onCompleted: TagInsightsModel.selectSegment("All")

    Column {
        id: content
        x: card.padding
        y: card.padding
        width: card.width - 2 * card.padding
        spacing: 10

        Item {
            width: parent.width
            height: Math.max(heading.implicitHeight, total.height + total.shadowY)
            Column {
                id: heading
                anchors.verticalCenter: parent.verticalCenter
                width: parent.width - total.width - 16
                Text {
                    Accessible.role: Accessible.StaticText
                    Accessible.name: text
                    text: qsTr("Time by Tag")
                    font: Style.roundedFont(16, Font.Bold)
                    color: Style.ink
                }
                Text {
                    Accessible.role: Accessible.StaticText
                    Accessible.name: text
                    width: parent.width
                    text: qsTr("Focus time distribution")
                    font: Style.roundedFont(12, Font.Normal)
                    color: Style.mutedText
                    elide: Text.ElideRight
                }
            }
            NeoSurface {
                id: total
                anchors.right: parent.right
                anchors.rightMargin: shadowX
                anchors.verticalCenter: parent.verticalCenter
                width: totalText.implicitWidth + 20
                height: totalText.implicitHeight + 10
                radius: height / 2
                // Opaque on the white card, so the hard shadow stays behind it.
                fill: Qt.tint(Style.white, Style.alpha(card.focusColor, 0.3))
                strokeWidth: 1
                shadowX: 2
                shadowY: 2
                Text {
                    Accessible.role: Accessible.StaticText
                    Accessible.name: text
                    id: totalText
                    objectName: "tagTotal"
                    anchors.centerIn: parent
                    text: TagInsightsModel.totalLabel
                    font: Style.roundedFont(12, Font.Bold)
                    color: Style.ink
                }
            }
        }

        FocusGroup {
            anchors.horizontalCenter: parent.horizontalCenter
            width: ranges.width
            height: ranges.height
            repeater: rangeButtons
            Row {
                id: ranges
                spacing: 6
                Repeater {
                    id: rangeButtons
                    model: TagInsightsModel.segments
                    delegate: T.RadioButton {
                        id: segment
                        required property string modelData
                        readonly property bool selected: TagInsightsModel.selectedSegment === modelData
                        objectName: "range:" + modelData
                        width: segmentText.implicitWidth + 20
                        height: segmentText.implicitHeight + 10
                        padding: 0
                        focusPolicy: Qt.NoFocus
                        checkable: false
                        autoExclusive: false
                        text: TagInsightsModel.segmentTitle(modelData)
                        checked: selected
                        onClicked: TagInsightsModel.selectSegment(modelData)
                        Keys.onReturnPressed: TagInsightsModel.selectSegment(modelData)
                        Accessible.onPressAction: TagInsightsModel.selectSegment(modelData)
                        Accessible.onToggleAction: TagInsightsModel.selectSegment(modelData)
                        Keys.onEnterPressed: TagInsightsModel.selectSegment(modelData)
                        Rectangle {
                            anchors.fill: parent
                            radius: height / 2
                            color: segment.selected ? Style.alpha(card.focusColor, 0.3) : Style.alpha(Style.ink, 0.05)
                            border.color: segment.selected || segment.visualFocus ? Style.ink : Style.alpha(Style.ink, 0.2)
                            border.width: segment.visualFocus ? 2 : segment.selected ? 1.5 : 1
                            antialiasing: true
                        }
                        Item {
                            anchors.fill: parent
                            Text {
                                id: segmentText
                                anchors.centerIn: parent
                                text: segment.text
                                font: Style.roundedFont(11, Font.Bold)
                                color: segment.selected ? Style.ink : Style.alpha(Style.mutedText, 0.6)
                            }
                        }
                    }
                }
            }
        }

        Column {
            objectName: "tagsEmpty"
            visible: TagInsightsModel.isEmpty
            width: parent.width
            topPadding: 32
            bottomPadding: 32
            spacing: 8
            Text {
                Accessible.role: Accessible.StaticText
                Accessible.name: text
                width: parent.width
                horizontalAlignment: Text.AlignHCenter
                wrapMode: Text.Wrap
                text: qsTr("No tagged sessions yet")
                font: Style.roundedFont(14, Font.DemiBold)
                color: Style.ink
            }
            Text {
                Accessible.role: Accessible.StaticText
                Accessible.name: text
                width: parent.width
                horizontalAlignment: Text.AlignHCenter
                wrapMode: Text.Wrap
                text: qsTr("Tag your focus sessions to see time distribution")
                font: Style.roundedFont(12, Font.Normal)
                color: Style.mutedText
            }
        }

        Item {
            id: chart
            visible: !TagInsightsModel.isEmpty
            width: parent.width
            height: 200
            TagRingChart {
                id: ring
                objectName: "tagRing"
                anchors.fill: parent
                // Read as the figures in its centre and the total beside the title.
                Accessible.role: Accessible.Chart
                Accessible.name: tagCountText.text + " " + tagsCaption.text + ", " + totalText.text
                model: TagInsightsModel
                strokeColor: Style.ink
                strokeWidth: 1.5
            }
            Rectangle {
                anchors.centerIn: parent
                width: ring.radius
                height: ring.radius
                radius: width / 2
                color: Style.white
                border.color: Style.ink
                border.width: 1.5
                antialiasing: true
                Column {
                    anchors.centerIn: parent
                    Text {
                        id: tagCountText
                        objectName: "tagCount"
                        Accessible.ignored: true
                        anchors.horizontalCenter: parent.horizontalCenter
                        text: TagInsightsModel.tagCount
                        font: Style.roundedFont(24, Font.Bold)
                        color: Style.ink
                    }
                    Text {
                        id: tagsCaption
                        Accessible.ignored: true
                        anchors.horizontalCenter: parent.horizontalCenter
                        text: TagInsightsModel.tagCountCaption
                        font: Style.roundedFont(11, Font.Normal)
                        color: Style.mutedText
                    }
                }
            }
        }

        LazyList {
            id: legend
            objectName: "tagLegend"
            visible: !TagInsightsModel.isEmpty
            width: parent.width
            viewport: card.viewport
            spacing: 8
            rowHeight: nameMetrics.height + sessionsMetrics.height + 16
            model: TagInsightsModel
            delegate: Item {
                id: legendRow
                required property string tag
                required property color color
                required property string sessionsText
                required property string minutesText
                objectName: "legend:" + tag
                width: ListView.view.width
                height: legend.rowHeight
                // One line to read: the tag, its time, its sessions.
                Accessible.role: Accessible.StaticText
                Accessible.name: tag + ", " + minutesText + ", " + sessionsText
                Rectangle {
                    anchors.fill: parent
                    radius: 8
                    color: Style.alpha(legendRow.color, 0.1)
                    border.color: Style.alpha(Style.ink, 0.3)
                    border.width: 1
                    antialiasing: true
                }
                Rectangle {
                    id: dot
                    objectName: "legendDot"
                    x: 12
                    anchors.verticalCenter: parent.verticalCenter
                    width: 10
                    height: 10
                    radius: 5
                    color: legendRow.color
                    border.color: Style.ink
                    border.width: 1
                    antialiasing: true
                }
                Column {
                    id: legendText
                    anchors.left: dot.right
                    anchors.leftMargin: 8
                    anchors.right: minutes.left
                    anchors.rightMargin: 8
                    anchors.verticalCenter: parent.verticalCenter
                    Text {
                        width: parent.width
                        text: legendRow.tag
                        textFormat: Text.PlainText
                        horizontalAlignment: Text.AlignLeft
                        elide: Text.ElideRight
                        font: Style.roundedFont(13, Font.DemiBold)
                        color: Style.ink
                    }
                    Text {
                        width: parent.width
                        text: legendRow.sessionsText
                        elide: Text.ElideRight
                        font: Style.roundedFont(11, Font.Normal)
                        color: Style.mutedText
                    }
                }
                Text {
                    id: minutes
                    anchors.right: parent.right
                    anchors.rightMargin: 12
                    anchors.verticalCenter: parent.verticalCenter
                    width: Math.max(50, implicitWidth)
                    horizontalAlignment: Text.AlignHCenter
                    text: legendRow.minutesText
                    font: Style.roundedFont(13, Font.Bold)
                    color: Style.ink
                }
            }
        }
    }
}
