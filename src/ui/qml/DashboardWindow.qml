import QtQuick
import Velto

// A dashboard window: one per request, each with its own section and state.
Window {
    id: window
    property string initialSection: "insights"
    property alias view: content
    signal aboutRequested
    signal quitRequested

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
    onAboutRequested: Navigation.requestAbout()
    onQuitRequested: Navigation.requestQuit()
}
