#include "SkinFrame.h"

#include "platform/drawing/Colors.h"
#include "platform/drawing/Drawing.h"
#include "platform/drawing/Fonts.h"

#include <QFontMetrics>
#include <QPainter>

namespace tarnell::skin {

namespace {

const QColor SeamColour(0, 255, 255);
constexpr QPoint IconPos{10, 8};
constexpr int NearWhite = 250;
constexpr QSize ButtonBox{15, 22};

void copyImage(QPainter& painter, QPoint to, const QImage& image, const QRect& from) {
    platform::drawPixelArt(painter, to, image, from);
}

// A button box shows image columns 1..15 and rows 1..22; pressed, columns -1..13 and rows
// 0..21, so the picture sits 2 right and 1 down and the box's first column keeps what is there.
void paintCaptionButton(QPainter& painter, const QImage& image, QPoint box, bool pressed) {
    if (pressed)
        copyImage(painter, box + QPoint(1, 0), image,
                  QRect(0, 0, ButtonBox.width() - 1, ButtonBox.height()));
    else
        copyImage(painter, box, image, QRect(QPoint(1, 1), ButtonBox));
}

void paintCaptionBar(QPainter& painter, const QImage& top, int width) {
    copyImage(painter, QPoint(46, 0), top, QRect(0, 0, 13, CaptionHeight));
    const int tiles = (width - 85 - ButtonReserve) / 8 + 1;
    for (int k = 1; k <= tiles; ++k)
        copyImage(painter, QPoint(59 + 8 * (k - 1), 0), top, QRect(13, 0, 8, CaptionHeight));
    copyImage(painter, QPoint(width - 26 - ButtonReserve, 0), top, QRect(21, 0, 13, CaptionHeight));
    // Stretched far past the right edge; the end piece covers what would still show of it.
    if (!top.isNull() && width > 18)
        platform::drawPixelArt(
            painter, QPoint(width - 13 - ButtonReserve, 0),
            stretchCopy(top, QRect(34, 0, 8, CaptionHeight), QSize(width - 18, CaptionHeight)));
    copyImage(painter, QPoint(width - 18, 0), top, QRect(42, 0, 18, CaptionHeight));
}

void paintBottomBorder(QPainter& painter, const QImage& bottom, QSize size) {
    const int y = size.height() - BottomHeight;
    copyImage(painter, QPoint(0, y), bottom, QRect(0, 0, 78, BottomHeight));
    const int repeats = (size.width() - 156) / 89 + 1;
    for (int k = 1; k <= repeats; ++k)
        copyImage(painter, QPoint(78 + 89 * (k - 1), y), bottom, QRect(78, 0, 89, BottomHeight));
    copyImage(painter, QPoint(size.width() - 78, y), bottom, QRect(169, 0, 78, BottomHeight));
}

void paintStretched(QPainter& painter, const QImage& image, const QRect& target) {
    if (!image.isNull() && !target.isEmpty())
        platform::drawPixelArt(painter, target.topLeft(),
                               stretchCopy(image, image.rect(), target.size()));
}

} // namespace

bool inCloseZone(int x, int width) {
    return width - 33 < x && x < width - 21;
}
bool inMinimiseZone(int x, int width) {
    return width - 47 < x && x < width - 33;
}
QPoint closeBoxPos(int width) {
    return QPoint(width - 36, 3);
}
QPoint minimiseBoxPos(int width, bool pressed) {
    return QPoint(width - 50 + (pressed ? 1 : 0), 3);
}

QImage stretchCopy(const QImage& source, const QRect& sourceRect, QSize targetSize) {
    QImage target(targetSize, QImage::Format_RGB32);
    if (targetSize.isEmpty())
        return target;
    const QRect from = sourceRect.intersected(source.rect());
    if (from.isEmpty()) {
        target.fill(Qt::black);
        return target;
    }
    const QImage rgb = source.convertToFormat(QImage::Format_RGB32);
    for (int y = 0; y < targetSize.height(); ++y) {
        const int sy = from.top() + static_cast<int>(static_cast<long long>(y) * from.height() /
                                                     targetSize.height());
        const auto* in = reinterpret_cast<const QRgb*>(rgb.constScanLine(sy));
        auto* out = reinterpret_cast<QRgb*>(target.scanLine(y));
        for (int x = 0; x < targetSize.width(); ++x)
            out[x] = in[from.left() + static_cast<int>(static_cast<long long>(x) * from.width() /
                                                       targetSize.width())];
    }
    return target;
}

QImage composeCorner(const SkinBitmaps& bitmaps) {
    QImage corner(CornerSize, CornerSize, QImage::Format_RGB32);
    corner.fill(QColor(128, 128, 128));
    {
        QPainter painter(&corner);
        painter.setCompositionMode(QPainter::CompositionMode_Source);
        copyImage(painter, QPoint(0, 0), bitmaps.C_UL, bitmaps.C_UL.rect());
    }

    // The icon on white, forced to white outside the disc, then ANDed with the recess.
    QImage icon(LargeIconSize, LargeIconSize, QImage::Format_RGB32);
    icon.fill(Qt::white);
    if (!bitmaps.MAINICON.isNull()) {
        QPainter painter(&icon);
        painter.drawImage(QPoint(0, 0), bitmaps.MAINICON);
    }
    const QImage recess = corner.copy(QRect(IconPos, icon.size()));
    QImage mask = bitmaps.MASK;
    if (mask.isNull()) {
        mask = QImage(icon.size(), QImage::Format_RGB32);
        mask.fill(Qt::black);
    }
    QImage scratch;
    platform::maskComposite(icon, QPoint(0, 0), recess, mask, scratch);
    {
        QPainter painter(&corner);
        painter.setCompositionMode(QPainter::CompositionMode_Source);
        painter.drawImage(IconPos, icon);
    }

    // The near-white pixels below the caption bar's height take the left strip's top colour.
    const int firstRow = CaptionHeight;
    const int rows = bitmaps.C_UL.height() - bitmaps.TOP.height();
    const QRgb seam = SeamColour.rgb();
    for (int y = firstRow; y < firstRow + rows && y < corner.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(corner.scanLine(y));
        for (int x = 0; x < corner.width(); ++x)
            if (qRed(line[x]) > NearWhite && qGreen(line[x]) > NearWhite &&
                qBlue(line[x]) > NearWhite)
                line[x] = seam;
    }
    return corner;
}

void paintLeftStrip(QPainter& painter, const QRect& rect) {
    platform::gradientFill(painter, rect, StripTopColour, StripBottomColour, StripSteps,
                           platform::GradientDirection::TopToBottom);
}

void paintFrame(QPainter& painter, const SkinBitmaps& bitmaps, const FrameState& state) {
    const int width = state.size.width();
    const int height = state.size.height();
    const QImage& top = state.active ? bitmaps.TOP : bitmaps.TOP_D;
    const QImage& close = state.active ? bitmaps.I_CLO : bitmaps.I_CLOD;
    const QImage& minimise = state.active ? bitmaps.I_MIN : bitmaps.I_MIND;

    painter.save();
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);

