#include "ColorText.h"

#include <algorithm>
#include <cmath>

QString colorText(quint32 rgb, double opacity)
{
    const QString hex = QStringLiteral("%1").arg(rgb & 0xFFFFFF, 6, 16, QLatin1Char('0')).toUpper();
    if (opacity >= 1.0)
        return QLatin1Char('#') + hex;
    const int alpha = static_cast<int>(std::lround(std::clamp(opacity, 0.0, 1.0) * 255.0));
    return QLatin1Char('#') + QStringLiteral("%1").arg(alpha, 2, 16, QLatin1Char('0')).toUpper() + hex;
}
