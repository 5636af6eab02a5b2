#include "Preview.h"

#include "mainwindow/FieldRenderer.h"
#include "skin/SkinFrame.h"

#include <QPainter>
#include <algorithm>
#include <initializer_list>

namespace tarnell::generator {

namespace {

bool hasAll(const ImagesByName& images, std::initializer_list<const char*> names) {
    return std::all_of(names.begin(), names.end(), [&](const char* name) {
        const auto found = images.find(QString::fromLatin1(name));
        return found != images.end() && !found->second.isNull();
    });
}

// The named image, or a null image when it was not drawn.
QImage at(const ImagesByName& images, const char* name) {
    const auto found = images.find(QString::fromLatin1(name));
    return found == images.end() ? QImage() : found->second;
}

TPlateImages plate(const ImagesByName& images, const char* plain, const char* current,
                   const char* highlighted, const char* mask) {
    return {at(images, plain), at(images, current), at(images, highlighted), at(images, mask)};
}

// The frame's bitmaps as the program loads them: 32-bit RGB, the icon as it is.
QImage skinBitmap(const ImagesByName& images, const char* name) {
    QImage image = at(images, name);
    if (!image.isNull() && image.format() != QImage::Format_RGB32)
        image = image.convertToFormat(QImage::Format_RGB32);
    return image;
}

} // namespace

QImage previewBoard(const ImagesByName& images) {
    TFieldImages field;
    field.Inner = plate(images, "PLATE", "PLATEB", "PLATEY", "MASKP");
    field.LastRow = plate(images, "PLATE_L", "PLATE_LB", "PLATE_LY", "MASK_L");
    field.LastColumn = plate(images, "PLATE_R", "PLATE_RB", "PLATE_RY", "MASK_R");
    field.Flag = at(images, "FLAG");
    field.FlagMask = at(images, "FLAG_M");
    field.Fox = at(images, "FOX");
    field.FoxMask = at(images, "FOX_M");
    if (!field.problems().isEmpty())
        return {};

    // A fixed little scene: opened cells with counts, three foxes, and the current cell on one
    // of them, where the fox leaves the current plate's ring the least room.
    auto opened = [](int i, int j) { return (i * 7 + j * 3) % 5 == 0 || (i == 5 && j < 5); };
    auto fox = [](int i, int j) {
        return (i == 3 && j == 8) || (i == 7 && j == 2) || (i == 10 && j == 10);
    };
    TFieldRenderer renderer(std::move(field));
    renderer.drawFrame(10, [&](int i, int j) {
        using Look = TCellLook;
        Look look;
        if (i == 10 && j == 10)
            look.plate = Look::Plate::Current;
        else if (opened(i, j) || fox(i, j))
            look.plate = Look::Plate::Highlighted;
        if (fox(i, j)) {
            look.mark = Look::Mark::Fox;
        } else if (opened(i, j)) {
            look.mark = Look::Mark::Flag;
            look.count = (i + 2 * j) % 12;
        }
        return look;
    });
    return renderer.backBuffer().copy(0, 0, TFieldRenderer::AreaWidth, TFieldRenderer::AreaHeight);
}

QImage previewFrame(const ImagesByName& images, int width, int height, const QString& caption,
                    bool active) {
    if (!hasAll(images, {"C_UL", "MASK", "MAINICON", "TOP", "TOP_D", "LEF", "RIG", "BOT", "I_MIN",
                         "I_MIND", "I_CLO", "I_CLOD"}))
        return {};
    skin::SkinBitmaps bitmaps;
    bitmaps.C_UL = skinBitmap(images, "C_UL");
    bitmaps.TOP = skinBitmap(images, "TOP");
    bitmaps.TOP_D = skinBitmap(images, "TOP_D");
    bitmaps.LEF = skinBitmap(images, "LEF");
    bitmaps.RIG = skinBitmap(images, "RIG");
    bitmaps.BOT = skinBitmap(images, "BOT");
    bitmaps.MASK = skinBitmap(images, "MASK");
    bitmaps.I_MIN = skinBitmap(images, "I_MIN");
    bitmaps.I_MIND = skinBitmap(images, "I_MIND");
    bitmaps.I_MAX = skinBitmap(images, "I_MAX");
    bitmaps.I_MAXD = skinBitmap(images, "I_MAXD");
    bitmaps.I_CLO = skinBitmap(images, "I_CLO");
    bitmaps.I_CLOD = skinBitmap(images, "I_CLOD");
    bitmaps.MAINICON = at(images, "MAINICON");

    // A window of that client size, with a left strip 40 pixels wide down to the bottom border.
    QImage frame(width, height, QImage::Format_RGB32);
    frame.fill(skin::FormColour);
    QPainter painter(&frame);
    skin::FrameState state;
    state.size = QSize(width, height);
    state.caption = caption;
    state.active = active;
    skin::paintFrame(painter, bitmaps, state);
    skin::paintLeftStrip(painter,
                         QRect(skin::StripPanelPos,
                               QSize(40, height - skin::StripPanelPos.y() - skin::BottomHeight)));
    return frame;
}

} // namespace tarnell::generator
