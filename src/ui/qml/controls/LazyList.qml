import QtQuick

// A list of equal rows inside the page's scroll view that only makes the rows
// near the visible part: it reserves the height of all of them and moves a
// viewport-sized ListView along as the page scrolls, so 500 tags cost what a
// dozen do.
Item {
    id: lazy
    property Flickable viewport: null
    property alias model: list.model
    property alias delegate: list.delegate
    property real rowHeight: 40
    property real spacing: 0
    readonly property int count: list.count
    readonly property alias view: list

    implicitHeight: list.count > 0 ? list.count * rowHeight + (list.count - 1) * spacing : 0

    // Where this list starts in the scrolled content, read again whenever the page scrolls or grows.
    readonly property real contentTop: {
        if (!viewport)
            return 0
        viewport.contentY
        viewport.contentHeight
        lazy.y
        return lazy.mapToItem(viewport.contentItem, 0, 0).y
    }

    ListView {
        id: list
        width: parent.width
        height: lazy.viewport ? Math.min(lazy.height, lazy.viewport.height) : lazy.height
        y: lazy.viewport ? Math.max(0, Math.min(lazy.height - height, lazy.viewport.contentY - lazy.contentTop)) : 0
        spacing: lazy.spacing
        interactive: false
        boundsBehavior: Flickable.StopAtBounds

        function follow() {
            const wanted = originY + y
            if (Math.abs(contentY - wanted) > 0.5)
                contentY = wanted
        }
        onYChanged: follow()
        onOriginYChanged: follow()
        onContentHeightChanged: follow()
        onCountChanged: follow()
        onHeightChanged: follow()
    }
}
