import QtQuick
import Velto

// The outcome of an update check: up to date, a newer version to download, or why
// the check failed.
DialogWindow {
    id: dialog
    required property string heading
    required property string message
    // A newer version exists: Download (the default) and Later instead of OK.
    required property bool offersDownload
    property url iconSource
    signal downloadRequested

    title: qsTr("Software Update")

    Row {
        width: parent.width
        spacing: 14
        Image {
            id: icon
            visible: status !== Image.Null
            width: visible ? 48 : 0
            height: 48
            source: dialog.iconSource
            sourceSize.width: 96
            sourceSize.height: 96
            fillMode: Image.PreserveAspectFit
            smooth: true
        }
        Column {
            width: parent.width - (icon.visible ? icon.width + parent.spacing : 0)
            spacing: 6
            Text {
                objectName: "updateHeading"
                width: parent.width
                wrapMode: Text.Wrap
                textFormat: Text.PlainText
                text: dialog.heading
                font: Style.roundedFont(16, Font.Bold)
                color: Style.ink
            }
            Text {
                objectName: "updateMessage"
                width: parent.width
                wrapMode: Text.Wrap
                textFormat: Text.PlainText
                text: dialog.message
                font: Style.roundedFont(12, Font.Medium)
                color: Style.mutedText
            }
        }
    }

    buttons: [
        CapsuleButton {
            objectName: "updateLater"
            visible: dialog.offersDownload
            text: qsTr("Later")
            onClicked: dialog.close()
        },
        CapsuleButton {
            objectName: "updateDownload"
            visible: dialog.offersDownload
            text: qsTr("Download")
            isDefault: dialog.offersDownload
            onClicked: {
                dialog.downloadRequested()
                dialog.close()
            }
        },
        CapsuleButton {
            objectName: "updateOk"
            visible: !dialog.offersDownload
            text: qsTr("OK")
            isDefault: !dialog.offersDownload
            onClicked: dialog.close()
        }
    ]
}
