#include "LCD_Lab.h"

#include "platform/MessageBox.h"
#include "platform/drawing/Drawing.h"

#include <QFile>
#include <QPainter>
#include <QResizeEvent>
#include <algorithm>

namespace tarnell {

namespace {

using platform::TColor;

// The bytes of the largest built-in glyph (mat9x12).
constexpr size_t MaxBuiltInGlyphBytes = 9 * 12;

constexpr TColor halved(TColor color) {
    return (color & 0xFF000000u) | ((color & 0x00FFFFFFu) >> 1 & 0x007F7F7Fu);
}

QRgb rgbOf(TColor color) {
    return platform::toQColor(color).rgb();
}

// Clamps a length worked out in 64 bits into what a control may be.
int extent(int64_t pixels) {
    return static_cast<int>(std::clamp<int64_t>(pixels, 1, TLCDLabel::MaxExtent));
}

// Whether pixel (i, j) of a w x h dot belongs to the ellipse inscribed in it: its centre
// lies inside the ellipse. From 3 x 3 up the four corner pixels are left out, so that even
// small dots read as round; a 2-pixel disc covers most of every pixel of its box and stays
// square.
bool inDisc(int64_t i, int64_t j, int64_t w, int64_t h) {
    const bool corner = (i == 0 || i == w - 1) && (j == 0 || j == h - 1);
    if (corner && w >= 3 && h >= 3)
        return false;
    const int64_t dx = 2 * i + 1 - w;
    const int64_t dy = 2 * j + 1 - h;
    // In floating point: the squares of very large custom dots would overflow 64 bits.
    const double ex = static_cast<double>(dx) / static_cast<double>(w);
    const double ey = static_cast<double>(dy) / static_cast<double>(h);
    return ex * ex + ey * ey <= 1.0;
}

// The part of an x, y, w, h rectangle that lies on the image.
QRect clipped(const QImage& image, int64_t x, int64_t y, int64_t w, int64_t h) {
    const int64_t left = std::max<int64_t>(x, 0);
    const int64_t top = std::max<int64_t>(y, 0);
    const int64_t right = std::min<int64_t>(x + w, image.width());
    const int64_t bottom = std::min<int64_t>(y + h, image.height());
    if (right <= left || bottom <= top)
        return {};
    return QRect(static_cast<int>(left), static_cast<int>(top), static_cast<int>(right - left),
                 static_cast<int>(bottom - top));
}

void fillRect(QImage& image, int64_t x, int64_t y, int64_t w, int64_t h, QRgb color) {
    const QRect area = clipped(image, x, y, w, h);
    for (int row = area.top(); row <= area.bottom(); ++row) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(row));
        std::fill(line + area.left(), line + area.left() + area.width(), color);
    }
}

// Paints the dots of one display, with the colours resolved once per paint.
struct DotPainter {
    QImage& bitmap;
    int64_t dotWidth;
    int64_t dotHeight;
    bool singlePixel;
    TPixelShape shape;
    QRgb on;
    QRgb off;
    QRgb shade;

    void fillDisc(int64_t x, int64_t y, QRgb color) const {
        const QRect area = clipped(bitmap, x, y, dotWidth, dotHeight);
        for (int row = area.top(); row <= area.bottom(); ++row) {
            auto* line = reinterpret_cast<QRgb*>(bitmap.scanLine(row));
            for (int column = area.left(); column <= area.right(); ++column)
                if (inDisc(column - x, row - y, dotWidth, dotHeight))
                    line[column] = color;
        }
    }

    void draw(int64_t x, int64_t y, bool lit) const {
        const QRgb color = lit ? on : off;
        if (singlePixel) {
            fillRect(bitmap, x, y, 1, 1, color);
            return;
        }
        switch (shape) {
        case spSquare:
            fillRect(bitmap, x, y, dotWidth, dotHeight, color);
            break;
        case spRound:
            fillDisc(x, y, color);
            break;
        case spShaped:
            if (!lit) {
                fillRect(bitmap, x, y, dotWidth, dotHeight, off);
                break;
            }
            fillRect(bitmap, x, y, dotWidth, dotHeight, shade);
            fillDisc(x, y, on);
            break;
        }
    }
};

} // namespace

std::optional<QString> TLCDLabel::spokenText(QAccessible::Text type) const {
    switch (type) {
    case QAccessible::Name:
        return lcdSpokenName(!accessibleName().isEmpty() ? accessibleName() : Hint(), Caption());
    case QAccessible::Description:
        return accessibleDescription();
    case QAccessible::Value:
        return Caption();
    default:
        return std::nullopt;
    }
}

