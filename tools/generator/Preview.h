// Previews for the contact sheet: the stored pictures put together by the program's own
// field renderer and frame painter, so that seams, tiling and masks can be judged at 1x.
#pragma once

#include <QImage>
#include <QString>
#include <map>

namespace tarnell::generator {

using ImagesByName = std::map<QString, QImage>;

// A 10 x 10 board on the field's grey gradient, with a current cell, highlighted cells,
// count flags and foxes. Empty when a field picture is missing.
QImage previewBoard(const ImagesByName& images);
// A skinned window frame of the given client size, active or inactive, with its caption.
// Empty when a skin picture is missing.
QImage previewFrame(const ImagesByName& images, int width, int height, const QString& caption,
                    bool active);

} // namespace tarnell::generator
