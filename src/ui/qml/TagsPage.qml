import QtQuick
import Velto

// The Tags section: a switch between the time by tag and the tag list.
Column {
    id: page
    property string selectedPanel: "insights"
    // The dashboard's scroll view, handed to the long lists.
    property Flickable viewport: null
    readonly property color focusColor: Colors.focusColor
    spacing: 16
    bottomPadding: 24

    NeoSurface {
        id: panelSwitch
        objectName: "panelSwitch"
        readonly property real segmentWidth: (width - 6) / 2
        width: parent.width - shadowX
        height: 36
        radius: height / 2
        strokeWidth: 2
        shadowOpacity: 0.6
        shadowX: 2
        shadowY: 2

        Rectangle {
            x: 3 + (page.selectedPanel === "manage" ? panelSwitch.segmentWidth : 0)
            y: 3
            width: panelSwitch.segmentWidth
            height: 30
            radius: 15
            color: Style.alpha(page.focusColor, 0.4)
            antialiasing: true
            Behavior on x { Spring { response: 0.3; dampingFraction: 0.75 } }
        }
        Row {
            x: 3
            y: 3
            Repeater {
                model: [
                    { id: "insights", title: qsTr("Insights"), symbol: "chart.pie.fill" },
                    { id: "manage", title: qsTr("Manage"), symbol: "slider.horizontal.3" }
                ]
                delegate: Item {
                    id: segment
                    required property var modelData
                    readonly property bool selected: page.selectedPanel === modelData.id
                    objectName: "panel:" + modelData.id
                    width: panelSwitch.segmentWidth
                    height: 30
                    Accessible.role: Accessible.PageTab
                    Accessible.name: modelData.title
                    Row {
                        anchors.centerIn: parent
                        spacing: 6
                        Symbol {
                            anchors.verticalCenter: parent.verticalCenter
                            name: segment.modelData.symbol
                            size: 12
                            color: segment.selected ? Style.ink : Style.mutedText
                        }
                        Text {
                            anchors.verticalCenter: parent.verticalCenter
                            text: segment.modelData.title
                            font: Style.roundedFont(13, Font.Bold)
                            color: segment.selected ? Style.ink : Style.mutedText
                        }
                    }
                    TapHandler {
                        gesturePolicy: TapHandler.ReleaseWithinBounds
                        onTapped: page.selectedPanel = segment.modelData.id
                    }
                }
            }
        }
    }

    // Each panel fades in when chosen and out when left; a panel that is gone keeps no state.
    Item {
        width: parent.width
        height: page.selectedPanel === "manage" ? managePanel.height : insightsPanel.height

        Loader {
            id: insightsPanel
            width: parent.width
            opacity: page.selectedPanel === "insights" ? 1 : 0
            active: page.selectedPanel === "insights" || opacity > 0
            visible: opacity > 0
            Behavior on opacity { NumberAnimation { duration: 200 } }
            sourceComponent: Component { TagInsightsCard { viewport: page.viewport } }
        }
        Loader {
            id: managePanel
            width: parent.width
            opacity: page.selectedPanel === "manage" ? 1 : 0
            active: page.selectedPanel === "manage" || opacity > 0
            visible: opacity > 0
            Behavior on opacity { NumberAnimation { duration: 200 } }
            sourceComponent: Component { TagManagementCard { viewport: page.viewport } }
        }
    }
}
