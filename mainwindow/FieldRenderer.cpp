#include "FieldRenderer.h"

#include "core/Puzzle.h"
#include "platform/drawing/Drawing.h"
#include "platform/drawing/Fonts.h"

#include <QPainter>
#include <algorithm>
#include <array>
#include <cstring>
#include <utility>

namespace tarnell {

namespace {

const QColor BackgroundLeft(192, 192, 192);
const QColor BackgroundRight(64, 64, 64);
constexpr int BackgroundSteps = 255;

void checkImage(QStringList& problems, const char* name, const QImage& image, QSize size) {
    if (image.isNull()) {
        problems << QStringLiteral("The field image %1 is missing.").arg(QLatin1String(name));
    } else if (image.size() != size) {
        problems << QStringLiteral("The field image %1 is %2 x %3 pixels instead of %4 x %5.")
                        .arg(QLatin1String(name))
                        .arg(image.width())
                        .arg(image.height())
                        .arg(size.width())
                        .arg(size.height());
    }
}

void checkPlate(QStringList& problems, const TPlateImages& plate,
                const std::array<const char*, 4>& names, QSize size) {
    checkImage(problems, names[0], plate.Plain, size);
    checkImage(problems, names[1], plate.Current, size);
    checkImage(problems, names[2], plate.Highlighted, size);
    checkImage(problems, names[3], plate.Mask, size);
}

// The compositing works on 32-bit RGB pixels; converting once here keeps it from
// converting on every frame.
QImage asRgb32(const QImage& image) {
    if (image.isNull() || image.format() == QImage::Format_RGB32)
        return image;
    return image.convertToFormat(QImage::Format_RGB32);
}

void convertPlate(TPlateImages& plate) {
    plate.Plain = asRgb32(plate.Plain);
    plate.Current = asRgb32(plate.Current);
    plate.Highlighted = asRgb32(plate.Highlighted);
    plate.Mask = asRgb32(plate.Mask);
}

} // namespace

QStringList TFieldImages::problems() const {
    QStringList problems;
    checkPlate(problems, Inner, {"PLATE", "PLATEB", "PLATEY", "MASKP"}, TFieldRenderer::PlateSize);
    checkPlate(problems, LastRow, {"PLATE_L", "PLATE_LB", "PLATE_LY", "MASK_L"},
               TFieldRenderer::SidePlateSize);
    checkPlate(problems, LastColumn, {"PLATE_R", "PLATE_RB", "PLATE_RY", "MASK_R"},
               TFieldRenderer::SidePlateSize);
    checkImage(problems, "FLAG", Flag, TFieldRenderer::FlagSize);
    checkImage(problems, "FLAG_M", FlagMask, TFieldRenderer::FlagSize);
    checkImage(problems, "FOX", Fox, TFieldRenderer::FoxSize);
    checkImage(problems, "FOX_M", FoxMask, TFieldRenderer::FoxSize);
    return problems;
}

TFieldRenderer::TFieldRenderer(TFieldImages images)
    : images_(std::move(images)), imageProblems_(images_.problems()),
      buffer_(BufferWidth, BufferHeight, QImage::Format_RGB32),
      countFont_(platform::programFont(true)) {
    for (TPlateImages* plate : {&images_.Inner, &images_.LastRow, &images_.LastColumn})
        convertPlate(*plate);
    for (QImage* image : {&images_.Flag, &images_.FlagMask, &images_.Fox, &images_.FoxMask})
        *image = asRgb32(*image);

    // The background is the same on every frame: drawn once into the whole buffer, and the
    // top row of its shown part kept to start each frame from (the gradient runs from left
    // to right, so every row is the same).
    {
        QPainter painter(&buffer_);
        platform::gradientFill(painter, buffer_.rect(), BackgroundLeft, BackgroundRight,
                               BackgroundSteps, platform::GradientDirection::LeftToRight);
    }
    background_ = buffer_.copy(0, 0, AreaWidth, 1);
}

QPoint TFieldRenderer::cellOrigin(int row, int col) {
    const TFieldPixel origin = CellOrigin(row, col);
    return {origin.X, origin.Y};
}

TFrameInputs TFrameInputs::of(const TPuzzle& puzzle, bool showHints) {
    TFrameInputs inputs;
    // The planes hold MaxFieldSize cells a side, whatever the puzzle says.
    inputs.size = std::clamp(puzzle.FieldSize(), 0, MaxFieldSize);
    const TPlane& view = puzzle.ViewPlane();
    const TPlane& hints = puzzle.HintPlane();
    for (int i = 1; i <= inputs.size; ++i) {
        for (int j = 1; j <= inputs.size; ++j) {
            TCellLook& look = inputs.cells[i][j];
            if (i == puzzle.HotRow() && j == puzzle.HotCol())
                look.plate = TCellLook::Plate::Current;
            else if (view[i][j] != vsCovered || (showHints && hints[i][j] == 1))
                look.plate = TCellLook::Plate::Highlighted;
            if (view[i][j] == vsOpened) {
                look.mark = TCellLook::Mark::Flag;
                look.count = puzzle.GetN(i, j);
            } else if (view[i][j] == vsFound) {
                look.mark = TCellLook::Mark::Fox;
            }
        }
    }
    return inputs;
}

void TFieldRenderer::drawFrame(const TPuzzle& puzzle, bool showHints) {
    drawFrame(TFrameInputs::of(puzzle, showHints));
}

void TFieldRenderer::drawFrame(int size, const std::function<TCellLook(int row, int col)>& lookOf) {
    TFrameInputs inputs;
    // No board is larger than the puzzle's largest, whatever the caller says.
    inputs.size = std::clamp(size, 0, MaxFieldSize);
    for (int i = 1; i <= inputs.size; ++i)
        for (int j = 1; j <= inputs.size; ++j)
            inputs.cells[i][j] = lookOf(i, j);
    drawFrame(inputs);
}

void TFieldRenderer::drawFrame(const TFrameInputs& inputs) {
    // Only the shown top-left 401 x 225 pixels can change: no plate, flag, fox or count
    // reaches beyond them, so the rest keeps the background it was given once. (Writing
    // the pixels detaches the buffer should a caller still hold a copy of the last frame.)
    const qsizetype shownBytes = AreaWidth * qsizetype{sizeof(QRgb)};
    for (int y = 0; y < AreaHeight; ++y)
        std::memcpy(buffer_.scanLine(y), background_.constScanLine(0),
                    static_cast<size_t>(shownBytes));

    const int n = std::clamp(inputs.size, 0, MaxFieldSize);
    const auto& looks = inputs.cells;

    for (int i = 1; i <= n; ++i) {
        for (int j = 1; j <= n; ++j) {
            const QPoint origin = cellOrigin(i, j);
            const TCellLook::Plate plate = looks[i][j].plate;
            auto draw = [&](const TPlateImages& images) {
                const QImage& variant = plate == TCellLook::Plate::Current ? images.Current
                                        : plate == TCellLook::Plate::Highlighted
                                            ? images.Highlighted
                                            : images.Plain;
                platform::maskComposite(buffer_, origin, variant, images.Mask);
            };
            if (i != n && j != n)
                draw(images_.Inner);
            if (i == n)
                draw(images_.LastRow);
            if (j == n)
                draw(images_.LastColumn);
        }
    }

    // Every count lies clear of the flags and foxes of the cells drawn after its own (they
    // sit lower or further aside), so writing the counts after all the pictures gives the
    // same pixels as writing each one right after its flag, and the pictures can be kept
    // without them.
    counts_.clear();
    for (int i = 1; i <= n; ++i) {
        for (int j = 1; j <= n; ++j) {
            const QPoint origin = cellOrigin(i, j);
            const TCellLook& look = looks[i][j];
            if (look.mark == TCellLook::Mark::Flag) {
                platform::maskComposite(buffer_, origin + FlagOffset, images_.Flag,
                                        images_.FlagMask);
                counts_.push_back({origin, look.count});
            } else if (look.mark == TCellLook::Mark::Fox) {
                platform::maskComposite(buffer_, origin + FoxOffset, images_.Fox, images_.FoxMask);
            }
        }
    }
    if (ratio_ > 1.0) {
        if (pictures_.size() != buffer_.size())
            pictures_ = QImage(buffer_.size(), buffer_.format());
        std::memcpy(pictures_.bits(), buffer_.constBits(),
                    static_cast<size_t>(buffer_.sizeInBytes()));
    }
    if (!counts_.empty()) {
        QPainter painter(&buffer_);
        drawCounts(painter);
    }
    drawn_ = inputs;
}

void TFieldRenderer::setDevicePixelRatio(qreal ratio) {
    const qreal kept = ratio > 1.0 ? ratio : 1.0;
    if (kept == ratio_)
        return;
    ratio_ = kept;
    // The pictures without counts are kept only above 1: the next frame is drawn afresh.
    drawn_.reset();
    if (ratio_ == 1.0)
        pictures_ = QImage();
}

void TFieldRenderer::drawCounts(QPainter& painter) const {
    painter.setFont(countFont_);
    painter.setPen(Qt::white);
    painter.setBackgroundMode(Qt::TransparentMode);
    for (const Count& count : counts_)
        drawCount(painter, count.origin, count.value);
}

void TFieldRenderer::drawCount(QPainter& painter, QPoint cell, int count) const {
    // A static text is placed by its top-left corner, which is where a count is anchored.
    auto found = countTexts_.find(count);
    if (found == countTexts_.end()) {
        QStaticText text(QString::number(count));
        text.setTextFormat(Qt::PlainText);
        text.setPerformanceHint(QStaticText::AggressiveCaching);
        text.prepare(QTransform(), countFont_);
        found = countTexts_.insert(count, text);
    }
    painter.drawStaticText(cell + CountOffset, *found);
}

void TFieldRenderer::paintArea(QPainter& painter, QPoint topLeft) const {
    const QRect area(0, 0, AreaWidth, AreaHeight);
    const bool separateCounts =
        platform::devicePixelRatioOf(painter) > 1.0 && pictures_.size() == buffer_.size();
    const QPainter::CompositionMode mode = painter.compositionMode();
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    platform::drawPixelArt(painter, topLeft, separateCounts ? pictures_ : buffer_, area);
    painter.setCompositionMode(mode);
    if (!separateCounts || counts_.empty())
        return;
    painter.save();
    painter.setClipRect(area.translated(topLeft), Qt::IntersectClip);
    painter.translate(topLeft);
    drawCounts(painter);
    painter.restore();
}

} // namespace tarnell
