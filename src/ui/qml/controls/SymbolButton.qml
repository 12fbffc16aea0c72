import QtQuick
import Velto

// A round button with a symbol in the flat style.
NeoButton {
    id: button
    property string symbol
    property real symbolSize: 14
    property color symbolColor: Style.ink

    implicitWidth: 36
    implicitHeight: 36

    Symbol {
        anchors.centerIn: parent
        name: button.symbol
        size: button.symbolSize
        color: button.symbolColor
    }
}
