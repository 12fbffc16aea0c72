#include "SideColors.h"

#include <algorithm>

#include "data/ThemeColorOption.h"

namespace SideColors {
namespace {
Side makeSide(const QString& id, QRgb fallback, QRgb fallbackBase)
{
    const std::optional<quint32> known = themeColorForId(id);
    const QColor color = QColor::fromRgb(known.value_or(fallback));
    Side side;
    side.blobs = { color, tint(color, 0.85), known ? tint(color, 0.92) : QColor::fromRgb(fallbackBase) };
    side.base = known ? tint(color, 0.92) : QColor::fromRgb(fallbackBase);
    return side;
}
} // namespace

QColor tint(const QColor& color, double brightness)
{
    float hue = 0, saturation = 0, value = 0, alpha = 1;
    color.toRgb().getHsvF(&hue, &saturation, &value, &alpha);
    hue = std::max(hue, 0.0f); // grey has no hue
    const double tintedSaturation = std::min(1.0, (1.0 - brightness) * saturation * 2.5);
    return QColor::fromHsvF(hue, static_cast<float>(tintedSaturation), static_cast<float>(brightness), alpha);
}

Side focusSide(const QString& focusColorId)
{
    return makeSide(focusColorId, fallbackFocusColor, cream);
}

Side breakSide(const QString& breakColorId)
{
    return makeSide(breakColorId, fallbackBreakColor, mintLight);
}

} // namespace SideColors
