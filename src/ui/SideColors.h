#pragma once

#include <QColor>
#include <QString>
#include <array>

/// The colours the animated backgrounds draw for the focus side or the break side.
namespace SideColors {

inline constexpr QRgb cream = 0xFFFBEB;
inline constexpr QRgb mintLight = 0xD1FAE5;

/// Keeps the hue and alpha, sets the brightness to `brightness` and the saturation to
/// min(1, (1 − brightness) × saturation × 2.5): light washes of a colour.
QColor tint(const QColor& color, double brightness);

struct Side {
    std::array<QColor, 3> blobs; ///< the colour, a light tint and a lighter one
    QColor base; ///< the fill under the blobs
};

/// The focus side for a palette id; unknown ids fall back to coral on cream.
Side focusSide(const QString& focusColorId);
/// The break side for a palette id; unknown ids fall back to mint on mint-light.
Side breakSide(const QString& breakColorId);

} // namespace SideColors
