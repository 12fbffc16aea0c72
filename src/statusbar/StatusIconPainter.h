#pragma once

#include <QColor>
#include <QFont>
#include <QImage>
#include <QString>

/// Draws the tray item's images with QPainter at a device pixel ratio:
/// the clock face shown while no interval runs, the countdown pill of a
/// running interval, and the pill's square form for tray slots too narrow for it.
namespace StatusIconPainter {

inline constexpr QRgb dark = 0x18181B;
inline constexpr QRgb leafGreen = 0x22C55E;
/// Points.
inline constexpr int clockFaceSize = 18;
inline constexpr int pillHeight = 18;

/// Bold 11-point text with monospaced digits.
QFont statusFont();
/// The width of "88:88" in the status font plus 16, rounded up to a whole point;
/// measured once, so the pill never changes width as digits change.
int statusTextWidth();

/// The clock face with its two leaves, 18 × 18 points.
QImage clockFace(const QColor& color, qreal devicePixelRatio);
/// A capsule `statusTextWidth()` × 18 points in `color`, outlined black, with `text` centred.
QImage countdownPill(const QString& text, const QColor& color, qreal devicePixelRatio);
/// The pill's square form, `side` pixels: the minutes left (rounded up) in large digits,
/// and in the last minute the seconds on a dark face, so the count stays readable
/// in a 22-pixel tray slot.
QImage squareCountdown(double secondsLeft, const QColor& color, int side);

} // namespace StatusIconPainter
