// Small drawing helpers shared by the generator's artwork: colour mixing, pixel maps drawn
// from text rows, and masks derived from a picture and its ground.
#pragma once

#include <QColor>
#include <QImage>
#include <QPoint>
#include <QRgb>
#include <initializer_list>
#include <map>

namespace tarnell::generator {

// a + (b - a) * t per channel, rounded; t is clamped to 0..1.
QRgb mix(QRgb a, QRgb b, double t);
// Each channel multiplied by factor, rounded and clamped.
QRgb scaled(QRgb colour, double factor);
// A white-filled RGB32 canvas (the ground of the field shapes).
QImage canvas(int width, int height, QRgb ground = 0xFFFFFFFFu);

// Draws a picture given as text rows, one character a pixel, at origin; characters missing
// from the legend (such as '.') leave the pixel as it is.
void drawPixelMap(QImage& image, QPoint origin, std::initializer_list<const char*> rows,
                  const std::map<char, QRgb>& legend);

// The mask of a shape: shapeColour wherever image differs from ground, black elsewhere.
QImage maskOf(const QImage& image, QRgb ground, QRgb shapeColour = 0xFFFFFFFFu);

} // namespace tarnell::generator
