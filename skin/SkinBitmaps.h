// The thirteen bitmaps and the icon that one skinned window paints its frame from.
// Every window loads its own copy when it is created and frees it when it is destroyed.
#pragma once

#include <QImage>
#include <QString>
#include <functional>

namespace tarnell::skin {

// Where the images come from: the embedded resources by default; tests may install their own.
// The loader is asked for the thirteen bitmap names and for "MAINICON" (a 32 x 32 image
// with an alpha channel); it returns a null image for a name it does not know.
using SkinImageLoader = std::function<QImage(const QString& name)>;

// Installs a loader (an empty one restores the embedded resources); returns the previous one.
SkinImageLoader setSkinImageLoader(SkinImageLoader loader);

// The system's large-icon size: the icon drawn into the corner piece.
constexpr int LargeIconSize = 32;

struct SkinBitmaps {
    QImage C_UL;
    QImage TOP;
    QImage TOP_D;
    QImage LEF;
    QImage RIG;
    QImage BOT;
    QImage MASK;
    QImage I_MIN;
    QImage I_MIND;
    QImage I_MAX;
    QImage I_MAXD;
    QImage I_CLO;
    QImage I_CLOD;
    QImage MAINICON;

    // Loads every image through the current loader; bitmaps come as Format_RGB32.
    static SkinBitmaps load();
    // Names of the bitmaps that the loader could not supply (empty when all are there).
    QStringList missing() const;
};

} // namespace tarnell::skin
