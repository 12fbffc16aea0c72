import QtQuick
import Velto

// Today's completed focus intervals and focus time.
Rectangle {
    width: row.implicitWidth + 40
    height: row.implicitHeight + 20
    radius: 12
    color: Style.alpha(Style.white, 0.5)
    border.color: Style.alpha(Style.ink, 0.1)
    border.width: 1

    component Statistic: Row {
        property string symbol
        property string value
        property string caption
        spacing: 6
        Symbol {
            anchors.verticalCenter: parent.verticalCenter
            name: parent.symbol
            size: 12
            color: Style.mutedText
        }
        Column {
            Text {
                text: parent.parent.value
                font: Style.roundedFont(14, Font.Bold)
                color: Style.ink
            }
            Text {
                text: parent.parent.caption
                font: Style.roundedFont(10, Font.Medium)
                color: Style.mutedText
            }
        }
    }

    Row {
        id: row
        anchors.centerIn: parent
        spacing: 16
        Statistic {
            anchors.verticalCenter: parent.verticalCenter
            symbol: "checkmark.circle.fill"
            value: FocusTimer.dailySessions
            caption: qsTr("sessions")
        }
        Rectangle {
            anchors.verticalCenter: parent.verticalCenter
            width: 1
            height: 24
            color: Style.alpha(Style.ink, 0.15)
        }
        Statistic {
            anchors.verticalCenter: parent.verticalCenter
            symbol: "clock.fill"
            value: FocusTimer.focusTimeTodayText
            caption: qsTr("focused")
        }
    }
}
