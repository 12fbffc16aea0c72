#include "TagPalette.h"

#include <QRandomGenerator>
#include <cmath>

namespace TagPalette {

const QStringList& defaultTags()
{
    static const QStringList tags { QStringLiteral("Work"), QStringLiteral("Learning"),
        QStringLiteral("Creative"), QStringLiteral("Deep Work"), QStringLiteral("Meeting"),
        QStringLiteral("Personal") };
    return tags;
}

std::optional<quint32> defaultColor(const QString& tag)
{
    static const std::array<quint32, 6> colors { 0xFDA4AF, 0x6EE7B7, 0xD8B4FE, 0xFEF08A, 0x7DD3FC, 0xF472B6 };
    const qsizetype index = defaultTags().indexOf(tag);
    if (index < 0)
        return std::nullopt;
    return colors[static_cast<std::size_t>(index)];
}

const std::array<quint32, 24>& colorCandidates()
{
    static const std::array<quint32, 24> candidates {
        0xFDA4AF,
        0x6EE7B7,
        0xD8B4FE,
        0xFEF08A,
        0x7DD3FC,
        0xF472B6,
        0xFBCFE8,
        0xA5F3FC,
        0xBEF264,
        0xFED7AA,
        0xC4B5FD,
        0x99F6E4,
        0xFCA5A5,
        0x93C5FD,
        0xFDE68A,
        0xA7F3D0,
        0xE9D5FF,
        0xFBBF24,
        0x86EFAC,
        0xF9A8D4,
        0x67E8F9,
        0xFDBA74,
        0xA78BFA,
        0x6EE7B7,
    };
    return candidates;
}

quint32 colorFromHsb(double hue, double saturation, double brightness)
{
    const double h = (hue >= 1.0 ? 0.0 : hue) * 6.0;
    const int sector = static_cast<int>(std::floor(h));
    const double f = h - sector;
    const double v = brightness;
    const double p = v * (1.0 - saturation);
    const double q = v * (1.0 - f * saturation);
    const double t = v * (1.0 - (1.0 - f) * saturation);
    double r = v, g = t, b = p;
    switch (sector % 6) {
    case 0:
        r = v;
        g = t;
        b = p;
        break;
    case 1:
        r = q;
        g = v;
        b = p;
        break;
    case 2:
        r = p;
        g = v;
        b = t;
        break;
    case 3:
        r = p;
        g = q;
        b = v;
        break;
    case 4:
        r = t;
        g = p;
        b = v;
        break;
    default:
        r = v;
        g = p;
        b = q;
        break;
    }
    const auto channel = [](double c) { return static_cast<quint32>(c * 255.0) & 0xFF; };
    return channel(r) << 16 | channel(g) << 8 | channel(b);
}

quint32 randomLightColor()
{
    QRandomGenerator* random = QRandomGenerator::system();
    const double hue = random->generateDouble();
    const double saturation = 0.3 + 0.3 * random->generateDouble();
    const double brightness = 0.8 + 0.2 * random->generateDouble();
    return colorFromHsb(hue, saturation, brightness);
}

} // namespace TagPalette
