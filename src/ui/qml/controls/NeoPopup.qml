import QtQuick
import QtQuick.Templates as T
import Velto

// An overlay over the whole window that holds the keyboard while it is open and gives it
// back, when it closes, to the control that had it before. Assistive technology knows it
// as a dialog named by its `title`.
T.Dialog {
    id: popup
    /// Opened from the keyboard: the control that opened it was showing its ring.
    property bool fromKeyboard: false
    property Item opener: null
    /// Below 1 where the window shrinks its view to fit the screen: the overlay, which sits
    /// above that view, shrinks with it around its own centre.
    property real contentScale: 1
    /// The parent's size in the unshrunk points the overlay is laid out in.
    readonly property real areaWidth: parent ? parent.width / contentScale : 0
    readonly property real areaHeight: parent ? parent.height / contentScale : 0
    scale: contentScale

    parent: T.Overlay.overlay
    padding: 0
    modal: true
    focus: true

    onAboutToShow: {
        const item = parent ? parent.Window.activeFocusItem : null
        opener = item
        fromKeyboard = item !== null && item.visualFocus === true
    }
    onClosed: {
        if (opener && opener.visible && opener.enabled)
            opener.forceActiveFocus(fromKeyboard ? Qt.TabFocusReason : Qt.OtherFocusReason)
        else if (parent && parent.Window.window)
            parent.Window.window.contentItem.forceActiveFocus()
        opener = null
    }
}