TLCDLabel::TLCDLabel(QWidget* owner) : QWidget(owner) {
    setFocusPolicy(Qt::NoFocus);
    installAccessibleInterfaces();
    setAttribute(Qt::WA_OpaquePaintEvent);
    // The size follows the content; a layout should not stretch the display.
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    ShadeColor = halved(pixelOn_);
    computeDotAndCellSizes();
    sizeToContent();
}

TLCDLabel::~TLCDLabel() = default;

// ---- properties ----

void TLCDLabel::setCaption(const QString& text) {
    const QString shown = text.left(MaxCaptionLength);
    if (shown == caption_)
        return;
    caption_ = shown;
    const auto previous = TextBuffer;
    TextBuffer.fill(0);
    for (qsizetype i = 0; i < caption_.size(); ++i) {
        const char16_t code = caption_.at(i).unicode();
        TextBuffer[static_cast<size_t>(i)] = code <= 0xFF ? static_cast<uint8_t>(code) : '?';
    }
    // The shown number is part of the name a screen reader reads.
    notifyAccessibleNameChanged(this);
    // Only the cells whose character changed are drawn and repainted (a running clock
    // changes one or two of its seven a tick), unless the layout moved everything.
    const QSize before = size();
    layoutControl();
    if (size() != before) {
        shownValid_ = false;
        repaint();
    } else if (const QRect changed =
                   // A disabled label shows no dots: its image stays as it is.
               changedCells(previous, shownValid_ && isEnabled() ? &shown_ : nullptr);
               !changed.isEmpty()) {
        repaint(changed);
    }
}

template <typename Visit>
void TLCDLabel::forEachCell(int64_t width, int64_t height, Visit&& visit) const {
    const int64_t left = int64_t{borderSpace_} + 1;
    int64_t y = left;
    // Cells that start beyond the area cannot show, so the walk stops there.
    for (int line = 0; line < textLines_ && y < height; ++line) {
        int64_t x = left;
        for (int cell = 0; cell < noOfChars_ && x < width; ++cell) {
            visit(int64_t{line} * noOfChars_ + cell, x, y);
            x += int64_t{CellWidth} + charSpacing_;
        }
        y += int64_t{CellHeight} + lineSpacing_;
    }
}

int TLCDLabel::shownCode(const TextCodes& text, int64_t index) const {
    // Once the terminating zero has been reached, every later cell takes code 0.
    int code = 0;
    if (index < static_cast<int64_t>(text.size()) - 1) {
        const auto end = text.begin() + index + 1;
        if (std::find(text.begin(), end, uint8_t{0}) == end)
            code = text[static_cast<size_t>(index)];
    }
    return std::clamp(code, FirstCode, LastCode);
}

QRect TLCDLabel::changedCells(const TextCodes& previous, QImage* redraw) const {
    QRect changed;
    forEachCell(width(), height(), [&](int64_t index, int64_t x, int64_t y) {
        const int code = shownCode(TextBuffer, index);
        if (code == shownCode(previous, index))
            return;
        changed |= QRect(static_cast<int>(x), static_cast<int>(y), CellWidth, CellHeight);
        if (redraw != nullptr)
            drawCell(*redraw, x, y, code);
    });
    return changed & rect();
}

void TLCDLabel::setDotMatrix(TDotMatrix set) {
    if (set < mat5x7 || set > CustomFont)
        return;
    const TDotMatrix remembered = dotMatrix_ == CustomFont ? mat5x7 : dotMatrix_;
    if (set != CustomFont) {
        dotMatrix_ = set;
        for (auto& glyph : CustomGlyphs)
            glyph = {};
    } else if (filename_.isEmpty()) {
        dotMatrix_ = remembered;
    } else {
        QString error;
        switch (loadCustomSet(error)) {
        case CustomSetLoad::Loaded:
            dotMatrix_ = CustomFont;
            break;
        case CustomSetLoad::Unopenable:
            // The old custom glyphs are given up for the new file; without it the label goes
            // back to the remembered set.
            for (auto& glyph : CustomGlyphs)
                glyph = {};
            dotMatrix_ = remembered;
            break;
        case CustomSetLoad::Refused:
            // A malformed file leaves the label as it was, custom glyphs included.
            break;
        }
    }
    relayoutAndRepaint();
}

