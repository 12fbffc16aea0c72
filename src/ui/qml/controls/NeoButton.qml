import QtQuick
import QtQuick.Templates as T
import Velto

// A button in the flat style (ButtonChrome) showing what is put inside it. It takes the
// keyboard through Tab, shows a ring in ink while it has it, and acts on Space and
// Return. `text` is its name for assistive technology, also when it shows a symbol only.
T.AbstractButton {
    id: control
    property alias fill: chrome.fill
    property alias stroke: chrome.stroke
    property alias strokeWidth: chrome.strokeWidth
    property alias radius: chrome.radius
    property alias shadowOpacity: chrome.shadowOpacity
    property alias sunkenShadowOpacity: chrome.sunkenShadowOpacity
    property alias shadowOffset: chrome.shadowOffset
    property alias sunkenShadowOffset: chrome.sunkenShadowOffset
    property alias springy: chrome.springy
    /// Pushed down: while pressed unless bound otherwise (a chosen chip stays down).
    property alias sunken: chrome.sunken
    /// Drawn fainter without being disabled, so its tooltip stays readable.
    property real dim: 1
    property real disabledOpacity: 0.3
    /// Shown after the pointer rests on the button.
    property string toolTip
    default property alias content: chrome.content

    focusPolicy: Qt.TabFocus
    // Tooltips need the pointer, whatever the platform says about hover effects.
    hoverEnabled: true
    padding: 0
    Accessible.name: text

    Keys.onReturnPressed: control.clicked()
    Accessible.onPressAction: control.clicked()
    Keys.onEnterPressed: control.clicked()

    ButtonChrome {
        id: chrome
        width: control.width
        height: control.height
        sunken: control.down
        dim: (control.enabled ? 1 : control.disabledOpacity) * control.dim
    }
    FocusRing {
        target: chrome
        targetRadius: chrome.radius
        shown: control.visualFocus
    }
    // Once pressed, the tip stays away until the pointer leaves: what the button opened
    // (the tag picker, a dialog) comes up where the tip would otherwise show over or under it.
    property bool tipSpent: false
    onPressedChanged: if (pressed) tipSpent = true
    onHoveredChanged: if (!hovered) tipSpent = false
    Timer {
        id: tipDelay
        interval: 600
        running: control.hovered && control.toolTip.length > 0
    }
    NeoToolTip {
        text: control.toolTip
        visible: control.hovered && !tipDelay.running && !control.tipSpent && text.length > 0
    }
}
