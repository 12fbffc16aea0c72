#include "ThemeColorOption.h"

const std::array<ThemeColorOption, 12>& themeColorOptions()
{
    static const std::array<ThemeColorOption, 12> options { {
        { QStringLiteral("coral"), QStringLiteral("Coral"), 0xFDA4AF },
        { QStringLiteral("rose"), QStringLiteral("Rose"), 0xF472B6 },
        { QStringLiteral("orange"), QStringLiteral("Orange"), 0xFB923C },
        { QStringLiteral("amber"), QStringLiteral("Amber"), 0xFBBF24 },
        { QStringLiteral("lime"), QStringLiteral("Lime"), 0xA3E635 },
        { QStringLiteral("mint"), QStringLiteral("Mint"), 0x6EE7B7 },
        { QStringLiteral("cyan"), QStringLiteral("Cyan"), 0x22D3D8 },
        { QStringLiteral("sky"), QStringLiteral("Sky"), 0x7DD3FC },
        { QStringLiteral("indigo"), QStringLiteral("Indigo"), 0xA5B4FC },
        { QStringLiteral("lavender"), QStringLiteral("Lavender"), 0xD8B4FE },
        { QStringLiteral("pink"), QStringLiteral("Pink"), 0xF9A8D4 },
        { QStringLiteral("slate"), QStringLiteral("Slate"), 0xCBD5E1 },
    } };
    return options;
}

std::optional<quint32> themeColorForId(const QString& id)
{
    for (const ThemeColorOption& option : themeColorOptions()) {
        if (option.id == id)
            return option.hex;
    }
    return std::nullopt;
}
