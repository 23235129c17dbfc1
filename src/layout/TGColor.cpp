#include "TGColor.h"

#include <array>

namespace {
struct Named {
    const char *name;
    TColor value;
};
constexpr std::array<Named, 16> kStandard{{
    {"clBlack", 0x000000},
    {"clMaroon", 0x000080},
    {"clGreen", 0x008000},
    {"clOlive", 0x008080},
    {"clNavy", 0x800000},
    {"clPurple", 0x800080},
    {"clTeal", 0x808000},
    {"clGray", 0x808080},
    {"clSilver", 0xC0C0C0},
    {"clRed", 0x0000FF},
    {"clLime", 0x00FF00},
    {"clYellow", 0x00FFFF},
    {"clBlue", 0xFF0000},
    {"clFuchsia", 0xFF00FF},
    {"clAqua", 0xFFFF00},
    {"clWhite", 0xFFFFFF},
}};
constexpr std::array<const char *, 25> kSystem{
    "clScrollBar",    "clBackground",     "clActiveCaption", "clInactiveCaption", "clMenu",
    "clWindow",       "clWindowFrame",    "clMenuText",      "clWindowText",      "clCaptionText",
    "clActiveBorder", "clInactiveBorder", "clAppWorkSpace",  "clHighlight",       "clHighlightText",
    "clBtnFace",      "clBtnShadow",      "clGrayText",      "clBtnText",         "clInactiveCaptionText",
    "clBtnHighlight", "cl3DDkShadow",     "cl3DLight",       "clInfoText",        "clInfoBk",
};
constexpr TColor kSystemBase = 0x80000000u;
// Stand-ins for the system colours, in the order above (0x00BBGGRR).
constexpr std::array<TColor, 25> kSystemStandIn{
    0xC0C0C0, 0x808000, 0x800000, 0x808080, 0xC0C0C0, 0xFFFFFF, 0x000000, 0x000000, 0x000000,
    0xFFFFFF, 0xC0C0C0, 0xC0C0C0, 0x808080, 0x800000, 0xFFFFFF, 0xC0C0C0, 0x808080, 0x808080,
    0x000000, 0x000000, 0xFFFFFF, 0x404040, 0xC0C0C0, 0x000000, 0xE1FFFF,
};
} // namespace

namespace TGColor {

QByteArray name(TColor colour)
{
    for (const Named &n : kStandard)
        if (n.value == colour)
            return QByteArray(n.name);
    if (colour >= kSystemBase && colour < kSystemBase + kSystem.size())
        return QByteArray(kSystem[colour - kSystemBase]);
    if (colour == clNone)
        return QByteArrayLiteral("clNone");
    return {};
}

std::optional<TColor> fromName(const QByteArray &text)
{
    for (const Named &n : kStandard)
        if (text == n.name)
            return n.value;
    for (std::size_t i = 0; i < kSystem.size(); ++i)
        if (text == kSystem[i])
            return kSystemBase + static_cast<TColor>(i);
    if (text == "clNone")
        return clNone;
    return std::nullopt;
}

QColor toQColor(TColor colour)
{
    if (colour == clNone)
        return QColor(Qt::transparent);
    if (colour & kSystemBase) {
        const TColor index = colour & 0xFFu;
        colour = index < kSystemStandIn.size() ? kSystemStandIn[index] : 0;
    }
    return QColor(int(colour & 0xFF), int((colour >> 8) & 0xFF), int((colour >> 16) & 0xFF));
}

TColor fromQColor(const QColor &colour)
{
    return TColor(colour.red()) | (TColor(colour.green()) << 8) | (TColor(colour.blue()) << 16);
}

} // namespace TGColor
