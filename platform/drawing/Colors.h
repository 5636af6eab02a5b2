// Colour values as the widgets store them: $00BBGGRR for a plain colour, or a system
// colour index with the top bit set, resolved to a plain colour only when drawn.
#pragma once

#include <QColor>
#include <cstdint>

namespace tarnell::platform {

using TColor = uint32_t;

constexpr TColor SystemColorFlag = 0x80000000u;
// The system colours the program uses (classic index values).
constexpr TColor clScrollBar = SystemColorFlag | 0;
constexpr TColor clBackground = SystemColorFlag | 1;
constexpr TColor clActiveCaption = SystemColorFlag | 2;
constexpr TColor clWindow = SystemColorFlag | 5;
constexpr TColor clWindowText = SystemColorFlag | 8;
constexpr TColor clHighlight = SystemColorFlag | 13;
constexpr TColor clHighlightText = SystemColorFlag | 14;
constexpr TColor clBtnFace = SystemColorFlag | 15;
constexpr TColor clBtnShadow = SystemColorFlag | 16;
constexpr TColor clGrayText = SystemColorFlag | 17;
constexpr TColor clBtnText = SystemColorFlag | 18;
constexpr TColor clBtnHighlight = SystemColorFlag | 20;
constexpr TColor cl3DDkShadow = SystemColorFlag | 21;
constexpr TColor cl3DLight = SystemColorFlag | 22;

// Plain colours.
constexpr TColor rgb(int r, int g, int b) {
    return static_cast<TColor>(r & 0xFF) | (static_cast<TColor>(g & 0xFF) << 8) |
           (static_cast<TColor>(b & 0xFF) << 16);
}
constexpr TColor clBlack = rgb(0, 0, 0);
constexpr TColor clWhite = rgb(255, 255, 255);
constexpr TColor clLime = rgb(0, 255, 0);
constexpr TColor clAqua = rgb(0, 255, 255);
constexpr TColor clYellow = rgb(255, 255, 0);
constexpr TColor clRed = rgb(255, 0, 0);
constexpr TColor clGray = rgb(128, 128, 128);
constexpr TColor clSilver = rgb(192, 192, 192);

constexpr bool isSystemColor(TColor c) {
    return (c & SystemColorFlag) != 0;
}

// A plain colour value as QColor, or a system colour from the classic table.
QColor toQColor(TColor c);
// A QColor as a plain colour value.
TColor fromQColor(const QColor& c);

} // namespace tarnell::platform
