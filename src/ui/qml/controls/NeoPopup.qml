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
