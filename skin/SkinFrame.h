// The skinned frame of a window: its fixed geometry (caption zones, tile counts) and the
// painter that draws corner, caption bar, caption buttons, borders and the left strip from
// the skin bitmaps. It draws only what it is handed, so the generator's previews use it too.
#pragma once

#include "SkinBitmaps.h"

#include <QColor>
#include <QImage>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>

class QPainter;

namespace tarnell::skin {

// Frame measures shared by painting and by the caption's mouse handling.
constexpr int CornerSize = 46;    // the corner piece, and the rows an activation repaints
constexpr int CaptionHeight = 31; // the caption bar
constexpr int BottomHeight = 15;  // the bottom border
constexpr int SideWidth = 8;      // the side borders
constexpr int ButtonReserve = 50; // room kept at the caption bar's right end for the buttons
constexpr int SeamWidth = 2;      // the cyan seam between corner and caption bar
constexpr int CaptionBand = 28;   // presses and drags act on rows y < 28
constexpr int ReleaseBand = 27;   // a button acts on a release at y < 27 only
constexpr QPoint CaptionTextPos{68, 6};
constexpr QPoint StripPanelPos{8, 46}; // Panel1, which holds the left strip at its top-left
inline const QColor FormColour{128, 128, 128};
inline const QColor StripTopColour{0, 255, 255};
inline const QColor StripBottomColour{0, 32, 32};
constexpr int StripSteps = 255;

// The caption buttons' zones, open at both ends, and the top-left of their 15 x 22 boxes.
bool inCloseZone(int x, int width);
bool inMinimiseZone(int x, int width);
QPoint closeBoxPos(int width);
QPoint minimiseBoxPos(int width, bool pressed);

// What one paint of the frame depends on.
struct FrameState {
    QSize size; // the window's client size W x H
    QString caption;
    bool active = true; // TOP and the bright buttons, else TOP_D and the dim ones
    bool closePressed = false;
    bool minimisePressed = false;
    int frameAndCaptionHeight = 0; // the platform's sizing frame + caption height
};

// Paints the frame (not the background) in the fixed order of its pieces.
void paintFrame(QPainter& painter, const SkinBitmaps& bitmaps, const FrameState& state);

// The coloured strip down the left side of a window (PaintBox1) filling rect: a vertical
// gradient from cyan to dark teal.
void paintLeftStrip(QPainter& painter, const QRect& rect);

// The 46 x 46 corner piece with the program's icon set into its round recess.
QImage composeCorner(const SkinBitmaps& bitmaps);

// Nearest-neighbour stretch of source's rectangle to a size: target pixel (x, y) takes the
// source pixel (left + x * w / targetW, top + y * h / targetH), rounded down.
QImage stretchCopy(const QImage& source, const QRect& sourceRect, QSize targetSize);

} // namespace tarnell::skin
