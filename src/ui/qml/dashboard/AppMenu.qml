pragma ComponentBehavior: Bound
import QtQuick
import QtQuick.Templates as T
import Velto

// About and Quit, which a menu bar would hold elsewhere. The arrow keys move between
// the items, Return picks one, Escape closes.
T.Menu {
    id: menu
    property color highlight: Style.alpha(Style.coral, 0.3)
    signal aboutChosen
    signal quitChosen

    width: 150
    modal: true
    dim: false
    padding: 4
    implicitHeight: contentItem.implicitHeight + topPadding + bottomPadding

    // Opened from the keyboard, the first item takes it; closed, it goes back where it was.
    property Item opener: null
    property bool fromKeyboard: false
    onAboutToShow: {
        const item = parent ? parent.Window.activeFocusItem : null
        opener = item
        fromKeyboard = item !== null && item.visualFocus === true
    }
    onOpened: {
        if (!fromKeyboard)
            return
        currentIndex = 0
        const first = itemAt(0)
        if (first)
            first.forceActiveFocus(Qt.TabFocusReason)
    }
    onClosed: {
        if (opener && opener.visible)
            opener.forceActiveFocus(fromKeyboard ? Qt.TabFocusReason : Qt.OtherFocusReason)
        opener = null
    }

    component MenuEntry: T.MenuItem {
        id: item
        property string symbol
        width: menu.availableWidth
        height: 30
        padding: 0
        hoverEnabled: true
        background: Rectangle {
            radius: 6
            color: item.hovered || item.highlighted ? menu.highlight : "transparent"
            border.color: Style.ink
            border.width: item.visualFocus ? 2 : 0
        }
        contentItem: Item {
            Row {
                x: 8
                anchors.verticalCenter: parent.verticalCenter
                spacing: 8
                Symbol {
                    anchors.verticalCenter: parent.verticalCenter
                    name: item.symbol
                    size: 12
                    color: Style.ink
                }
                Text {
                    anchors.verticalCenter: parent.verticalCenter
                    text: item.text
                    font: Style.roundedFont(12, Font.DemiBold)
                    color: Style.ink
                }
            }
        }
    }

    background: NeoSurface {
        radius: 10
        strokeWidth: 1.5
        shadowOpacity: 0.5
        shadowX: 2
        shadowY: 2
    }
    contentItem: ListView {
        implicitHeight: contentHeight
        model: menu.contentModel
        interactive: false
        clip: false
        currentIndex: menu.currentIndex
    }

    MenuEntry {
        objectName: "aboutItem"
        symbol: "info.circle"
        text: qsTr("About Velto")
        onTriggered: menu.aboutChosen()
    }
    MenuEntry {
        objectName: "quitItem"
        symbol: "power"
        text: qsTr("Quit Velto")
        onTriggered: menu.quitChosen()
    }
}