void TLCDLabel::setPixelSize(TPixelSize size) {
    if (size < pix1x1 || size > pixCustom || size == pixelSize_)
        return;
    pixelSize_ = size;
    relayoutAndRepaint();
}

void TLCDLabel::setPixelSpacing(int pixels) {
    if (refuseBelow(pixels, 0, "Pixel spacing can't be less than zero!") || pixels == pixelSpacing_)
        return;
    pixelSpacing_ = pixels;
    relayoutAndRepaint();
}

void TLCDLabel::setPixelShape(TPixelShape shape) {
    if (shape < spSquare || shape > spRound || shape == pixelShape_)
        return;
    pixelShape_ = shape;
    relayoutAndRepaint();
}

void TLCDLabel::setPixelWidth(int pixels) {
    if (pixelSize_ != pixCustom ||
        refuseBelow(pixels, 1, "Display pixel width must be 1 or greater!") ||
        pixels == pixelWidth_)
        return;
    pixelWidth_ = pixels;
    relayoutAndRepaint();
}

void TLCDLabel::setPixelHeight(int pixels) {
    if (pixelSize_ != pixCustom ||
        refuseBelow(pixels, 1, "Display pixel height must be 1 or greate!") ||
        pixels == pixelHeight_)
        return;
    pixelHeight_ = pixels;
    relayoutAndRepaint();
}

void TLCDLabel::setCharSpacing(int pixels) {
    if (refuseBelow(pixels, 0, "Character spacing can't be less than zero!") ||
        pixels == charSpacing_)
        return;
    charSpacing_ = pixels;
    relayoutAndRepaint();
}

void TLCDLabel::setLineSpacing(int pixels) {
    if (refuseBelow(pixels, 0, "Line spacing can't be less than zero!") || pixels == lineSpacing_)
        return;
    lineSpacing_ = pixels;
    relayoutAndRepaint();
}

void TLCDLabel::setBorderSpace(int pixels) {
    if (refuseBelow(pixels, 0, "Border spacing can't be less than zero!") || pixels == borderSpace_)
        return;
    borderSpace_ = pixels;
    relayoutAndRepaint();
}

void TLCDLabel::setTextLines(int lines) {
    if (refuseBelow(lines, 1, "Display needs at least on line!") || lines == textLines_)
        return;
    textLines_ = lines;
    relayoutAndRepaint();
}

void TLCDLabel::setNoOfChars(int chars) {
    if (refuseBelow(chars, 1, "Display needs at least one character!") || chars == noOfChars_)
        return;
    noOfChars_ = chars;
    relayoutAndRepaint();
}

void TLCDLabel::setBackGround(TColor color) {
    if (color == backGround_)
        return;
    backGround_ = color;
    relayoutAndRepaint();
}

void TLCDLabel::setBorderStyle(TMyBorder style) {
    if (style < frRaised || style > frNone || style == borderStyle_)
        return;
    borderStyle_ = style;
    relayoutAndRepaint();
}

void TLCDLabel::setBorderColor(TColor color) {
    if (color == borderColor_)
        return;
    borderColor_ = color;
    relayoutAndRepaint();
}

void TLCDLabel::setPixelOn(TColor color) {
    if (color == pixelOn_)
        return;
    pixelOn_ = color;
    ShadeColor = halved(pixelOn_);
    relayoutAndRepaint();
}

void TLCDLabel::setPixelOff(TColor color) {
    if (color == pixelOff_)
        return;
    pixelOff_ = color;
    relayoutAndRepaint();
}

void TLCDLabel::setFilename(const QString& name) {
    // Always loads, even under the same name, so that an edited file can be taken up again.
    filename_ = name;
    setDotMatrix(CustomFont);
}

void TLCDLabel::setHint(const QString& hint) {
    const bool changed = hint != hint_;
    hint_ = hint;
    updateToolTip();
    if (changed && accessibleName().isEmpty())
        notifyAccessibleNameChanged(this);
}

void TLCDLabel::setShowHint(bool show) {
    showHint_ = show;
    updateToolTip();
}

void TLCDLabel::updateToolTip() {
    setToolTip(showHint_ ? hint_ : QString());
}

bool TLCDLabel::refuseBelow(int value, int minimum, const char* message) {
    if (value >= minimum)
        return false;
    platform::showMessage(QString::fromLatin1(message));
    return true;
}

