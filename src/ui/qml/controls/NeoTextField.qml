import QtQuick
import QtQuick.Templates as T
import Velto

// A plain single-line text field with a placeholder; Escape gives up the edit.
T.TextField {
    id: field
    property string placeholder
    signal edited(string text)
    signal cancelled

    implicitWidth: 160
    implicitHeight: contentHeight
    padding: 0
    font: Style.roundedFont(13, Font.DemiBold)
    color: Style.ink
    selectionColor: Style.alpha(Style.ink, 0.2)
    selectedTextColor: Style.ink
    verticalAlignment: TextInput.AlignVCenter
    placeholderText: placeholder
    clip: true
    selectByMouse: true
    maximumLength: 1000
    Accessible.name: placeholder

    onTextEdited: edited(text)
    Keys.onEscapePressed: cancelled()

    background: Text {
        visible: field.text.length === 0
        text: field.placeholder
        font: field.font
        color: Style.alpha(Style.mutedText, 0.6)
        elide: Text.ElideRight
        verticalAlignment: Text.AlignVCenter
        Accessible.ignored: true
    }
}
