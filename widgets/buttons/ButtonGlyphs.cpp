#include "ButtonGlyphs.h"

#include "platform/Resources.h"
#include "platform/drawing/Colors.h"

#include <algorithm>

namespace tarnell {

const StandardKind& standardKind(TmybitbutKind kind) {
    static const std::array<StandardKind, bkAll + 1> kinds{{
        {QString(), 0, false, false, QString()},
        {QStringLiteral("OK"), 1, true, false, QStringLiteral("ABOK")},
        {QStringLiteral("Cancel"), 2, false, true, QStringLiteral("ABCANCEL")},
        {QStringLiteral("&Help"), 0, false, false, QStringLiteral("ABHELP")},
        {QStringLiteral("&Yes"), 6, true, false, QStringLiteral("ABYES")},
        {QStringLiteral("&No"), 7, false, true, QStringLiteral("ABNO")},
        {QStringLiteral("&Close"), 0, false, false, QStringLiteral("ABCLOSE")},
        {QStringLiteral("Abort"), 3, false, false, QStringLiteral("ABABORT")},
        {QStringLiteral("&Retry"), 4, false, false, QStringLiteral("ABRETRY")},
        {QStringLiteral("&Ignore"), 5, false, false, QStringLiteral("ABIGNORE")},
        {QStringLiteral("&All"), 8, false, false, QStringLiteral("ABALL")},
    }};
    const int index = std::clamp(static_cast<int>(kind), 0, static_cast<int>(bkAll));
    return kinds[static_cast<size_t>(index)];
}

// ---- GlyphImageList

int GlyphImageList::add(const QImage& image) {
    const auto freeSlot = std::find(used_.begin(), used_.end(), false);
    const auto slot = static_cast<size_t>(freeSlot - used_.begin());
    if (freeSlot == used_.end()) {
        used_.push_back(true);
        images_.push_back(image);
    } else {
        *freeSlot = true;
        images_[slot] = image;
    }
    ++inUse_;
    return static_cast<int>(slot);
}

void GlyphImageList::remove(int slot) {
    if (!inUse(slot))
        return;
    used_[static_cast<size_t>(slot)] = false;
    images_[static_cast<size_t>(slot)] = QImage();
    --inUse_;
}

bool GlyphImageList::inUse(int slot) const {
    return slot >= 0 && slot < slotCount() && used_[static_cast<size_t>(slot)];
}

// ---- GlyphImageStore

GlyphImageList& GlyphImageStore::listFor(QSize size) {
    for (auto it = lists_.rbegin(); it != lists_.rend(); ++it)
        if ((*it)->imageSize() == size)
            return **it;
    lists_.push_back(std::make_unique<GlyphImageList>(size));
    return *lists_.back();
}

const GlyphImageList* GlyphImageStore::findList(QSize size) const {
    for (auto it = lists_.rbegin(); it != lists_.rend(); ++it)
        if ((*it)->imageSize() == size)
            return it->get();
    return nullptr;
}

void GlyphImageStore::release(GlyphImageList* list, int slot) {
    if (list == nullptr)
        return;
    list->remove(slot);
    if (list->imagesInUse() > 0)
        return;
    const auto it = std::find_if(lists_.begin(), lists_.end(),
                                 [list](const auto& owned) { return owned.get() == list; });
    if (it != lists_.end())
        lists_.erase(it);
}

QImage GlyphImageStore::kindGlyph(TmybitbutKind kind) {
    if (kind <= bkCustom || kind > bkAll)
        return {};
    auto& cached = kindGlyphs_[static_cast<size_t>(kind)];
    if (!cached) {
        cached = platform::loadBitmap(standardKind(kind).bitmapName);
        ++kindGlyphLoads_;
    }
    return *cached;
}

// ---- TButtonGlyph

TButtonGlyph::~TButtonGlyph() {
    releaseImages();
}

void TButtonGlyph::setGlyph(const QImage& bitmap) {
    releaseImages();
    glyph_ = bitmap.isNull() ? QImage() : bitmap.convertToFormat(QImage::Format_RGB32);
    transparentColor_ = glyph_.isNull() ? 0 : glyph_.pixel(0, glyph_.height() - 1) | 0xFF000000u;
    if (!glyph_.isNull() && glyph_.width() % glyph_.height() == 0) {
        const int quotient = glyph_.width() / glyph_.height();
        numGlyphs_ = quotient > 4 ? 1 : quotient;
    }
}

bool TButtonGlyph::setNumGlyphs(int value) {
    value = std::clamp(value, 1, 4);
    if (value == numGlyphs_)
        return false;
    releaseImages();
    numGlyphs_ = value;
    return true;
}

QSize TButtonGlyph::imageSize() const {
    if (glyph_.isNull())
        return {0, 0};
    return {glyph_.width() / numGlyphs_, glyph_.height()};
}

QImage TButtonGlyph::image(GlyphState state) {
    const QSize size = imageSize();
    if (size.isEmpty())
        return {};
    const auto index = static_cast<size_t>(state);
    if (slots_[index] < 0) {
        list_ = &store_.listFor(size);
        slots_[index] = list_->add(makeImage(state));
    }
    return list_->image(slots_[index]);
}

QImage TButtonGlyph::makeImage(GlyphState state) const {
    const int index = static_cast<int>(state);
    const bool supplied = index < numGlyphs_;
    if (state == GlyphState::Disabled) {
        if (supplied)
            return recolourDisabledGlyph(cutGlyphImage(glyph_, index, numGlyphs_, 0),
                                         transparentColor_);
        return embossDisabledGlyph(cutGlyphImage(glyph_, 0, numGlyphs_, 0), transparentColor_);
    }
    return cutGlyphImage(glyph_, supplied ? index : 0, numGlyphs_, transparentColor_);
}

void TButtonGlyph::releaseImages() {
    for (int& slot : slots_) {
        if (slot >= 0)
            store_.release(list_, slot);
        slot = -1;
    }
    list_ = nullptr;
}

// ---- image making

QImage cutGlyphImage(const QImage& bitmap, int index, int count, QRgb transparent) {
    if (bitmap.isNull() || count < 1)
        return {};
    const int width = bitmap.width() / count;
    QImage image(width, bitmap.height(), QImage::Format_ARGB32);
    for (int y = 0; y < bitmap.height(); ++y)
        for (int x = 0; x < width; ++x) {
            const QRgb pixel = bitmap.pixel(index * width + x, y) | 0xFF000000u;
            image.setPixel(x, y, (transparent != 0 && pixel == transparent) ? 0u : pixel);
        }
    return image;
}

QImage recolourDisabledGlyph(const QImage& image, QRgb transparent) {
    const QRgb highlight = platform::toQColor(platform::clBtnHighlight).rgb();
    const QRgb shadow = platform::toQColor(platform::clBtnShadow).rgb();
    QImage result(image.size(), QImage::Format_ARGB32);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QRgb pixel = image.pixel(x, y) | 0xFF000000u;
            QRgb out = pixel;
            if (pixel == transparent)
                out = 0;
            else if (pixel == qRgb(255, 255, 255))
                out = highlight;
            else if (pixel == qRgb(128, 128, 128))
                out = shadow;
            result.setPixel(x, y, out);
        }
    return result;
}

