import QtQuick
import Velto

// A spring given by its response (seconds) and damping fraction.
SpringAnimation {
    property real response: Style.bouncyResponse
    property real dampingFraction: Style.bouncyDamping
    spring: Motion.spring(response)
    damping: Motion.damping(response, dampingFraction)
    epsilon: 0.01
}