    platform::drawPixelArt(painter, QPoint(0, 0), composeCorner(bitmaps));
    painter.fillRect(QRect(CornerSize, CaptionHeight, SeamWidth, CornerSize - CaptionHeight),
                     SeamColour);
    if (state.frameAndCaptionHeight > CaptionHeight)
        painter.fillRect(
            QRect(48, CaptionHeight, width - 57, state.frameAndCaptionHeight - CaptionHeight),
            platform::toQColor(platform::clBtnFace));
    paintCaptionBar(painter, top, width);
    paintCaptionButton(painter, close, closeBoxPos(width), state.closePressed);
    paintCaptionButton(painter, minimise, minimiseBoxPos(width, state.minimisePressed),
                       state.minimisePressed);
    paintBottomBorder(painter, bitmaps.BOT, state.size);
    paintStretched(painter, bitmaps.LEF, QRect(0, CornerSize, SideWidth, height - 61));
    paintStretched(painter, bitmaps.RIG,
                   QRect(width - SideWidth, CaptionHeight, SideWidth, height - 46));

    painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
    const QFont font = platform::captionFont();
    painter.setFont(font);
    painter.setPen(Qt::white);
    painter.drawText(CaptionTextPos + QPoint(0, QFontMetrics(font).ascent()), state.caption);
    painter.restore();
}

} // namespace tarnell::skin
