// The glyph side of the push buttons: the Glyph bitmap cut into up to four images, the
// disabled looks made from it, the image stores shared by one button class, and the layout of
// glyph and caption on the face.
#pragma once

#include <QImage>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>
#include <array>
#include <memory>
#include <optional>
#include <vector>

namespace tarnell {

enum TmybitbutKind {
    bkCustom,
    bkOK,
    bkCancel,
    bkHelp,
    bkYes,
    bkNo,
    bkClose,
    bkAbort,
    bkRetry,
    bkIgnore,
    bkAll
};

enum TButtonLayout { blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom };

// The images of a glyph bitmap, in the order they stand in it.
enum class GlyphState { Up = 0, Disabled = 1, Pressed = 2, Exclusive = 3 };

// What a standard kind puts on its button.
struct StandardKind {
    QString caption;
    int modalResult;
    bool isDefault;
    bool isCancel;
    QString bitmapName;
};
// The standard caption, modal result, Default/Cancel and glyph bitmap of kind (not bkCustom).
const StandardKind& standardKind(TmybitbutKind kind);

// Images of one size; a slot, once given, keeps its image until it is given back.
class GlyphImageList {
public:
    explicit GlyphImageList(QSize imageSize) : imageSize_(imageSize) {}
    QSize imageSize() const { return imageSize_; }
    // Stores image in the lowest free slot, or a new slot at the end; returns the slot.
    int add(const QImage& image);
    void remove(int slot);
    const QImage& image(int slot) const { return images_.at(static_cast<size_t>(slot)); }
    bool inUse(int slot) const;
    int imagesInUse() const { return inUse_; }
    int slotCount() const { return static_cast<int>(used_.size()); }

private:
    QSize imageSize_;
    std::vector<QImage> images_;
    std::vector<bool> used_;
    int inUse_ = 0;
};

// The glyph images of every button of one class: one list per image size, made when the first
// image of that size arrives and freed when its last image is given back; and the glyph
// bitmaps of the standard kinds, each loaded at most once.
class GlyphImageStore {
public:
    GlyphImageStore() = default;
    GlyphImageStore(const GlyphImageStore&) = delete;
    GlyphImageStore& operator=(const GlyphImageStore&) = delete;

    // The list for images of size, searched from the most recently made backwards.
    GlyphImageList& listFor(QSize size);
    const GlyphImageList* findList(QSize size) const;
    // Gives a slot back; frees its list when that was the list's last image.
    void release(GlyphImageList* list, int slot);
    int listCount() const { return static_cast<int>(lists_.size()); }

    QImage kindGlyph(TmybitbutKind kind);
    int kindGlyphLoads() const { return kindGlyphLoads_; }

private:
    std::vector<std::unique_ptr<GlyphImageList>> lists_;
    std::array<std::optional<QImage>, bkAll + 1> kindGlyphs_;
    int kindGlyphLoads_ = 0;
};

// The glyph of one button: its bitmap (a copy), the number of images in it, the transparent
// colour (the bitmap's bottom-left pixel) and the slots of the images already made.
class TButtonGlyph {
public:
    explicit TButtonGlyph(GlyphImageStore& store) : store_(store) {}
    ~TButtonGlyph();
    TButtonGlyph(const TButtonGlyph&) = delete;
    TButtonGlyph& operator=(const TButtonGlyph&) = delete;

    GlyphImageStore& store() const { return store_; }
    const QImage& glyph() const { return glyph_; }
    // Copies bitmap, takes the transparent colour from its bottom-left pixel and, for a bitmap
    // whose width is a whole multiple of its height, sets NumGlyphs to the quotient (1 above 4).
    void setGlyph(const QImage& bitmap);
    int numGlyphs() const { return numGlyphs_; }
    // Kept within 1 to 4. Returns whether the value changed.
    bool setNumGlyphs(int value);
    QRgb transparentColor() const { return transparentColor_; }
    // One image's size: the bitmap's width / NumGlyphs by its height; 0 x 0 without a bitmap.
    QSize imageSize() const;
    // The image drawn in state (transparent pixels have alpha 0), made on first use.
    QImage image(GlyphState state);
    // Whether the image of state has been made (for the store's bookkeeping and its tests).
    bool hasImage(GlyphState state) const { return slots_[static_cast<size_t>(state)] >= 0; }

private:
    QImage makeImage(GlyphState state) const;
    void releaseImages();

    GlyphImageStore& store_;
    QImage glyph_;
    int numGlyphs_ = 1;
    QRgb transparentColor_ = 0;
    GlyphImageList* list_ = nullptr;
    std::array<int, 4> slots_{-1, -1, -1, -1};
};

// Image index of the bitmap's images as cut: image i of n from bitmap, transparent colour
// pixels made fully transparent. With a count of 1 it keys a whole picture.
QImage cutGlyphImage(const QImage& bitmap, int index, int count, QRgb transparent);
// A supplied disabled image: white in the highlight colour, grey ($808080) in the shadow
// colour; transparent pixels stay transparent so the face shows through.
QImage recolourDisabledGlyph(const QImage& image, QRgb transparent);
// A disabled image made from the up image: every pixel that is neither transparent nor white
// becomes the shadow colour, with a highlight copy one pixel right and down beneath it.
QImage embossDisabledGlyph(const QImage& upImage, QRgb transparent);

// Positions of glyph and caption on a face.
struct GlyphAndCaptionPlace {
    QPoint glyph;
    QRect caption;
};
// Lays out a glyph of glyphSize and a caption of captionSize in client (either may be 0 x 0):
// centred across the layout direction, placed along it by margin and spacing (-1: automatic).
GlyphAndCaptionPlace layoutGlyphAndCaption(const QRect& client, QSize glyphSize, QSize captionSize,
                                           TButtonLayout layout, int margin, int spacing);

} // namespace tarnell
