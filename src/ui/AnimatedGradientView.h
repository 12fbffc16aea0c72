#pragma once

#include <QPointer>
#include <QQuickPaintedItem>
#include <QTimer>

#include "timer/TimerState.h"

#include "ThemeColors.h"

/// The slowly drifting blurred-blob background, tinted by the focus or the break
/// colour. Each frame is a pure function of the wall clock, the size, the timer
/// state, the focus mode and the theme. It redraws at most 30 times a second and
/// only while its window is shown: a hidden popover costs nothing.
class AnimatedGradientView : public QQuickPaintedItem {
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(ThemeColors* colors READ colors WRITE setColors NOTIFY colorsChanged)
    Q_PROPERTY(Velto::TimerState state READ state WRITE setState NOTIFY stateChanged)
    Q_PROPERTY(bool isFocusMode READ isFocusMode WRITE setFocusMode NOTIFY isFocusModeChanged)
    /// False stops the clock (screenshots and tests draw a fixed frame).
    Q_PROPERTY(bool animated READ animated WRITE setAnimated NOTIFY animatedChanged)

public:
    static constexpr int maxFramesPerSecond = 30;
    /// The blobs are soft gradients: drawing them at a quarter of the size and
    /// scaling up looks the same and costs a sixteenth.
    static constexpr int textureDivisor = 4;

    explicit AnimatedGradientView(QQuickItem* parent = nullptr);

    ThemeColors* colors() const { return m_colors; }
    void setColors(ThemeColors* colors);
    TimerState state() const { return m_state; }
    void setState(TimerState state);
    bool isFocusMode() const { return m_isFocusMode; }
    void setFocusMode(bool focus);
    bool animated() const { return m_animated; }
    void setAnimated(bool animated);

    /// Whether the focus side shows: in focus, or idle with the Focus tab selected.
    static bool showsFocusSide(TimerState state, bool isFocusMode);
    /// Draws one frame at time `t` (seconds since 2001-01-01) into a `size` rectangle.
    void paintFrame(QPainter* painter, QSizeF size, double t) const;

    void paint(QPainter* painter) override;

signals:
    void colorsChanged();
    void stateChanged();
    void isFocusModeChanged();
    void animatedChanged();

protected:
    void geometryChange(const QRectF& newGeometry, const QRectF& oldGeometry) override;
    void itemChange(ItemChange change, const ItemChangeData& value) override;

private:
    void updateTicking();

    QPointer<ThemeColors> m_colors;
    TimerState m_state = TimerState::idle;
    bool m_isFocusMode = true;
    bool m_animated = true;
    QTimer m_frameTimer;
    QMetaObject::Connection m_windowVisibility;
};
