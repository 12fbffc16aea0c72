#include "StatusIconPainter.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>
#include <cmath>

namespace StatusIconPainter {
namespace {
QImage blankImage(QSizeF points, qreal devicePixelRatio)
{
    QImage image((points * devicePixelRatio).toSize(), QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(devicePixelRatio);
    image.fill(Qt::transparent);
    return image;
}

/// The geometry is given with the origin at the bottom left; QPainter's is at the top left.
QPointF up(double x, double y)
{
    return { x, clockFaceSize - y };
}
QRectF upRect(double x, double y, double w, double h)
{
    return { x, clockFaceSize - y - h, w, h };
}
} // namespace

QFont statusFont()
{
    QFont font(QStringLiteral("JetBrains Mono"));
    font.setStyleHint(QFont::Monospace);
    font.setPixelSize(11);
    font.setBold(true);
    return font;
}

int statusTextWidth()
{
    static const int width = static_cast<int>(
        std::ceil(QFontMetricsF(statusFont()).horizontalAdvance(QStringLiteral("88:88")) + 16));
    return width;
}

QImage clockFace(const QColor& color, qreal devicePixelRatio)
{
    const double s = clockFaceSize;
    const double d = s - 3;
    const double y0 = 0.08 * s + 1;
    const QColor ink = QColor::fromRgb(dark);
    const QColor green = QColor::fromRgb(leafGreen);
    const QPointF c = up(1 + d / 2, y0 + d / 2);
    const double cx = 1 + d / 2;

    QImage image = blankImage(QSizeF(s, s), devicePixelRatio);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setClipRect(QRectF(0, 0, s, s));

    p.setPen(Qt::NoPen);
    p.setBrush(ink);
    p.drawEllipse(upRect(2, y0 - 1, d, d)); // hard shadow

    p.setBrush(color);
    p.setPen(QPen(ink, 1.2));
    p.drawEllipse(upRect(1, y0, d, d));

    p.setPen(QPen(ink, 1.5, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(c, c + QPointF(-2.1213203435596424, -2.121320343559643));
    p.setPen(QPen(ink, 1.2, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(c, c + QPointF(2.2906863708766703, 3.8733391215177466));

    p.setPen(Qt::NoPen);
    p.setBrush(ink);
    p.drawEllipse(QRectF(c.x() - 1, c.y() - 1, 2, 2));

    p.setBrush(green);
    p.drawRect(upRect(cx - 1, y0 + d - 1, 2, 3));
    const double by = y0 + d + 1;
    for (const double side : { -1.0, 1.0 }) {
        QPainterPath leaf(up(cx, by));
        leaf.cubicTo(up(cx + side * 2, by + 3), up(cx + side * 3, by + 2), up(cx + side * 4, by + 1));
        leaf.cubicTo(up(cx + side * 3, by - 1), up(cx + side * 1, by), up(cx, by));
        p.drawPath(leaf);
    }
    return image;
}

QImage countdownPill(const QString& text, const QColor& color, qreal devicePixelRatio)
{
    const double width = statusTextWidth();
    QImage image = blankImage(QSizeF(width, pillHeight), devicePixelRatio);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    p.setPen(QPen(Qt::black, 1.5));
    p.setBrush(color);
    p.drawRoundedRect(QRectF(0, 0, width, pillHeight), pillHeight / 2.0, pillHeight / 2.0);

    p.setFont(statusFont());
    const QFontMetricsF metrics(p.font());
    const QSizeF textSize(metrics.horizontalAdvance(text), metrics.height());
    const QRectF textRect(
        QPointF((width - textSize.width()) / 2, (pillHeight - textSize.height()) / 2), textSize);
    p.setPen(Qt::black);
    p.drawText(textRect, Qt::AlignCenter, text);
    return image;
}

QImage squareCountdown(double secondsLeft, const QColor& color, int side)
{
    const qint64 seconds = secondsLeft > 0 ? static_cast<qint64>(std::min(secondsLeft, 5.9e6)) : 0;
    const bool lastMinute = seconds < 60;
    const QString text = QString::number(lastMinute ? seconds : (seconds + 59) / 60);

    QImage image(side, side, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    const double stroke = std::max(1.0, side / 14.0);
    const QRectF box = QRectF(0, 0, side, side).adjusted(stroke / 2, stroke / 2, -stroke / 2, -stroke / 2);
    p.setPen(QPen(Qt::black, stroke));
    p.setBrush(lastMinute ? QColor::fromRgb(dark) : color);
    p.drawRoundedRect(box, side * 0.3, side * 0.3);

    // As large as the box allows: two digits fill most of it, three still fit.
    QFont font = statusFont();
    font.setPixelSize(std::max(6, static_cast<int>(side * (text.size() <= 2 ? 0.62 : 0.44))));
    p.setFont(font);
    p.setPen(lastMinute ? color : QColor(Qt::black));
    p.drawText(box, Qt::AlignCenter, text);
    return image;
}

} // namespace StatusIconPainter
