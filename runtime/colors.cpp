#include "colors.h"

#include <QPalette>
#include <array>

namespace {
// The program's own system colours, drawn from its skin's slate and teal so
// that framed controls and skinned ones read as one design. 0xRRGGBB.
constexpr std::array<std::uint32_t, 31> kSystemPalette = {
    0xE6EAEE,  // clScrollBar
    0x34506F,  // clBackground
    0x34506F,  // clActiveCaption
    0x9AA8B8,  // clInactiveCaption
    0xFFFFFF,  // clMenu
    0xFFFFFF,  // clWindow
    0x263A50,  // clWindowFrame
    0x1F2933,  // clMenuText
    0x1F2933,  // clWindowText
    0xFFFFFF,  // clCaptionText
    0xC5CED8,  // clActiveBorder
    0xD5DCE4,  // clInactiveBorder
    0x8A96A3,  // clAppWorkSpace
    0x2A9D8F,  // clHighlight
    0xFFFFFF,  // clHighlightText
    0xF3F5F7,  // clBtnFace
    0xA9B6C3,  // clBtnShadow
    0x8A96A3,  // clGrayText
    0x1F2933,  // clBtnText
    0xE6EBF0,  // clInactiveCaptionText
    0xFFFFFF,  // clBtnHighlight
    0x5C6B7A,  // cl3DDkShadow
    0xE6EBF0,  // cl3DLight
    0x1F2933,  // clInfoText
    0xFFFFFF,  // clInfoBk
    0xB8C4D0,  // (unused)
    0x1F7A6F,  // clHotLight
    0x4A6A8F,  // clGradientActiveCaption
    0x9AA8B8,  // clGradientInactiveCaption
    0x2A9D8F,  // clMenuHighlight
    0xF3F5F7,  // clMenuBar
};

struct NamedColor { TColor value; const char* name; };
constexpr NamedColor kNames[] = {
    {clBlack, "clBlack"}, {clMaroon, "clMaroon"}, {clGreen, "clGreen"}, {clOlive, "clOlive"},
    {clNavy, "clNavy"}, {clPurple, "clPurple"}, {clTeal, "clTeal"}, {clGray, "clGray"},
    {clSilver, "clSilver"}, {clRed, "clRed"}, {clLime, "clLime"}, {clYellow, "clYellow"},
    {clBlue, "clBlue"}, {clFuchsia, "clFuchsia"}, {clAqua, "clAqua"}, {clWhite, "clWhite"},
    {clMoneyGreen, "clMoneyGreen"}, {clSkyBlue, "clSkyBlue"}, {clCream, "clCream"},
    {clMedGray, "clMedGray"}, {clNone, "clNone"}, {clDefault, "clDefault"},
    {clScrollBar, "clScrollBar"}, {clBackground, "clBackground"},
    {clActiveCaption, "clActiveCaption"}, {clInactiveCaption, "clInactiveCaption"},
    {clMenu, "clMenu"}, {clWindow, "clWindow"}, {clWindowFrame, "clWindowFrame"},
    {clMenuText, "clMenuText"}, {clWindowText, "clWindowText"},
    {clCaptionText, "clCaptionText"}, {clActiveBorder, "clActiveBorder"},
    {clInactiveBorder, "clInactiveBorder"}, {clAppWorkSpace, "clAppWorkSpace"},
    {clHighlight, "clHighlight"}, {clHighlightText, "clHighlightText"},
    {clBtnFace, "clBtnFace"}, {clBtnShadow, "clBtnShadow"}, {clGrayText, "clGrayText"},
    {clBtnText, "clBtnText"}, {clInactiveCaptionText, "clInactiveCaptionText"},
    {clBtnHighlight, "clBtnHighlight"}, {cl3DDkShadow, "cl3DDkShadow"},
    {cl3DLight, "cl3DLight"}, {clInfoText, "clInfoText"}, {clInfoBk, "clInfoBk"},
    {clHotLight, "clHotLight"}, {clGradientActiveCaption, "clGradientActiveCaption"},
    {clGradientInactiveCaption, "clGradientInactiveCaption"},
    {clMenuHighlight, "clMenuHighlight"}, {clMenuBar, "clMenuBar"},
};
}

TColor ColorToRGB(TColor c) {
    if (IsSystemColor(c)) {
        unsigned index = c & 0xFF;
        std::uint32_t rgb = index < kSystemPalette.size() ? kSystemPalette[index] : 0;
        return RGBColor(int(rgb >> 16), int(rgb >> 8), int(rgb));
    }
    return c & 0x00FFFFFF;
}

QColor ToQColor(TColor c) {
    TColor rgb = ColorToRGB(c);
    return QColor(GetRValue(rgb), GetGValue(rgb), GetBValue(rgb));
}

TColor FromQColor(const QColor& c) { return RGBColor(c.red(), c.green(), c.blue()); }

std::optional<TColor> IdentToColor(const QString& ident) {
    for (const auto& n : kNames)
        if (ident.compare(QLatin1String(n.name), Qt::CaseInsensitive) == 0) return n.value;
    return std::nullopt;
}

std::optional<QString> ColorToIdent(TColor c) {
    for (const auto& n : kNames)
        if (n.value == c) return QString::fromLatin1(n.name);
    return std::nullopt;
}

QPalette SystemPalette() {
    QPalette pal;
    auto set = [&pal](QPalette::ColorRole role, TColor c) { pal.setColor(role, ToQColor(c)); };
    set(QPalette::Window, clBtnFace);
    set(QPalette::WindowText, clWindowText);
    set(QPalette::Base, clWindow);
    set(QPalette::AlternateBase, cl3DLight);
    set(QPalette::Text, clWindowText);
    set(QPalette::Button, clBtnFace);
    set(QPalette::ButtonText, clBtnText);
    set(QPalette::BrightText, clHighlightText);
    set(QPalette::Light, clBtnHighlight);
    set(QPalette::Midlight, cl3DLight);
    set(QPalette::Mid, clBtnShadow);
    set(QPalette::Dark, clBtnShadow);
    set(QPalette::Shadow, cl3DDkShadow);
    set(QPalette::Highlight, clHighlight);
    set(QPalette::HighlightedText, clHighlightText);
    set(QPalette::ToolTipBase, clInfoBk);
    set(QPalette::ToolTipText, clInfoText);
    set(QPalette::PlaceholderText, clGrayText);
    set(QPalette::Link, clHotLight);
    for (QPalette::ColorRole role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
        pal.setColor(QPalette::Disabled, role, ToQColor(clGrayText));
    pal.setColor(QPalette::Disabled, QPalette::Base, ToQColor(clBtnFace));
    return pal;
}
