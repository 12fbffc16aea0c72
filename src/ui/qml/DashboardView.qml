import QtQuick
import Velto

// The dashboard: a sidebar of sections over the animated background, and the
// selected section in a scrolling detail pane.
Item {
    id: view
    property string initialSection: "insights"
    property string selectedSection: Navigation.sectionForId(initialSection)
    property alias backgroundAnimated: background.animated
    readonly property color focusColor: Colors.focusColor
    readonly property alias scroller: scroller
    signal aboutRequested
    signal quitRequested

    function select(section) {
        selectedSection = Navigation.sectionForId(section)
        Navigation.selectSection(section)
    }

    AnimatedGradientView {
        id: background
        anchors.fill: parent
        colors: Colors
        state: FocusTimer.currentState
        isFocusMode: true
    }

    component SidebarRow: Item {
        id: row
        required property var modelData
        readonly property bool selected: view.selectedSection === modelData.id
        objectName: "section:" + modelData.id
        width: parent.width
        height: label.implicitHeight + 20
        Accessible.role: Accessible.Button
        Accessible.name: modelData.title

        Rectangle {
            anchors.fill: parent
            radius: 8
            color: Style.alpha(view.focusColor, 0.3)
            border.color: Style.alpha(Style.ink, 0.3)
            border.width: 1
            antialiasing: true
            opacity: row.selected ? 1 : 0
            Behavior on opacity { Spring { response: 0.3; dampingFraction: 0.8 } }
        }
        Row {
            x: 12
            anchors.verticalCenter: parent.verticalCenter
            spacing: 0
            Item {
                width: 20
                height: label.implicitHeight
                Symbol {
                    anchors.centerIn: parent
                    name: row.modelData.symbol
                    size: 14
                    color: row.selected ? Style.ink : Style.mutedText
                }
            }
            Item { width: 8; height: 1 }
            Text {
                id: label
                text: row.modelData.title
                font: Style.roundedFont(14, Font.DemiBold)
                color: row.selected ? Style.ink : Style.mutedText
            }
        }
        TapHandler {
            gesturePolicy: TapHandler.ReleaseWithinBounds
            onTapped: view.select(row.modelData.id)
        }
    }

    Row {
        anchors.fill: parent

        Rectangle {
            id: sidebar
            width: 180
            height: parent.height
            color: Style.alpha(Style.white, 0.5)

            Column {
                id: top
                width: parent.width
                Item { width: 1; height: 32 }
                Row {
                    anchors.horizontalCenter: parent.horizontalCenter
                    spacing: 8
                    Symbol {
                        anchors.verticalCenter: parent.verticalCenter
                        name: "timer"
                        size: 20
                        color: view.focusColor
                    }
                    Text {
                        anchors.verticalCenter: parent.verticalCenter
                        text: qsTr("Velto")
                        font: Style.roundedFont(20, Font.Bold)
                        color: Style.ink
                    }
                }
                Item { width: 1; height: 24 }
                Column {
                    x: 12
                    width: parent.width - 24
                    spacing: 4
                    Repeater {
                        model: Navigation.sections
                        delegate: SidebarRow {}
                    }
                }
            }

            Column {
                id: footer
                anchors.bottom: parent.bottom
                anchors.bottomMargin: 16
                width: parent.width
                spacing: 8

                Item {
                    id: makerLink
                    objectName: "makerLink"
                    anchors.horizontalCenter: parent.horizontalCenter
                    width: makerRow.implicitWidth + 20
                    height: makerRow.implicitHeight + 10
                    Accessible.role: Accessible.Link
                    Accessible.name: makerName.text
                    Row {
                        id: makerRow
                        anchors.centerIn: parent
                        spacing: 6
                        Image {
                            anchors.verticalCenter: parent.verticalCenter
                            width: 16
                            height: 16
                            source: "qrc:/Velto/images/MurvIcon.svg"
                            sourceSize: Qt.size(32, 32)
                            fillMode: Image.PreserveAspectFit
                            smooth: true
                        }
                        Text {
                            id: makerName
                            anchors.verticalCenter: parent.verticalCenter
                            text: qsTr("Murv Studios")
                            font: Style.roundedFont(11, Font.DemiBold)
                            color: Style.mutedText
                        }
                    }
                    HoverHandler {
                        cursorShape: Qt.PointingHandCursor
                    }
                    TapHandler {
                        gesturePolicy: TapHandler.ReleaseWithinBounds
                        onTapped: Navigation.openMakerSite()
                    }
                }
                Text {
                    objectName: "versionText"
                    anchors.horizontalCenter: parent.horizontalCenter
                    text: Navigation.versionText
                    font: Style.roundedFont(10, Font.Medium)
                    color: Style.alpha(Style.mutedText, 0.6)
                }
            }

            // About and Quit, which a menu bar would hold elsewhere.
            PressableCircle {
                id: menuButton
                objectName: "menuButton"
                anchors.right: parent.right
                anchors.rightMargin: 10
                anchors.bottom: parent.bottom
                anchors.bottomMargin: 14
                width: 22
                height: 22
                symbol: "ellipsis"
                symbolSize: 11
                symbolColor: Style.mutedText
                fill: Style.alpha(Style.white, 0.7)
                stroke: Style.alpha(Style.ink, 0.3)
                strokeWidth: 1
                toolTip: qsTr("More")
                Accessible.name: qsTr("More")
                onClicked: appMenu.open = true
            }
        }

        Rectangle {
            width: 1
            height: parent.height
            color: Style.alpha(Style.ink, 0.2)
        }

        Item {
            id: detail
            width: parent.width - sidebar.width - 1
            height: parent.height

            Text {
                id: title
                objectName: "sectionTitle"
                x: 24
                y: 32
                width: parent.width - 48
                text: Navigation.sectionTitle(view.selectedSection)
                font: Style.roundedFont(24, Font.Bold)
                color: Style.ink
                elide: Text.ElideRight
            }

            Flickable {
                id: scroller
                objectName: "detailScroller"
                anchors.top: title.bottom
                anchors.topMargin: 20
                anchors.bottom: parent.bottom
                width: parent.width
                contentWidth: width
                contentHeight: page.height
                clip: true
                boundsBehavior: Flickable.StopAtBounds
                flickableDirection: Flickable.VerticalFlick

                Loader {
                    id: page
                    x: 24
                    width: scroller.width - 48
                    sourceComponent: {
                        switch (view.selectedSection) {
                        case "tags": return tagsPage
                        case "integrations": return integrationsPage
                        case "settings": return settingsPage
                        default: return insightsPage
                        }
                    }
                    onLoaded: {
                        scroller.contentY = 0
                        fade.restart()
                    }
                    NumberAnimation {
                        id: fade
                        target: page
                        property: "opacity"
                        from: 0
                        to: 1
                        duration: 200
                        easing.type: Easing.OutQuad
                    }
                }
            }

            // The scroll indicator: shown whenever the section is taller than the pane.
            Rectangle {
                id: indicator
                objectName: "scrollIndicator"
                visible: scroller.contentHeight > scroller.height + 1
                anchors.right: parent.right
                anchors.rightMargin: 3
                y: scroller.y + scroller.visibleArea.yPosition * scroller.height
                width: drag.pressed || hover.hovered ? 8 : 6
                height: Math.max(24, scroller.visibleArea.heightRatio * scroller.height)
                radius: width / 2
                color: Style.alpha(Style.ink, drag.pressed || hover.hovered ? 0.45 : 0.3)
                HoverHandler { id: hover }
                MouseArea {
                    id: drag
                    anchors.fill: parent
                    anchors.margins: -3
                    property real grabY
                    property real grabContentY
                    onPressed: mouse => {
                        grabY = mapToItem(detail, mouse.x, mouse.y).y
                        grabContentY = scroller.contentY
                    }
                    onPositionChanged: mouse => {
                        const dy = mapToItem(detail, mouse.x, mouse.y).y - grabY
                        const range = scroller.contentHeight - scroller.height
                        const track = scroller.height - indicator.height
                        if (track > 0)
                            scroller.contentY = Math.max(0, Math.min(range, grabContentY + dy * range / track))
                    }
                }
            }
        }
    }

    Component { id: insightsPage; InsightsPage {} }
    Component { id: tagsPage; TagsPage { viewport: scroller } }
    Component { id: integrationsPage; IntegrationsPage {} }
    Component { id: settingsPage; SettingsPage { viewport: scroller } }

    // The About / Quit menu, above the button that opens it.
    Item {
        id: appMenu
        property bool open: false
        anchors.fill: parent
        visible: open
        z: 100
        Backdrop {
            dim: 0
            onDismissed: appMenu.open = false
        }
        NeoSurface {
            id: menuCard
            // Above the menu button at the sidebar's bottom right.
            x: sidebar.width - width - 8
            y: view.height - height - 44
            width: 150
            height: menuColumn.implicitHeight + 8
            radius: 10
            strokeWidth: 1.5
            shadowOpacity: 0.5
            shadowX: 2
            shadowY: 2
            Column {
                id: menuColumn
                x: 4
                y: 4
                width: parent.width - 8
                Repeater {
                    model: [
                        { id: "aboutItem", symbol: "info.circle", text: qsTr("About Velto") },
                        { id: "quitItem", symbol: "power", text: qsTr("Quit Velto") }
                    ]
                    delegate: Rectangle {
                        required property var modelData
                        required property int index
                        objectName: modelData.id
                        width: menuColumn.width
                        height: 30
                        radius: 6
                        color: itemHover.hovered ? Style.alpha(view.focusColor, 0.3) : "transparent"
                        Accessible.role: Accessible.MenuItem
                        Accessible.name: modelData.text
                        Row {
                            x: 8
                            anchors.verticalCenter: parent.verticalCenter
                            spacing: 8
                            Symbol {
                                anchors.verticalCenter: parent.verticalCenter
                                name: modelData.symbol
                                size: 12
                                color: Style.ink
                            }
                            Text {
                                anchors.verticalCenter: parent.verticalCenter
                                text: modelData.text
                                font: Style.roundedFont(12, Font.DemiBold)
                                color: Style.ink
                            }
                        }
                        HoverHandler { id: itemHover }
                        TapHandler {
                            gesturePolicy: TapHandler.ReleaseWithinBounds
                            onTapped: {
                                appMenu.open = false
                                if (index === 0)
                                    view.aboutRequested()
                                else
                                    view.quitRequested()
                            }
                        }
                    }
                }
            }
        }
    }

    Keys.onEscapePressed: appMenu.open = false
}
