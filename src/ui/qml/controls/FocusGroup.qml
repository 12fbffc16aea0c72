import QtQuick

// Buttons that share one Tab stop, like a row of tabs: Tab brings the keyboard to the
// chosen one (the member that is `checked`, else the first), the arrow keys,
// Home and End move it among them, Tab leaves. The members are the items of `repeater`;
// they take no Tab stop of their own (focusPolicy: Qt.NoFocus).
FocusScope {
    id: group
    property Repeater repeater: null
    /// Arrows that move: Qt.Horizontal (left, right), Qt.Vertical (up, down), or both for a grid.
    property int orientation: Qt.Horizontal
    /// For a grid: members per row, so up and down move by a row.
    property int columns: 0
    readonly property int count: repeater ? repeater.count : 0

    activeFocusOnTab: true

    function member(index) {
        return repeater ? repeater.itemAt(index) : null
    }
    function focusedIndex() {
        for (let i = 0; i < count; ++i) {
            const item = member(i)
            if (item && item.activeFocus)
                return i
        }
        return -1
    }
    function moveTo(index) {
        const item = member(Math.max(0, Math.min(count - 1, index)))
        if (item)
            item.forceActiveFocus(Qt.TabFocusReason)
    }
    function preferredIndex() {
        for (let i = 0; i < count; ++i) {
            const item = member(i)
            if (item && item.checked === true)
                return i
        }
        return 0
    }
    function moveBy(step, event) {
        const current = focusedIndex()
        moveTo((current < 0 ? preferredIndex() : current) + step)
        event.accepted = true
    }

    // Arriving from outside, the keyboard lands on the preferred member, not the one it left.
    onActiveFocusChanged: {
        if (activeFocus) {
            if (focusedIndex() < 0)
                moveTo(preferredIndex())
            return
        }
        for (let i = 0; i < count; ++i) {
            const item = member(i)
            if (item && item.focus)
                item.focus = false
        }
    }

    Keys.onPressed: event => {
        const mirrored = LayoutMirroring.enabled
        const horizontal = orientation !== Qt.Vertical
        const vertical = orientation !== Qt.Horizontal
        const row = columns > 0 ? columns : 1
        if (horizontal && event.key === Qt.Key_Right)
            moveBy(mirrored ? -1 : 1, event)
        else if (horizontal && event.key === Qt.Key_Left)
            moveBy(mirrored ? 1 : -1, event)
        else if (vertical && event.key === Qt.Key_Down)
            moveBy(row, event)
        else if (vertical && event.key === Qt.Key_Up)
            moveBy(-row, event)
        else if (event.key === Qt.Key_Home)
            moveBy(-count, event)
        else if (event.key === Qt.Key_End)
            moveBy(count, event)
    }
}
