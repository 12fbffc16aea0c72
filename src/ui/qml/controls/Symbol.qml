import QtQuick
import Velto

// One symbol of the icon set, `size` points tall, in one colour.
Image {
    id: symbol
    property string name
    property real size: 14
    property color color: Style.ink

    readonly property real box: Math.round(size * 1.15)
    width: box
    height: box
    sourceSize.width: box * Screen.devicePixelRatio
    sourceSize.height: box * Screen.devicePixelRatio
    source: name.length > 0 ? "image://symbol/" + name + "/" + color.toString().substring(1) : ""
    smooth: true
    asynchronous: false
    cache: true
}
