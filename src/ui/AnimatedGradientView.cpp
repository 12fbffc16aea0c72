#include "AnimatedGradientView.h"

#include <QDateTime>
#include <QPainter>
#include <QQuickWindow>
#include <QRadialGradient>
#include <cmath>

#include "ThemeColors.h"

namespace {
struct Blob {
    int index;
    double opacity;
    double speed;
    double phase;
    double radiusFactor;
};
constexpr Blob kBlobs[] = {
    { 0, 0.15, 0.2, 0.0, 0.6 },
    { 1, 0.12, 0.15, 1.5, 0.5 },
    { 2, 0.10, 0.18, 3.0, 0.7 },
};
constexpr double kReferenceDateMs = 978307200000.0;

QColor withAlpha(QColor color, double alpha)
{
    color.setAlphaF(static_cast<float>(alpha));
    return color;
}
} // namespace

AnimatedGradientView::AnimatedGradientView(QQuickItem* parent)
    : QQuickPaintedItem(parent)
{
    setOpaquePainting(true);
    setAntialiasing(false);
    m_frameTimer.setInterval(1000 / maxFramesPerSecond + 1); // never more than 30 frames a second
    m_frameTimer.setTimerType(Qt::CoarseTimer);
    connect(&m_frameTimer, &QTimer::timeout, this, [this] { update(); });
}

void AnimatedGradientView::setColors(ThemeColors* colors)
{
    if (m_colors == colors)
        return;
    if (m_colors)
        disconnect(m_colors, nullptr, this, nullptr);
    m_colors = colors;
    if (m_colors)
        connect(m_colors, &ThemeColors::colorsChanged, this, [this] { update(); });
    emit colorsChanged();
    update();
}

void AnimatedGradientView::setState(TimerState state)
{
    if (m_state == state)
        return;
    m_state = state;
    emit stateChanged();
    update();
}

void AnimatedGradientView::setFocusMode(bool focus)
{
    if (m_isFocusMode == focus)
        return;
    m_isFocusMode = focus;
    emit isFocusModeChanged();
    update();
}

void AnimatedGradientView::setAnimated(bool animated)
{
    if (m_animated == animated)
        return;
    m_animated = animated;
    emit animatedChanged();
    updateTicking();
}

bool AnimatedGradientView::showsFocusSide(TimerState state, bool isFocusMode)
{
    return state == TimerState::work || (state == TimerState::idle && isFocusMode);
}

void AnimatedGradientView::paintFrame(QPainter* painter, QSizeF size, double t) const
{
    const SideColors::Side side = !m_colors      ? SideColors::focusSide(QString())
        : showsFocusSide(m_state, m_isFocusMode) ? m_colors->focusSide()
                                                 : m_colors->breakSide();
    const double width = size.width();
    const double height = size.height();
    painter->fillRect(QRectF(0, 0, width, height), side.base);
    painter->setPen(Qt::NoPen);
    for (const Blob& blob : kBlobs) {
        const QColor color = side.blobs[static_cast<std::size_t>(blob.index)];
        const double x = (std::sin(blob.speed * t + blob.phase) * 0.3 + 0.5) * width;
        const double y = (std::cos(blob.speed * t * 0.7 + blob.phase) * 0.3 + 0.5) * height;
        const double r = blob.radiusFactor * std::min(width, height);
        if (!(r > 0))
            continue;
        QRadialGradient gradient(QPointF(x, y), r);
        gradient.setColorAt(0, withAlpha(color, blob.opacity));
        gradient.setColorAt(1, withAlpha(color, 0));
        painter->setBrush(gradient);
        painter->drawEllipse(QRectF(x - r, y - r, 2 * r, 2 * r));
    }
}

void AnimatedGradientView::paint(QPainter* painter)
{
    const double t = (static_cast<double>(QDateTime::currentMSecsSinceEpoch()) - kReferenceDateMs) / 1000.0;
    paintFrame(painter, size(), t);
}

void AnimatedGradientView::geometryChange(const QRectF& newGeometry, const QRectF& oldGeometry)
{
    QQuickPaintedItem::geometryChange(newGeometry, oldGeometry);
    const QSize texture(static_cast<int>(std::ceil(newGeometry.width() / textureDivisor)),
        static_cast<int>(std::ceil(newGeometry.height() / textureDivisor)));
    setTextureSize(texture.expandedTo(QSize(1, 1)));
}

void AnimatedGradientView::itemChange(ItemChange change, const ItemChangeData& value)
{
    QQuickPaintedItem::itemChange(change, value);
    if (change == ItemSceneChange) {
        disconnect(m_windowVisibility);
        if (value.window)
            m_windowVisibility
                = connect(value.window, &QWindow::visibleChanged, this, &AnimatedGradientView::updateTicking);
        updateTicking();
    } else if (change == ItemVisibleHasChanged) {
        updateTicking();
    }
}

void AnimatedGradientView::updateTicking()
{
    // QML items stay "visible" inside a hidden window, so the window decides too.
    const bool shown = isVisible() && window() && window()->isVisible();
    if (m_animated && shown)
        m_frameTimer.start();
    else
        m_frameTimer.stop();
    if (shown)
        update();
}
