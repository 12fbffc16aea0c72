import QtQuick
import Velto

// "About Velto": the app's icon, name and version.
DialogWindow {
    id: dialog
    // "Version 1.0.0"
    required property string versionText
    property url iconSource

    title: qsTr("About Velto")

    Image {
        anchors.horizontalCenter: parent.horizontalCenter
        visible: status !== Image.Null
        width: 64
        height: 64
        source: dialog.iconSource
        sourceSize.width: 128
        sourceSize.height: 128
        fillMode: Image.PreserveAspectFit
        smooth: true
    }
    Text {
        width: parent.width
        horizontalAlignment: Text.AlignHCenter
        text: qsTr("Velto")
        font: Style.roundedFont(24, Font.Bold)
        color: Style.ink
    }
    Text {
        objectName: "aboutVersion"
        width: parent.width
        horizontalAlignment: Text.AlignHCenter
        text: dialog.versionText
        font: Style.labelFont
        color: Style.mutedText
    }
    Text {
        width: parent.width
        horizontalAlignment: Text.AlignHCenter
        wrapMode: Text.Wrap
        text: qsTr("A focus timer for your desktop.")
        font: Style.bodyFont
        color: Style.ink
    }

    buttons: [
        CapsuleButton {
            objectName: "aboutOk"
            text: qsTr("OK")
            isDefault: true
            onClicked: dialog.close()
        }
    ]
}