TLCDLabel::CustomSetLoad TLCDLabel::loadCustomSet(QString& error) {
    QFile file(filename_);
    if (!file.open(QIODevice::ReadOnly)) {
        // Not being able to open the file is quiet: the label simply keeps its set.
        error = QStringLiteral("Cannot open the character set file \"%1\": %2.")
                    .arg(filename_, file.errorString());
        loadError_ = error;
        return CustomSetLoad::Unopenable;
    }
    // Never more than the largest valid file: a huge file cannot exhaust memory.
    const QByteArray bytes = file.read(MaxCustomCharSetFileBytes);
    const bool readFailed = file.error() != QFileDevice::NoError;
    const QString readError = file.errorString();
    file.close();

    std::string reason;
    TCustomCharSet parsed;
    if (readFailed)
        reason = readError.toStdString();
    else
        reason = parseCustomCharSet(std::span(reinterpret_cast<const uint8_t*>(bytes.constData()),
                                              static_cast<size_t>(bytes.size())),
                                    parsed);
    if (!reason.empty()) {
        error = QStringLiteral("Cannot load the character set file \"%1\": %2.")
                    .arg(filename_, QString::fromStdString(reason));
        loadError_ = error;
        platform::showMessage(error);
        return CustomSetLoad::Refused;
    }
    CustomGlyphs = std::move(parsed.Glyphs);
    customShape_ = parsed.Shape;
    loadError_.clear();
    return CustomSetLoad::Loaded;
}

TCharSetShape TLCDLabel::charSetShape() const {
    return dotMatrix_ == CustomFont ? customShape_ : builtInShape(dotMatrix_);
}

// ---- layout ----

void TLCDLabel::relayoutAndRepaint() {
    shownValid_ = false;
    layoutControl();
    repaint();
}

void TLCDLabel::layoutControl() {
    const bool resized = width() != LastWidth || height() != LastHeight;
    LastWidth = width();
    LastHeight = height();
    computeDotAndCellSizes();
    if (resized)
        fitToSize(width(), height());
    else
        sizeToContent();
}

void TLCDLabel::computeDotAndCellSizes() {
    if (pixelSize_ == pixCustom) {
        DotWidth = pixelWidth_;
        DotHeight = pixelHeight_;
    } else {
        DotWidth = DotHeight = pixelWidth_ = pixelHeight_ = static_cast<int>(pixelSize_) + 1;
    }
    const TCharSetShape shape = charSetShape();
    FirstCode = shape.FirstCode;
    LastCode = shape.LastCode;
    CellColumns = shape.CellColumns;
    CellRows = shape.CellRows;
    CellWidth = extent(int64_t{CellColumns} * DotWidth + int64_t{CellColumns - 1} * pixelSpacing_);
    CellHeight = extent(int64_t{CellRows} * DotHeight + int64_t{CellRows - 1} * pixelSpacing_);
}

void TLCDLabel::sizeToContent() {
    const int w = extent(2 * int64_t{borderSpace_} + int64_t{noOfChars_} * CellWidth +
                         int64_t{noOfChars_ - 1} * charSpacing_ + 2);
    const int h = extent(2 * int64_t{borderSpace_} + int64_t{textLines_} * CellHeight +
                         int64_t{textLines_ - 1} * lineSpacing_ + 2);
    LastWidth = w;
    LastHeight = h;
    if (width() != w || height() != h) {
        resize(w, h);
        updateGeometry();
    }
}

void TLCDLabel::fitToSize(int w, int h) {
    const int64_t chars = (int64_t{w} - 2 * int64_t{borderSpace_} + charSpacing_) /
                          (int64_t{CellWidth} + charSpacing_);
    const int64_t lines = (int64_t{h} - 2 * int64_t{borderSpace_} + lineSpacing_) /
                          (int64_t{CellHeight} + lineSpacing_);
    noOfChars_ = static_cast<int>(std::max<int64_t>(chars, 1));
    textLines_ = static_cast<int>(std::max<int64_t>(lines, 1));
    sizeToContent();
}

void TLCDLabel::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    shownValid_ = false;
    layoutControl();
}

void TLCDLabel::changeEvent(QEvent* event) {
    // Enabled or not, shown or hidden, the palette behind the system colours: any of them
    // may change the image.
    shownValid_ = false;
    QWidget::changeEvent(event);
}

// ---- painting ----

