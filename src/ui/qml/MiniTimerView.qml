import QtQuick
import Velto

// The popover: tabs, presets, countdown, ring and play button, tag, today's
// figures, shortcuts to the dashboard, and the controls row.
Item {
    id: view
    width: 320
    height: 540
    property alias backgroundAnimated: background.animated
    /// Per-second animations run only while the popover is on screen; a hidden one costs nothing.
    readonly property bool live: Window.visibility !== Window.Hidden
    onLiveChanged: Popover.setLive(live)
    Component.onCompleted: Popover.setLive(live)

    AnimatedGradientView {
        id: background
        anchors.fill: parent
        colors: Colors
        state: FocusTimer.currentState
        isFocusMode: Popover.focusTabSelected
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
                anchors.horizontalCenter: parent.horizontalCenter
                text: Popover.statusText
                font: Style.roundedFont(13, Font.Bold)
                color: Style.mutedText
            }
            RollingClock {
                anchors.horizontalCenter: parent.horizontalCenter
                width: 220
                text: Popover.timeText
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
                progress: Popover.progress
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
            readonly property bool shown: Popover.showsTagChip
            height: shown ? chip.height + 8 : 0
            TagChip {
                id: chip
                anchors.horizontalCenter: parent.horizontalCenter
                y: 8
                name: Popover.currentTag
                tagColor: Popover.currentTagColor
                opacity: tagSlot.shown ? 1 : 0
                scale: tagSlot.shown ? 1 : 0.6
                visible: opacity > 0
                Behavior on opacity { NumberAnimation { duration: 200 } }
                Behavior on scale { NumberAnimation { duration: 200; easing.type: Easing.OutBack } }
            }
        }
        Item { width: 1; height: tagSlot.shown ? 12 : 24 }
        StatsCard {
            anchors.horizontalCenter: parent.horizontalCenter
        }
        Item { width: 1; height: 12 }
        Row {
            anchors.horizontalCenter: parent.horizontalCenter
            spacing: 12
            PressableCircle {
                objectName: "tagButton"
                visible: Popover.focusTabSelected
                symbol: Popover.currentTag.length > 0 ? "tag.fill" : "tag"
                symbolColor: Popover.currentTag.length > 0 ? Style.ink : Style.mutedText
                fill: Popover.currentTag.length > 0 ? Style.alpha(Popover.focusColor, 0.5) : Style.alpha(Style.white, 0.7)
                stroke: Popover.currentTag.length > 0 ? Style.ink : Style.alpha(Style.ink, 0.5)
                strokeWidth: Popover.currentTag.length > 0 ? 1.5 : 1
                toolTip: qsTr("Session tag")
                Accessible.name: qsTr("Session tag")
                onClicked: Popover.toggleTagPicker()
            }
            PressableCircle {
                objectName: "insightsButton"
                symbol: "chart.bar.fill"
                fill: Style.alpha(Style.white, 0.7)
                stroke: Style.alpha(Style.ink, 0.5)
                strokeWidth: 1
                toolTip: qsTr("Insights")
                Accessible.name: qsTr("Insights")
                onClicked: Popover.openDashboard("insights")
            }
            PressableCircle {
                symbol: "gearshape.fill"
                fill: Style.alpha(Style.white, 0.7)
                stroke: Style.alpha(Style.ink, 0.5)
                strokeWidth: 1
                toolTip: qsTr("Settings")
                Accessible.name: qsTr("Settings")
                onClicked: Popover.openDashboard("settings")
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

        PressableCircle {
            anchors.left: parent.left
            objectName: "skipButton"
            symbol: "forward.fill"
            shadowOpacity: 0.6
            enabled: Popover.canSkipOrReset
            toolTip: qsTr("Skip")
            Accessible.name: qsTr("Skip")
            onClicked: FocusTimer.skip()
        }
        Row {
            anchors.centerIn: parent
            spacing: 8
            Text {
                anchors.verticalCenter: parent.verticalCenter
                text: qsTr("Auto")
                font: Style.roundedFont(11, Font.Bold)
                color: Style.mutedText
            }
            NeoSwitch {
                anchors.verticalCenter: parent.verticalCenter
                checked: FocusTimer.autoStartNext
                onColor: Popover.tabColor
                Accessible.name: qsTr("Start the next interval automatically")
                onToggled: FocusTimer.toggleAutoStart()
            }
            PressableCircle {
                anchors.verticalCenter: parent.verticalCenter
                width: 32
                height: 32
                objectName: "syncButton"
                symbol: "music.note"
                symbolSize: 12
                symbolColor: FocusTimer.calmixSyncEnabled ? Style.ink : Style.mutedText
                fill: FocusTimer.calmixSyncEnabled ? Popover.tabColor : Style.white
                shadowOpacity: 0.6
                dim: Popover.calmixRunning ? 1 : 0.4
                toolTip: Popover.syncToolTip
                Accessible.name: Popover.syncToolTip
                onClicked: Popover.syncPressed()
            }
        }
        PressableCircle {
            anchors.right: parent.right
            objectName: "resetButton"
            symbol: "arrow.counterclockwise"
            shadowOpacity: 0.6
            enabled: Popover.canSkipOrReset
            toolTip: qsTr("Reset")
            Accessible.name: qsTr("Reset")
            onClicked: FocusTimer.reset()
        }
    }

    TagPicker {}
    Item {
        anchors.fill: parent
        visible: Popover.colorPickerOpen
        Backdrop {
            dim: 0.3
            onDismissed: Popover.closeColorPicker()
        }
        ColorPickerSheet {
            anchors.centerIn: parent
            model: Popover.colorPicker
            onApplied: Popover.applyColor()
            onCancelled: Popover.closeColorPicker()
        }
    }
    ColorTip {}

    Keys.onEscapePressed: {
        if (Popover.colorPickerOpen)
            Popover.closeColorPicker()
        else if (Popover.tagPickerOpen)
            Popover.closeTagPicker()
        else
            view.escapePressed()
    }
    Keys.onSpacePressed: FocusTimer.playPause()
    signal escapePressed
}
