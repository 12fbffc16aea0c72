pragma ComponentBehavior: Bound
import QtQuick
import Velto

// Today's completed focus intervals (of the daily goal, with a bar along the bottom) and focus time.
Rectangle {
    width: row.implicitWidth + 40
    height: row.implicitHeight + 20 + (goalBar.visible ? goalBar.height + 6 : 0)
    radius: 12
    color: Style.alpha(Style.white, 0.5)
    border.color: Style.alpha(Style.ink, 0.1)
    border.width: 1

    component Statistic: Row {
        id: statistic
        property string symbol
        property string value
        property string caption
        spacing: 6
        // Read as one phrase: "2 sessions".
        Accessible.role: Accessible.StaticText
        Accessible.name: value + " " + caption
        Symbol {
            anchors.verticalCenter: parent.verticalCenter
            name: statistic.symbol
            size: 12
            color: Style.mutedText
        }
        Column {
            Text {
                text: statistic.value
                font: Style.roundedFont(14, Font.Bold)
                color: Style.ink
                Accessible.ignored: true
            }
            Text {
                text: statistic.caption
                font: Style.roundedFont(10, Font.Medium)
                color: Style.mutedText
                Accessible.ignored: true
            }
        }
    }

    Row {
        id: row
        anchors.horizontalCenter: parent.horizontalCenter
        y: 10
        spacing: 16
        Statistic {
            anchors.verticalCenter: parent.verticalCenter
            objectName: "dailySessions"
            symbol: "checkmark.circle.fill"
            value: MiniTimerViewModel.dailySessionsText
            caption: MiniTimerViewModel.dailySessionsCaption
        }
        Rectangle {
            anchors.verticalCenter: parent.verticalCenter
            width: 1
            height: 24
            color: Style.alpha(Style.ink, 0.15)
        }
        Statistic {
            objectName: "focusedToday"
            anchors.verticalCenter: parent.verticalCenter
            symbol: "clock.fill"
            value: TimerManager.focusTimeTodayText
            caption: qsTr("focused")
        }
    }
    GoalBar {
        id: goalBar
        objectName: "dailyGoalBar"
        visible: MiniTimerViewModel.hasDailyGoal
        anchors.left: parent.left
        anchors.right: parent.right
        anchors.bottom: parent.bottom
        anchors.leftMargin: 14
        anchors.rightMargin: 14
        anchors.bottomMargin: 9
        height: 3
        progress: MiniTimerViewModel.dailyGoalProgress
        fillColor: MiniTimerViewModel.focusColor
    }
}
