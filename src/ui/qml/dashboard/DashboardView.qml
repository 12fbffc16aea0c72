pragma ComponentBehavior: Bound
import QtQuick
import QtQuick.Templates as T
import Velto

// The dashboard: a sidebar of sections over the animated background, and the selected
// section in a scrolling detail pane. Tab goes from the sections (the arrow keys move
// among them, Return opens one) to the footer and on into the section; the pane keeps
// the control with the keyboard in sight.
Item {
    id: view
    property string initialSection: "insights"
    property string selectedSection: DashboardNavigation.sectionForId(initialSection)
    property alias backgroundAnimated: background.animated
    readonly property color focusColor: ThemeColors.focusColor
    readonly property alias scroller: scroller
    signal aboutRequested
    signal quitRequested

    function select(section) {
        selectedSection = DashboardNavigation.sectionForId(section)
        DashboardNavigation.selectSection(section)
    }
    /// Scrolls the pane so that `item`, when it is inside the section, is in sight.
    function reveal(item) {
        let inside = item
        while (inside && inside !== page)
            inside = inside.parent
        if (!inside || item === page)
            return
        const top = item.mapToItem(scroller.contentItem, 0, 0).y - 16
        const bottom = top + item.height + 32
        if (top < scroller.contentY)
            scroller.contentY = Math.max(0, top)
        else if (bottom > scroller.contentY + scroller.height)
            scroller.contentY = Math.max(0, Math.min(scroller.contentHeight - scroller.height, bottom - scroller.height))
    }
    Connections {
        target: view.Window.window
        function onActiveFocusItemChanged() {
            const item = view.Window.activeFocusItem
            // A control that goes away with the keyboard on it (a deleted tag's button) hands it
            // back to the view, so Tab goes on from here.
            if (view.Window.active && (item === null || item === view.Window.contentItem))
                view.forceActiveFocus()
            else
                view.reveal(item)
        }
    }

    AnimatedGradientView {
        id: background
        anchors.fill: parent
        colors: ThemeColors
        state: TimerManager.currentState
        isFocusMode: true
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
                FocusGroup {
                    id: sections
                    x: 12
                    width: parent.width - 24
                    height: sectionColumn.height
                    repeater: sectionRows
                    orientation: Qt.Vertical
                    Column {
                        id: sectionColumn
                        width: parent.width
                        spacing: 4
                        Repeater {
                            id: sectionRows
                            model: DashboardNavigation.sections
                            delegate: SidebarRow {
                                width: sectionColumn.width
                                selected: view.selectedSection === modelData.id
                                highlight: Style.alpha(view.focusColor, 0.3)
                                onClicked: view.select(modelData.id)
                            }
                        }
                    }
                }
            }

            Column {
                id: footer
                anchors.bottom: parent.bottom
                anchors.bottomMargin: 16
                width: parent.width
                spacing: 8

                NeoButton {
                    id: makerLink
                    objectName: "makerLink"
                    anchors.horizontalCenter: parent.horizontalCenter
                    width: makerRow.implicitWidth + 20
                    height: makerRow.implicitHeight + 10
                    text: makerName.text
                    radius: 6
                    fill: "transparent"
                    strokeWidth: 0
                    shadowOffset: 0
                    onClicked: DashboardNavigation.openMakerSite()
                    HoverHandler {
                        cursorShape: Qt.PointingHandCursor
                    }
                    Row {
                        id: makerRow
                        anchors.centerIn: parent
                        spacing: 6
                        Image {
                            anchors.verticalCenter: parent.verticalCenter
                            width: 16
                            height: 16
                            source: "qrc:/Velto/images/MurvIcon.svg"
                            sourceSize.width: 32
                            sourceSize.height: 32
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
                }
                Text {
                    Accessible.role: Accessible.StaticText
                    Accessible.name: text
                    objectName: "versionText"
                    anchors.horizontalCenter: parent.horizontalCenter
                    text: DashboardNavigation.versionText
                    font: Style.roundedFont(10, Font.Medium)
                    color: Style.alpha(Style.mutedText, 0.6)
                }
            }

            SymbolButton {
                id: menuButton
                objectName: "menuButton"
                anchors.right: parent.right
                anchors.rightMargin: 10
                anchors.bottom: parent.bottom
                anchors.bottomMargin: 14
                width: 22
                height: 22
                text: qsTr("More")
                toolTip: text
                symbol: "ellipsis"
                symbolSize: 11
                symbolColor: Style.mutedText
                fill: Style.alpha(Style.white, 0.7)
                stroke: Style.alpha(Style.ink, 0.3)
                strokeWidth: 1
                onClicked: appMenu.open()
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
                Accessible.role: Accessible.StaticText
                Accessible.name: text
                id: title
                objectName: "sectionTitle"
                x: 24
                y: 32
                width: parent.width - 48
                text: DashboardNavigation.sectionTitle(view.selectedSection)
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
                // The keyboard scrolls the pane when nothing in it takes the key.
                Keys.onPressed: event => {
                    const range = Math.max(0, contentHeight - height)
                    let to = contentY
                    if (event.key === Qt.Key_PageDown)
                        to += height * 0.9
                    else if (event.key === Qt.Key_PageUp)
                        to -= height * 0.9
                    else
                        return
                    contentY = Math.max(0, Math.min(range, to))
                    event.accepted = true
                }
                T.ScrollBar.vertical: ScrollIndicator {
                    objectName: "scrollIndicator"
                }

                Loader {
                    id: page
                    x: 24
                    width: scroller.width - 48
                    source: {
                        switch (view.selectedSection) {
                        case "tags": return "TagsPage.qml"
                        case "integrations": return "IntegrationsPage.qml"
                        case "settings": return "SettingsPage.qml"
                        default: return "InsightsPage.qml"
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
        }
    }

    // Every section knows the pane it scrolls in (the long lists of Tags make only the rows in sight).
    Binding {
        target: page.item
        property: "viewport"
        value: scroller
        when: page.status === Loader.Ready
    }

    AppMenu {
        id: appMenu
        // Above the menu button at the sidebar's bottom right.
        x: sidebar.width - width - 8
        y: view.height - height - 44
        highlight: Style.alpha(view.focusColor, 0.3)
        onAboutChosen: view.aboutRequested()
        onQuitChosen: view.quitRequested()
    }
}
