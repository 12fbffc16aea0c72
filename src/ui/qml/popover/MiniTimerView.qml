import QtQuick
import Velto

// The popover: tabs, presets, countdown, ring and play button, tag, today's figures,
// shortcuts to the dashboard, and the controls row. Tab walks the controls in that
// order, Return acts on the one with the keyboard, and Space plays or pauses wherever
// the keyboard is. Escape closes the innermost overlay, then the popover.
Item {
    id: view
    width: 320
    height: 540
    property alias backgroundAnimated: background.animated
    /// Below 1 where the window shrinks the view; the overlays shrink with it.
    property real contentScale: 1
    /// Per-second animations run only while the popover is on screen; a hidden one costs nothing.
    readonly property bool live: Window.visibility !== Window.Hidden
    signal escapePressed

    onLiveChanged: {
        MiniTimerViewModel.setLive(live)
        // Shown again, the keyboard starts afresh rather than where it was left.
        if (live)
            view.forceActiveFocus()
    }
    Component.onCompleted: MiniTimerViewModel.setLive(live)

    Keys.onEscapePressed: view.escapePressed()
    // A control that goes away or turns off with the keyboard on it (Reset, once used) hands
    // it back to the view, so Escape and Tab go on working.
    Connections {
        target: view.Window.window
        function onActiveFocusItemChanged() {
            const item = view.Window.activeFocusItem
            if (view.live && view.Window.active && (item === null || item === view.Window.contentItem))
                view.forceActiveFocus()
        }
    }
    Shortcut {
        sequence: "Space"
        onActivated: TimerManager.playPause()
    }

    AnimatedGradientView {
        id: background
        anchors.fill: parent
        colors: ThemeColors
        state: TimerManager.currentState
        isFocusMode: MiniTimerViewModel.focusTabSelected
    }

    Column {
        id: main
        x: 24
        width: parent.width - 48
        spacing: 0

        Item { width: 1; height: 16 }
        Column {
            width: parent.width
            spacing: 12
            TimerTabBar {
                width: parent.width
            }
            PresetChips {
                anchors.horizontalCenter: parent.horizontalCenter
            }
        }
        Item { width: 1; height: 24 }
        Column {
            width: parent.width
            spacing: 4
            Text {
                Accessible.role: Accessible.StaticText
                Accessible.name: text
                objectName: "statusText"
                anchors.horizontalCenter: parent.horizontalCenter
                text: MiniTimerViewModel.statusText
                font: Style.roundedFont(13, Font.Bold)
                color: Style.mutedText
            }
            RollingClock {
                objectName: "countdown"
                anchors.horizontalCenter: parent.horizontalCenter
                width: 220
                text: MiniTimerViewModel.timeText
                animated: view.live
            }
        }
        Item { width: 1; height: 24 }
        Item {
            anchors.horizontalCenter: parent.horizontalCenter
            width: 100
            height: 100
            ProgressRing {
                anchors.centerIn: parent
                width: 100 + lineWidth
                height: width
                lineWidth: 5
                color: Style.ink
                trackColor: Style.alpha(Style.ink, 0.08)
                progress: MiniTimerViewModel.progress
                Behavior on progress {
                    enabled: view.live
                    NumberAnimation { duration: 250; easing.type: Easing.InOutQuad }
                }
            }
            PlayButton {
                anchors.centerIn: parent
            }
        }
        Item {
            id: tagSlot
            width: parent.width
            readonly property bool shown: MiniTimerViewModel.showsTagChip
            height: shown ? chip.height + 8 : 0
            TagChip {
                id: chip
                anchors.horizontalCenter: parent.horizontalCenter
                y: 8
                name: MiniTimerViewModel.currentTag
                tagColor: MiniTimerViewModel.currentTagColor
                opacity: tagSlot.shown ? 1 : 0
                scale: tagSlot.shown ? 1 : 0.6
                visible: opacity > 0
                Behavior on opacity { NumberAnimation { duration: 200 } }
                Behavior on scale { NumberAnimation { duration: 200; easing.type: Easing.OutBack } }
            }
        }
        Item { width: 1; height: tagSlot.shown ? 12 : 24 }
        StatsCard {
            id: stats
            anchors.horizontalCenter: parent.horizontalCenter
        }
        Item { width: 1; height: 12 }
        Row {
            anchors.horizontalCenter: parent.horizontalCenter
            spacing: 12
            SymbolButton {
                readonly property bool tagged: MiniTimerViewModel.currentTag.length > 0
                objectName: "tagButton"
                visible: MiniTimerViewModel.focusTabSelected
                text: qsTr("Session tag")
                toolTip: text
                symbol: tagged ? "tag.fill" : "tag"
                symbolColor: tagged ? Style.ink : Style.mutedText
                fill: tagged ? Style.alpha(MiniTimerViewModel.focusColor, 0.5) : Style.alpha(Style.white, 0.7)
                stroke: tagged ? Style.ink : Style.alpha(Style.ink, 0.5)
                strokeWidth: tagged ? 1.5 : 1
                onClicked: MiniTimerViewModel.toggleTagPicker()
            }
            SymbolButton {
                objectName: "insightsButton"
                text: qsTr("Insights")
                toolTip: text
                symbol: "chart.bar.fill"
                fill: Style.alpha(Style.white, 0.7)
                stroke: Style.alpha(Style.ink, 0.5)
                strokeWidth: 1
                onClicked: MiniTimerViewModel.openDashboard("insights")
            }
            SymbolButton {
                objectName: "settingsButton"
                text: qsTr("Settings")
                toolTip: text
                symbol: "gearshape.fill"
                fill: Style.alpha(Style.white, 0.7)
                stroke: Style.alpha(Style.ink, 0.5)
                strokeWidth: 1
                onClicked: MiniTimerViewModel.openDashboard("settings")
            }
        }
    }

    Item {
        id: controls
        x: 20
        width: parent.width - 40
        height: 36
        anchors.bottom: parent.bottom
        anchors.bottomMargin: 16

        SymbolButton {
            id: skipButton
            anchors.left: parent.left
            objectName: "skipButton"
            text: qsTr("Skip")
            toolTip: text
            symbol: "forward.fill"
            shadowOpacity: 0.6
            enabled: MiniTimerViewModel.canSkipOrReset
            onClicked: TimerManager.skip()
        }
        NeoButton {
            anchors.left: skipButton.right
            anchors.leftMargin: 8
            anchors.verticalCenter: parent.verticalCenter
            width: 32
            height: 32
            objectName: "extendButton"
            text: MiniTimerViewModel.extendName
            toolTip: text
            shadowOpacity: 0.6
            visible: MiniTimerViewModel.canSkipOrReset
            onClicked: MiniTimerViewModel.extend()
            Text {
                anchors.centerIn: parent
                text: MiniTimerViewModel.extendText
                font: Style.roundedFont(11, Font.Bold)
                color: Style.ink
                Accessible.ignored: true
            }
        }
        Row {
            anchors.centerIn: parent
            spacing: 8
            Text {
                anchors.verticalCenter: parent.verticalCenter
                text: qsTr("Auto")
                font: Style.roundedFont(11, Font.Bold)
                color: Style.mutedText
                Accessible.ignored: true
            }
            NeoSwitch {
                objectName: "autoStartSwitch"
                anchors.verticalCenter: parent.verticalCenter
                checked: TimerManager.autoStartNext
                checkedColor: MiniTimerViewModel.tabColor
                text: qsTr("Start the next interval automatically")
                onToggled: TimerManager.toggleAutoStart()
            }
            SymbolButton {
                anchors.verticalCenter: parent.verticalCenter
                width: 32
                height: 32
                objectName: "syncButton"
                text: qsTr("Music sync")
                toolTip: MiniTimerViewModel.syncToolTip
                Accessible.description: MiniTimerViewModel.syncToolTip
                symbol: "music.note"
                symbolSize: 12
                symbolColor: TimerManager.calmixSyncEnabled ? Style.ink : Style.mutedText
                fill: TimerManager.calmixSyncEnabled ? MiniTimerViewModel.tabColor : Style.white
                shadowOpacity: 0.6
                dim: MiniTimerViewModel.calmixRunning ? 1 : 0.4
                onClicked: MiniTimerViewModel.syncPressed()
            }
        }
        SymbolButton {
            anchors.right: parent.right
            objectName: "resetButton"
            text: qsTr("Reset")
            toolTip: text
            symbol: "arrow.counterclockwise"
            shadowOpacity: 0.6
            enabled: MiniTimerViewModel.canSkipOrReset
            onClicked: TimerManager.reset()
        }
    }

    // Over today's figures for the few seconds it shows.
    DiscardNote {
        anchors.horizontalCenter: parent.horizontalCenter
        y: main.y + stats.y + (stats.height - height) / 2
    }
    AwayNote {
        anchors.horizontalCenter: parent.horizontalCenter
        y: main.y + stats.y + (stats.height - height) / 2
    }
    // The overlays are made when first wanted: most openings of the popover need none of them.
    // They sit above the view, so they are told how far it shrinks.
    component LazyOverlay: Loader {
        id: lazy
        property bool wanted
        property real contentScale: 1
        active: false
        onWantedChanged: if (wanted) active = true
        Component.onCompleted: if (wanted) active = true
        Binding {
            target: lazy.item
            property: "contentScale"
            value: lazy.contentScale
            when: lazy.item !== null
        }
    }
    LazyOverlay {
        wanted: MiniTimerViewModel.tagPickerOpen
        contentScale: view.contentScale
        sourceComponent: TagPicker {}
    }
    LazyOverlay {
        wanted: MiniTimerViewModel.colorPickerOpen
        contentScale: view.contentScale
        sourceComponent: ColorPickerSheet {
            model: MiniTimerViewModel.colorPicker
            onApplied: MiniTimerViewModel.applyColor()
            onCancelled: MiniTimerViewModel.closeColorPicker()
        }
    }
    LazyOverlay {
        wanted: MiniTimerViewModel.colorTipShown
        contentScale: view.contentScale
        sourceComponent: ColorTip {}
    }
}
