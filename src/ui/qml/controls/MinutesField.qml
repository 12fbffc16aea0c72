pragma ComponentBehavior: Bound
import QtQuick
import QtQuick.Templates as T
import Velto

// Whole minutes: typed (Return or leaving the field takes them), or stepped with the
// buttons either side and the arrow keys (Page Up and Page Down step by five).
// `value` follows what it is bound to; `modified` asks for a new length, and the
// owner decides.
T.SpinBox {
    id: field
    signal modified(int minutes)
    /// The unit after the number; empty for a plain count.
    property string unit: qsTr("min")

    readonly property real stepperSize: 28
    readonly property real gap: 8
    readonly property real boxWidth: 78
    readonly property bool focused: activeFocus || (contentItem !== null && contentItem.activeFocus)

    editable: true
    implicitWidth: stepperSize * 2 + gap * 2 + boxWidth
    implicitHeight: 30
    leftPadding: stepperSize + gap + 8
    rightPadding: stepperSize + gap + 8 + unitLabel.implicitWidth + 4
    // The text is as tall as its font and centred as anchors centre it.
    topPadding: Style.centred(height, contentItem ? contentItem.implicitHeight : 0)
    bottomPadding: height - topPadding - (contentItem ? contentItem.implicitHeight : 0)
    focusPolicy: Qt.TabFocus
    validator: RegularExpressionValidator { regularExpression: /[0-9]{0,4}/ }
    textFromValue: (value, locale) => String(value)
    valueFromText: (text, locale) => /^[0-9]+$/.test(text) ? parseInt(text, 10) : field.value
    // Faded, the steppers cast no shadow that would show through them.
    opacity: enabled ? 1 : 0.45

    onValueModified: modified(value)
    Accessible.onIncreaseAction: modified(value + 1)
    Accessible.onDecreaseAction: modified(value - 1)
    Keys.onPressed: event => {
        if (event.key === Qt.Key_PageUp || event.key === Qt.Key_PageDown) {
            field.modified(field.value + (event.key === Qt.Key_PageUp ? 5 : -5))
            event.accepted = true
        }
    }

    contentItem: TextInput {
        objectName: field.objectName + ":input"
        text: field.displayText
        horizontalAlignment: TextInput.AlignRight
        font: Style.roundedFont(15, Font.Bold)
        color: Style.ink
        selectionColor: Style.alpha(Style.ink, 0.2)
        selectedTextColor: Style.ink
        selectByMouse: true
        readOnly: !field.editable
        validator: field.validator
        inputMethodHints: Qt.ImhDigitsOnly
        focus: true
        Accessible.ignored: true

        // Typed minutes are asked for at once; then the text shows the length in force again,
        // whether it was taken, brought within the limits or refused.
        function showValue() {
            text = Qt.binding(() => field.displayText)
        }
        Keys.onEscapePressed: showValue()
        onEditingFinished: {
            if (/^[0-9]+$/.test(text) && parseInt(text, 10) !== field.value)
                field.modified(parseInt(text, 10))
            showValue()
        }
        onActiveFocusChanged: if (activeFocus) selectAll()
    }

    Rectangle {
        x: field.stepperSize + field.gap
        width: field.boxWidth
        height: field.height
        radius: 8
        color: Style.white
        border.color: field.focused ? Style.ink : Style.alpha(Style.ink, 0.3)
        border.width: field.focused ? 2 : 1
        antialiasing: true
        z: -1
        Text {
            id: unitLabel
            anchors.right: parent.right
            anchors.rightMargin: 8
            anchors.verticalCenter: parent.verticalCenter
            text: field.unit
            font: Style.roundedFont(12, Font.Medium)
            color: Style.mutedText
        }
    }

    component Stepper: ButtonChrome {
        id: stepper
        property string symbol
        property real size: 28
        width: size
        height: size
        shadowOpacity: field.enabled ? 1 : 0
        Symbol {
            anchors.centerIn: parent
            name: stepper.symbol
            size: 12
        }
    }
    down.indicator: Stepper {
        objectName: field.objectName + ":minus"
        y: (field.height - height) / 2
        size: field.stepperSize
        symbol: "minus"
        sunken: field.down.pressed
    }
    up.indicator: Stepper {
        objectName: field.objectName + ":plus"
        x: field.width - width
        y: (field.height - height) / 2
        size: field.stepperSize
        symbol: "plus"
        sunken: field.up.pressed
    }
}
