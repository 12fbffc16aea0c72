import QtQuick
import Velto

// "Export…": the history as CSV in a file the user picks, and how that went in one line.
// Export decides; this binds.
Row {
    id: row
    spacing: 12

    CapsuleButton {
        id: button
        objectName: "exportButton"
        text: qsTr("Export…")
        Accessible.description: qsTr("Save the history as a CSV file")
        onClicked: ExportViewModel.exportCsv()
    }
    Text {
        objectName: "exportMessage"
        anchors.verticalCenter: parent.verticalCenter
        width: row.width - button.width - row.spacing
        text: ExportViewModel.message
        elide: Text.ElideMiddle
        font: Style.roundedFont(12, Font.DemiBold)
        color: ExportViewModel.failed ? Style.red : Style.mutedText
    }
}
