pragma Singleton
import QtQuick

// The design tokens every view uses: colours, fonts and motion.
QtObject {
    readonly property color ink: "#18181B"
    readonly property color cream: "#FFFBEB"
    readonly property color lavender: "#D8B4FE"
    readonly property color mint: "#6EE7B7"
    readonly property color mintLight: "#D1FAE5"
    readonly property color coral: "#FDA4AF"
    readonly property color mutedText: "#71717A"
    readonly property color white: "#FFFFFF"
    readonly property color systemGreen: "#28CD41"
    readonly property color systemGray: "#8E8E93"
    readonly property color orange: "#FF9500"
    readonly property color red: "#FF3B30"

    // A rounded face for text and a monospaced one for countdowns.
    readonly property string rounded: "Quicksand"
    readonly property string mono: "JetBrains Mono"

    readonly property font titleFont: Qt.font({ family: rounded, pixelSize: 18, weight: Font.Bold })
    readonly property font labelFont: Qt.font({ family: rounded, pixelSize: 12, weight: Font.Medium })
    readonly property font bodyFont: Qt.font({ family: rounded, pixelSize: 14, weight: Font.Normal })

    // bouncySpring and quickEase
    readonly property real bouncyResponse: 0.4
    readonly property real bouncyDamping: 0.7
    readonly property int quickEaseMs: 250

    function alpha(color, opacity) {
        return Qt.rgba(color.r, color.g, color.b, color.a * opacity)
    }
    /// Where an item of size `inner` starts when centred in `outer`, rounded as anchors round it.
    function centred(outer, inner) {
        const half = size => Math.trunc(size) % 2 ? (size + 1) / 2 : size / 2
        return half(outer) - half(inner)
    }
    function roundedFont(pixelSize, weight) {
        return Qt.font({ family: rounded, pixelSize: pixelSize, weight: weight })
    }
}
