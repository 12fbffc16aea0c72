import QtQuick
import Velto

// The Tags section: a switch between the time by tag and the tag list.
Column {
    id: page
    property string selectedPanel: "insights"
    // The dashboard's scroll view, handed to the long lists.
    property Flickable viewport: null
    readonly property color focusColor: ThemeColors.focusColor
    spacing: 16
    bottomPadding: 24

    SegmentedSwitch {
        objectName: "panelSwitch"
        width: parent.width - 2
        segments: [
            { id: "insights", title: qsTr("Insights"), symbol: "chart.pie.fill" },
            { id: "manage", title: qsTr("Manage"), symbol: "slider.horizontal.3" }
        ]
        selected: page.selectedPanel
        tint: Style.alpha(page.focusColor, 0.4)
        onChosen: id => page.selectedPanel = id
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
            source: "TagInsightsCard.qml"
        }
        Binding {
            target: insightsPanel.item
            property: "viewport"
            value: page.viewport
            when: insightsPanel.status === Loader.Ready
        }
        Loader {
            id: managePanel
            width: parent.width
            opacity: page.selectedPanel === "manage" ? 1 : 0
            active: page.selectedPanel === "manage" || opacity > 0
            visible: opacity > 0
            Behavior on opacity { NumberAnimation { duration: 200 } }
            source: "TagManagementCard.qml"
        }
        Binding {
            target: managePanel.item
            property: "viewport"
            value: page.viewport
            when: managePanel.status === Loader.Ready
        }
    }
}
