#pragma once

#include <QString>
#include <array>
#include <optional>

/// One entry of the twelve-colour palette for the focus and break phases.
struct ThemeColorOption {
    QString id; ///< stable id, stored in the preferences
    QString name; ///< display name
    quint32 hex = 0; ///< 0xRRGGBB

    bool operator==(const ThemeColorOption&) const = default;
};

/// The palette, in the order the picker shows it.
const std::array<ThemeColorOption, 12>& themeColorOptions();
/// The colour of a palette id (exact match), or nothing for an unknown id.
std::optional<quint32> themeColorForId(const QString& id);

inline constexpr quint32 fallbackFocusColor = 0xFDA4AF;
inline constexpr quint32 fallbackBreakColor = 0x6EE7B7;
