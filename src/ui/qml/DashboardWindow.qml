import QtQuick
import Velto

// The dashboard window. Velto keeps one: asked for again, it shows the section asked for.
Window {
    id: window
    property string initialSection: "insights"
    property alias view: content
    signal aboutRequested
    signal quitRequested

    // Selecting from outside is not a sidebar tap, so it reports nothing.
    function showSection(section) {
        content.selectedSection = DashboardNavigation.sectionForId(section)
    }

    width: 700
    height: 500
    minimumWidth: 600
    minimumHeight: 400
    maximumWidth: 1200
    maximumHeight: 900
    color: Style.cream
    title: qsTr("Velto")

    DashboardView {
        id: content
        anchors.fill: parent
        focus: true
        initialSection: window.initialSection
        onAboutRequested: window.aboutRequested()
        onQuitRequested: window.quitRequested()
    }
    Shortcut {
        sequence: "Ctrl+Q"
        context: Qt.WindowShortcut
        onActivated: window.quitRequested()
    }
    // One connection in C++ serves every window.
    onAboutRequested: DashboardNavigation.requestAbout()
    onQuitRequested: DashboardNavigation.requestQuit()
}