QImage embossDisabledGlyph(const QImage& upImage, QRgb transparent) {
    const QRgb highlight = platform::toQColor(platform::clBtnHighlight).rgb();
    const QRgb shadow = platform::toQColor(platform::clBtnShadow).rgb();
    const int width = upImage.width();
    const int height = upImage.height();
    QImage result(upImage.size(), QImage::Format_ARGB32);
    result.fill(0u);
    auto isInk = [&](int x, int y) {
        const QRgb pixel = upImage.pixel(x, y);
        return qAlpha(pixel) != 0 && (pixel | 0xFF000000u) != transparent &&
               (pixel | 0xFF000000u) != qRgb(255, 255, 255);
    };
    for (int y = 0; y + 1 < height; ++y)
        for (int x = 0; x + 1 < width; ++x)
            if (isInk(x, y))
                result.setPixel(x + 1, y + 1, highlight);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            if (isInk(x, y))
                result.setPixel(x, y, shadow);
    return result;
}

// ---- layout

GlyphAndCaptionPlace layoutGlyphAndCaption(const QRect& client, QSize glyphSize, QSize captionSize,
                                           TButtonLayout layout, int margin, int spacing) {
    const bool horizontal = layout == blGlyphLeft || layout == blGlyphRight;
    const int length = horizontal ? client.width() : client.height();
    const int across = horizontal ? client.height() : client.width();
    const int glyphAlong = horizontal ? glyphSize.width() : glyphSize.height();
    const int glyphAcross = horizontal ? glyphSize.height() : glyphSize.width();
    const int textAlong = horizontal ? captionSize.width() : captionSize.height();
    const int textAcross = horizontal ? captionSize.height() : captionSize.width();

    if (glyphSize.isEmpty() || captionSize.isEmpty())
        spacing = 0;
    if (margin == -1) {
        if (spacing == -1) {
            margin = (length - (glyphAlong + textAlong)) / 3;
            spacing = margin;
        } else {
            margin = (length - (glyphAlong + spacing + textAlong) + 1) / 2;
        }
    } else if (spacing == -1) {
        spacing = (length - margin - glyphAlong - textAlong) / 2;
    }

    int glyphPos = 0;
    int textPos = 0;
    if (layout == blGlyphLeft || layout == blGlyphTop) {
        glyphPos = margin;
        textPos = glyphPos + glyphAlong + spacing;
    } else {
        glyphPos = length - margin - glyphAlong;
        textPos = glyphPos - spacing - textAlong;
    }
    const int glyphAcrossPos = (across - glyphAcross + 1) / 2;
    const int textAcrossPos = (across - textAcross + 1) / 2;

    GlyphAndCaptionPlace place;
    if (horizontal) {
        place.glyph = QPoint(glyphPos, glyphAcrossPos);
        place.caption = QRect(QPoint(textPos, textAcrossPos), captionSize);
    } else {
        place.glyph = QPoint(glyphAcrossPos, glyphPos);
        place.caption = QRect(QPoint(textAcrossPos, textPos), captionSize);
    }
    place.glyph += client.topLeft();
    place.caption.translate(client.topLeft());
    return place;
}

} // namespace tarnell
