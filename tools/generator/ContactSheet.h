// The contact sheet: every stored image enlarged four times with its name under it,
// grouped as the artwork is, for reviewing the art at a glance.
#pragma once

#include <QImage>
#include <QString>
#include <vector>

namespace tarnell::generator {

struct SheetEntry {
    QString name;     // shown under the picture, with the size and depth
    QImage image;     // the picture as the program loads it
    int bitsPerPixel; // 0 for a preview, which is not stored
    int scale = 4;
};

struct SheetGroup {
    QString title;
    std::vector<SheetEntry> entries;
};

QImage drawContactSheet(const std::vector<SheetGroup>& groups);

} // namespace tarnell::generator