void TLCDLabel::paintEvent(QPaintEvent*) {
    ++paintCount_;
    // The image is kept while it shows the display; a label hidden on purpose (drawn only
    // when asked for a picture of it) is drawn afresh.
    const bool keep = !hiddenOnPurpose();
    if (!keep || !shownValid_ || shown_.size() != QSize(width() + 2, height() + 2)) {
        shown_ = renderImage();
        shownValid_ = keep && !shown_.isNull();
    }
    if (shown_.isNull())
        return;
    QPainter painter(this);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    platform::drawPixelArt(painter, QPoint(0, 0), shown_, QRect(0, 0, width(), height()));
}

QImage TLCDLabel::renderImage() const {
    const int w = width();
    const int h = height();
    QImage bitmap(w + 2, h + 2, QImage::Format_RGB32);
    if (bitmap.isNull())
        return bitmap;
    // Only a label hidden on purpose shows the button face; one that has merely not been
    // shown yet (being rendered off screen, say) draws its display.
    if (hiddenOnPurpose()) {
        bitmap.fill(platform::toQColor(platform::clBtnFace));
        return bitmap;
    }
    bitmap.fill(rgbOf(backGround_));
    if (borderStyle_ != frNone)
        drawFrame(bitmap, w, h);
    if (isEnabled())
        drawText(bitmap);
    return bitmap;
}

bool TLCDLabel::hiddenOnPurpose() const {
    return isHidden() && testAttribute(Qt::WA_WState_ExplicitShowHide);
}

void TLCDLabel::drawFrame(QImage& bitmap, int w, int h) const {
    TColor frame = borderColor_;
    TColor edge = borderColor_;
    if (borderStyle_ == frRaised) {
        frame = platform::clBtnShadow;
        edge = platform::clBtnHighlight;
    } else if (borderStyle_ == frLowered) {
        frame = platform::clBtnHighlight;
        edge = platform::clBtnShadow;
    }
    const QRgb frameRgb = rgbOf(frame);
    fillRect(bitmap, 0, 0, w, 1, frameRgb);
    fillRect(bitmap, 0, h - 1, w, 1, frameRgb);
    fillRect(bitmap, 0, 0, 1, h, frameRgb);
    fillRect(bitmap, w - 1, 0, 1, h, frameRgb);
    if (borderStyle_ == frSingle)
        return;
    // One line from the top-right corner to the top-left one and down to the bottom-left
    // one; like any line, it stops short of its last pixel.
    const QRgb edgeRgb = rgbOf(edge);
    fillRect(bitmap, 0, 0, w, 1, edgeRgb);
    fillRect(bitmap, 0, 0, 1, h - 1, edgeRgb);
}

void TLCDLabel::drawText(QImage& bitmap) const {
    forEachCell(bitmap.width(), bitmap.height(), [&](int64_t index, int64_t x, int64_t y) {
        drawCell(bitmap, x, y, shownCode(TextBuffer, index));
    });
}

void TLCDLabel::drawCell(QImage& bitmap, int64_t x, int64_t y, int code) const {
    // A shade worked out from a system colour's index would mean nothing: halve the colour.
    const QRgb shade = platform::isSystemColor(ShadeColor)
                           ? rgbOf(halved(platform::fromQColor(platform::toQColor(pixelOn_))))
                           : rgbOf(ShadeColor);
    const DotPainter dots{bitmap,      DotWidth,        DotHeight,        pixelSize_ == pix1x1,
                          pixelShape_, rgbOf(pixelOn_), rgbOf(pixelOff_), shade};
    const bool custom = dotMatrix_ == CustomFont;
    std::array<uint8_t, MaxBuiltInGlyphBytes> builtIn{};
    const uint8_t* cellDots = nullptr;
    if (custom) {
        cellDots = CustomGlyphs[static_cast<size_t>(code)].data();
    } else {
        copyBuiltInGlyph(dotMatrix_, code, builtIn);
        cellDots = builtIn.data();
    }
    const int64_t dotStepX = int64_t{DotWidth} + pixelSpacing_;
    const int64_t dotStepY = int64_t{DotHeight} + pixelSpacing_;
    for (int row = 0; row < CellRows; ++row) {
        for (int column = 0; column < CellColumns; ++column) {
            const uint8_t dot = cellDots[row * CellColumns + column];
            dots.draw(x + column * dotStepX, y + row * dotStepY, custom ? dot == 0 : dot == 1);
        }
    }
}

} // namespace tarnell
