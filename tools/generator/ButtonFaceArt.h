// The glossy rounded face that every push button wears, in its four looks, and the
// colours that content on it takes in each look.
#pragma once

#include "ButtonPixelArt.h"

namespace tarnell::generator {

// The looks of a face strip, in the order the strips hold them from the left.
enum class FaceLook { Normal, Active, Pressed, Disabled };
inline constexpr FaceLook kFaceLooks[] = {FaceLook::Normal, FaceLook::Active, FaceLook::Pressed,
                                          FaceLook::Disabled};

// A rounded rectangle filling width x height whose corners are quarter ellipses of the
// given radii; radiusY of half the height gives pill-shaped ends.
ShapeMask roundedMask(int width, int height, double radiusX, double radiusY);

// A face of the base colour in the given look: dark rim, a glossy upper half, a body that
// darkens towards the bottom, light edges on the upper left; pressed faces are lit from
// below; disabled faces are grey. The pixels outside the rounded shape keep ground.
QImage glossyFace(int width, int height, const QColor& base, FaceLook look, const QColor& ground,
                  double radiusX, double radiusY);

// The base colour as the look shows it.
QColor lookColour(const QColor& base, FaceLook look);
// Where content sits in a look: pressed content moves one pixel right and down.
QPoint lookShift(FaceLook look);

} // namespace tarnell::generator
