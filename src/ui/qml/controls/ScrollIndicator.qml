import QtQuick
import QtQuick.Templates as T
import Velto

// The slim scroll indicator at the right edge of a scrolling pane: shown whenever the
// content is taller than the pane, wider and darker under the pointer, and draggable.
T.ScrollBar {
    id: bar
    readonly property bool emphasised: hovered || pressed

    orientation: Qt.Vertical
    policy: T.ScrollBar.AlwaysOn
    // Hidden unless the content is more than a point taller than the pane.
    visible: size < 1 - 1 / (height + 1)
    minimumSize: height > 0 ? Math.min(1, 24 / height) : 0
    implicitWidth: (emphasised ? 8 : 6) + rightPadding + leftPadding
    // A wider grip than it looks, and 3 points from the edge.
    leftPadding: 3
    rightPadding: 3
    topPadding: 0
    bottomPadding: 0

    contentItem: Rectangle {
        radius: width / 2
        color: Style.alpha(Style.ink, bar.emphasised ? 0.45 : 0.3)
    }
}
