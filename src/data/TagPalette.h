#pragma once

#include <QString>
#include <QStringList>
#include <array>
#include <optional>

/// The built-in tags and the colours handed out to tags.
namespace TagPalette {

/// "Work", "Learning", "Creative", "Deep Work", "Meeting", "Personal".
const QStringList& defaultTags();
/// The built-in colour of a default tag.
std::optional<quint32> defaultColor(const QString& tag);
/// Candidates for new tags, in the order they are handed out.
const std::array<quint32, 24>& colorCandidates();

/// A light random colour: hue in [0, 1], saturation in [0.3, 0.6], brightness in [0.8, 1].
quint32 randomLightColor();
/// Standard HSB (HSV) conversion to 0xRRGGBB, each channel × 255 truncated.
quint32 colorFromHsb(double hue, double saturation, double brightness);

} // namespace TagPalette
