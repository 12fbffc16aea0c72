pragma ComponentBehavior: Bound
import QtQuick
import Velto

// The Insights section: today, this week, the streak, the activity grid and
// the sentences about the user's habits. Every figure comes from InsightsModel.
Column {
    id: page
    /// The dashboard's scroll view the page sits in.
    property Flickable viewport: null
    readonly property color focusColor: ThemeColors.focusColor
    readonly property real innerWidth: width - leftPadding - rightPadding
    spacing: 16
    padding: 16

    component Statistic: Column {
        id: statistic
        property string symbol
        property string value
        property string caption
        spacing: 4
        // Read as one phrase: "50m Focus Time".
        Accessible.role: Accessible.StaticText
        Accessible.name: value + " " + caption
        Symbol {
            anchors.horizontalCenter: parent.horizontalCenter
            name: statistic.symbol
            size: 10
            color: Style.mutedText
        }
        Text {
            anchors.horizontalCenter: parent.horizontalCenter
            text: statistic.value
            font: Style.roundedFont(20, Font.Bold)
            color: Style.ink
            Accessible.ignored: true
        }
        Text {
            anchors.horizontalCenter: parent.horizontalCenter
            text: statistic.caption
            font: Style.roundedFont(10, Font.Medium)
            color: Style.mutedText
            Accessible.ignored: true
        }
    }

    component Divider: Rectangle {
        anchors.verticalCenter: parent.verticalCenter
        width: 1
        height: 40
        color: Style.alpha(Style.ink, 0.15)
    }

    // A white card with a symbol and title over three figures, and the daily goal where given.
    component FiguresCard: NeoCard {
        id: card
        property string symbol
        property string title
        property var figures: []
        property string goalText
        property real goalProgress
        width: page.innerWidth
        height: cardColumn.implicitHeight + 2 * padding
        Column {
            id: cardColumn
            x: card.padding
            y: card.padding
            width: card.width - 2 * card.padding
            spacing: 12
            Row {
                spacing: 8
                Symbol {
                    anchors.verticalCenter: parent.verticalCenter
                    name: card.symbol
                    size: 14
                    color: page.focusColor
                }
                Text {
                    Accessible.role: Accessible.StaticText
                    Accessible.name: text
                    anchors.verticalCenter: parent.verticalCenter
                    text: card.title
                    font: Style.titleFont
                    color: Style.ink
                }
            }
            Row {
                id: figureRow
                readonly property real columnWidth: (width - 2) / 3
                width: parent.width
                Statistic {
                    objectName: card.objectName + ":0"
                    width: figureRow.columnWidth
                    symbol: card.figures[0].symbol
                    value: card.figures[0].value
                    caption: card.figures[0].caption
                }
                Divider {}
                Statistic {
                    objectName: card.objectName + ":1"
                    width: figureRow.columnWidth
                    symbol: card.figures[1].symbol
                    value: card.figures[1].value
                    caption: card.figures[1].caption
                }
                Divider {}
                Statistic {
                    objectName: card.objectName + ":2"
                    width: figureRow.columnWidth
                    symbol: card.figures[2].symbol
                    value: card.figures[2].value
                    caption: card.figures[2].caption
                }
            }
            Column {
                visible: card.goalText.length > 0
                width: parent.width
                spacing: 6
                Text {
                    objectName: card.objectName + ":goal"
                    anchors.horizontalCenter: parent.horizontalCenter
                    text: card.goalText
                    font: Style.roundedFont(12, Font.DemiBold)
                    color: Style.ink
                }
                GoalBar {
                    width: parent.width
                    progress: card.goalProgress
                    fillColor: page.focusColor
                }
            }
        }
    }

    Item {
        width: page.innerWidth
        height: Math.max(heading.implicitHeight, streakBadge.height + streakBadge.shadowY)
        Column {
            id: heading
            anchors.verticalCenter: parent.verticalCenter
            width: parent.width - (streakBadge.visible ? streakBadge.width + 16 : 0)
            spacing: 4
            Text {
                Accessible.role: Accessible.StaticText
                Accessible.name: text
                text: qsTr("Insights")
                font: Style.roundedFont(24, Font.Bold)
                color: Style.ink
            }
            Text {
                Accessible.role: Accessible.StaticText
                Accessible.name: text
                width: parent.width
                text: qsTr("Track your focus journey")
                font: Style.labelFont
                color: Style.mutedText
                elide: Text.ElideRight
            }
        }
        NeoSurface {
            id: streakBadge
            objectName: "streakBadge"
            visible: InsightsModel.hasStreak
            anchors.right: parent.right
            anchors.rightMargin: shadowX
            anchors.verticalCenter: parent.verticalCenter
            width: streakRow.implicitWidth + 24
            height: streakRow.implicitHeight + 12
            radius: height / 2
            strokeWidth: 1.5
            shadowOpacity: 0.5
            shadowX: 2
            shadowY: 2
            Row {
                id: streakRow
                anchors.centerIn: parent
                spacing: 6
                Accessible.role: Accessible.StaticText
                Accessible.name: streakValue.text + " " + streakCaption.text
                Symbol {
                    anchors.verticalCenter: parent.verticalCenter
                    name: "flame.fill"
                    size: 14
                    color: Style.orange
                }
                Text {
                    id: streakValue
                    objectName: "streakValue"
                    Accessible.ignored: true
                    anchors.verticalCenter: parent.verticalCenter
                    text: InsightsModel.streak
                    font: Style.roundedFont(16, Font.Bold)
                    color: Style.ink
                }
                Text {
                    id: streakCaption
                    Accessible.ignored: true
                    anchors.verticalCenter: parent.verticalCenter
                    text: InsightsModel.streakCaption
                    font: Style.roundedFont(11, Font.Medium)
                    color: Style.mutedText
                }
            }
        }
    }

    FiguresCard {
        objectName: "todayCard"
        symbol: "sun.max.fill"
        title: qsTr("Today")
        goalText: InsightsModel.todayGoalText
        goalProgress: InsightsModel.todayGoalProgress
        figures: [
            { symbol: "checkmark.circle.fill", value: String(InsightsModel.todaySessions), caption: InsightsModel.todaySessionsCaption },
            { symbol: "clock.fill", value: InsightsModel.todayFocusTime, caption: qsTr("Focus Time") },
            { symbol: "cup.and.saucer.fill", value: String(InsightsModel.todayBreaks), caption: InsightsModel.todayBreaksCaption }
        ]
    }

    FiguresCard {
        objectName: "weekCard"
        symbol: "calendar"
        title: qsTr("This Week")
        figures: [
            { symbol: "checkmark.circle.fill", value: String(InsightsModel.weekSessions), caption: InsightsModel.weekSessionsCaption },
            { symbol: "clock.fill", value: InsightsModel.weekFocusTime, caption: qsTr("Focus Time") },
            { symbol: "chart.line.uptrend.xyaxis", value: InsightsModel.weekDailyAverage, caption: qsTr("Daily Avg") }
        ]
    }

    ActivityCard {
        width: page.innerWidth
    }

    NeoCard {
        id: sentencesCard
        width: page.innerWidth
        height: sentencesColumn.implicitHeight + 2 * padding
        Column {
            id: sentencesColumn
            x: sentencesCard.padding
            y: sentencesCard.padding
            width: sentencesCard.width - 2 * sentencesCard.padding
            spacing: 12
            Row {
                spacing: 8
                Rectangle {
                    anchors.verticalCenter: parent.verticalCenter
                    width: 28
                    height: 28
                    radius: 6
                    color: Qt.rgba(1.0, 0.58, 0.0, 1)
                    antialiasing: true
                    Symbol {
                        anchors.centerIn: parent
                        name: "lightbulb.fill"
                        size: 14
                        color: Style.white
                    }
                }
                Text {
                    Accessible.role: Accessible.StaticText
                    Accessible.name: text
                    anchors.verticalCenter: parent.verticalCenter
                    text: qsTr("Insights")
                    font: Style.titleFont
                    color: Style.ink
                }
            }
            Column {
                width: parent.width
                spacing: 10
                Repeater {
                    model: InsightsModel.insights
                    delegate: Row {
                        id: sentence
                        required property var modelData
                        objectName: "insight:" + modelData.kind
                        width: parent.width
                        spacing: 10
                        Item {
                            width: 20
                            height: text.implicitHeight / Math.max(1, text.lineCount)
                            Symbol {
                                anchors.centerIn: parent
                                name: sentence.modelData.symbol
                                size: 12
                                color: sentence.modelData.color
                            }
                        }
                        Text {
                            Accessible.role: Accessible.StaticText
                            id: text
                            width: sentence.width - 30
                            text: sentence.modelData.text
                            textFormat: Text.StyledText
                            wrapMode: Text.Wrap
                            Accessible.name: sentence.modelData.plainText
                            font: Style.bodyFont
                            color: Style.ink
                        }
                    }
                }
            }
        }
    }

    ExportRow { width: page.innerWidth }
}
