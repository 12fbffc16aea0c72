#include "ProgressRing.h"

#include <QPainter>
#include <algorithm>
#include <cmath>

ProgressRing::ProgressRing(QQuickItem* parent)
    : QQuickPaintedItem(parent)
{
    setAntialiasing(true);
}

void ProgressRing::setProgress(double progress)
{
    // NaN or out-of-range progress (an odd stored duration) draws an empty or full ring.
    progress = std::isfinite(progress) ? std::clamp(progress, 0.0, 1.0) : 0.0;
    if (m_progress == progress)
        return;
    m_progress = progress;
    emit progressChanged();
    update();
}

void ProgressRing::setLineWidth(double width)
{
    m_lineWidth = width;
    emit lookChanged();
    update();
}

void ProgressRing::setColor(const QColor& color)
{
    m_color = color;
    emit lookChanged();
    update();
}

void ProgressRing::setTrackColor(const QColor& color)
{
    m_trackColor = color;
    emit lookChanged();
    update();
}

void ProgressRing::paint(QPainter* painter)
{
    painter->setRenderHint(QPainter::Antialiasing);
    const double inset = m_lineWidth / 2;
    const QRectF circle = QRectF(0, 0, width(), height()).adjusted(inset, inset, -inset, -inset);
    if (circle.isEmpty())
        return;
    QPen track(m_trackColor, m_lineWidth, Qt::SolidLine, Qt::FlatCap);
    painter->setPen(track);
    painter->drawEllipse(circle);
    if (m_progress <= 0)
        return;
    QPen arc(m_color, m_lineWidth, Qt::SolidLine, Qt::RoundCap);
    painter->setPen(arc);
    // Qt counts angles counter-clockwise from 3 o'clock in 1/16 degree.
    painter->drawArc(circle, 90 * 16, -static_cast<int>(std::lround(m_progress * 360 * 16)));
}
