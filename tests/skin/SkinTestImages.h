// Skin images for the tests: either the embedded ones, or synthetic ones in which every
// column and row of a piece has its own colour, so that a misplaced slice cannot pass.
#pragma once

#include "skin/SkinBitmaps.h"

#include <QImage>
#include <QRect>
#include <QString>
#include <gtest/gtest.h>

namespace tarnell::skintest {

enum class Source { Synthetic, Embedded };

// The synthetic image of a skin name (also "MAINICON"), null for an unknown name.
QImage syntheticImage(const QString& name);
// True when all thirteen bitmaps and the icon are embedded in the program.
bool embeddedSkinPresent();

// Installs the images of a source for the skin while it lives.
class ScopedSkin {
public:
    explicit ScopedSkin(Source source);
    ~ScopedSkin();
    ScopedSkin(const ScopedSkin&) = delete;
    ScopedSkin& operator=(const ScopedSkin&) = delete;

private:
    skin::SkinImageLoader previous_;
};

// Name for parameterised test output.
std::string sourceName(const ::testing::TestParamInfo<Source>& info);

// Every pixel of target's rectangle `area` equals source at (area's pixel - area's top-left
// + from); pixels inside `skip` are not compared. Reports the first few differences.
::testing::AssertionResult regionMatches(const QImage& target, const QRect& area,
                                         const QImage& source, QPoint from,
                                         const QRect& skip = QRect());
// Every pixel of the area has the colour.
::testing::AssertionResult regionIs(const QImage& target, const QRect& area, QColor colour);

QString colourText(QRgb rgb);

} // namespace tarnell::skintest
