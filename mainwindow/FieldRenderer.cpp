#include "FieldRenderer.h"

#include "core/Puzzle.h"
#include "platform/Drawing.h"
#include "platform/Fonts.h"
#include "platform/Resources.h"

#include <QMouseEvent>
#include <QPainter>
#include <algorithm>
#include <cstring>
#include <utility>

namespace tarnell {

namespace {

const QColor BackgroundLeft(192, 192, 192);
const QColor BackgroundRight(64, 64, 64);
constexpr int BackgroundSteps = 255;

TPlateImages loadPlate(const QString& plain, const QString& current, const QString& highlighted,
                       const QString& mask) {
    return {platform::loadBitmap(plain), platform::loadBitmap(current),
            platform::loadBitmap(highlighted), platform::loadBitmap(mask)};
}

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

TFieldImages TFieldImages::loadEmbedded() {
    TFieldImages images;
    images.Inner = loadPlate(QStringLiteral("PLATE"), QStringLiteral("PLATEB"),
                             QStringLiteral("PLATEY"), QStringLiteral("MASKP"));
    images.LastRow = loadPlate(QStringLiteral("PLATE_L"), QStringLiteral("PLATE_LB"),
                               QStringLiteral("PLATE_LY"), QStringLiteral("MASK_L"));
    images.LastColumn = loadPlate(QStringLiteral("PLATE_R"), QStringLiteral("PLATE_RB"),
                                  QStringLiteral("PLATE_RY"), QStringLiteral("MASK_R"));
    images.Flag = platform::loadBitmap(QStringLiteral("FLAG"));
    images.FlagMask = platform::loadBitmap(QStringLiteral("FLAG_M"));
    images.Fox = platform::loadBitmap(QStringLiteral("FOX"));
    images.FoxMask = platform::loadBitmap(QStringLiteral("FOX_M"));
    return images;
}

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

TFieldRenderer::TFieldRenderer() : TFieldRenderer(TFieldImages::loadEmbedded()) {}

TFieldRenderer::TFieldRenderer(TFieldImages images)
    : Images_(std::move(images)), ImageProblems_(Images_.problems()),
      Background_(BufferWidth, BufferHeight, QImage::Format_RGB32),
      CountFont_(platform::programFont(true)) {
    for (TPlateImages* plate : {&Images_.Inner, &Images_.LastRow, &Images_.LastColumn})
        convertPlate(*plate);
    for (QImage* image : {&Images_.Flag, &Images_.FlagMask, &Images_.Fox, &Images_.FoxMask})
        *image = asRgb32(*image);

    // The background is the same on every frame: drawn once, copied at the start of each.
    {
        QPainter painter(&Background_);
        platform::gradientFill(painter, Background_.rect(), BackgroundLeft, BackgroundRight,
                               BackgroundSteps, platform::GradientDirection::LeftToRight);
    }
    Buffer_ = Background_.copy();
}

QPoint TFieldRenderer::cellOrigin(int row, int col) {
    const TFieldPixel origin = CellOrigin(row, col);
    return {origin.X, origin.Y};
}

void TFieldRenderer::drawFrame(const TPuzzle& puzzle, bool showHints) {
    // Detaches the buffer first should a caller still hold a copy of the previous frame.
    std::memcpy(Buffer_.bits(), Background_.constBits(),
                static_cast<size_t>(Buffer_.sizeInBytes()));

    // The planes hold MaxFieldSize cells a side, whatever the puzzle says.
    const int n = std::clamp(puzzle.FieldSize(), 0, MaxFieldSize);
    const TPlane& view = puzzle.ViewPlane();
    const TPlane& hints = puzzle.HintPlane();
    const int hotRow = puzzle.HotRow();
    const int hotCol = puzzle.HotCol();

    for (int i = 1; i <= n; ++i) {
        for (int j = 1; j <= n; ++j) {
            const QPoint origin = cellOrigin(i, j);
            const bool current = i == hotRow && j == hotCol;
            const bool highlighted = view[i][j] != vsCovered || (showHints && hints[i][j] == 1);
            auto variant = [&](const TPlateImages& plate) -> const QImage& {
                if (current)
                    return plate.Current;
                return highlighted ? plate.Highlighted : plate.Plain;
            };
            auto draw = [&](const TPlateImages& plate) {
                platform::maskComposite(Buffer_, origin, variant(plate), plate.Mask);
            };
            if (i != n && j != n)
                draw(Images_.Inner);
            if (i == n)
                draw(Images_.LastRow);
            if (j == n)
                draw(Images_.LastColumn);
        }
    }

    // Every count lies clear of the flags and foxes of the cells drawn after its own (they
    // sit lower or further aside), so writing the counts after all the pictures gives the
    // same pixels as writing each one right after its flag, and the pictures can be kept
    // without them.
    Counts_.clear();
    for (int i = 1; i <= n; ++i) {
        for (int j = 1; j <= n; ++j) {
            const QPoint origin = cellOrigin(i, j);
            if (view[i][j] == vsOpened) {
                platform::maskComposite(Buffer_, origin + FlagOffset, Images_.Flag,
                                        Images_.FlagMask);
                Counts_.push_back({origin, puzzle.GetN(i, j)});
            } else if (view[i][j] == vsFound) {
                platform::maskComposite(Buffer_, origin + FoxOffset, Images_.Fox, Images_.FoxMask);
            }
        }
    }
    if (Ratio_ > 1.0) {
        if (Pictures_.size() != Buffer_.size())
            Pictures_ = QImage(Buffer_.size(), Buffer_.format());
        std::memcpy(Pictures_.bits(), Buffer_.constBits(),
                    static_cast<size_t>(Buffer_.sizeInBytes()));
    }
    if (!Counts_.empty()) {
        QPainter painter(&Buffer_);
        drawCounts(painter);
    }
}

void TFieldRenderer::setDevicePixelRatio(qreal ratio) {
    Ratio_ = ratio > 1.0 ? ratio : 1.0;
    if (Ratio_ == 1.0)
        Pictures_ = QImage();
}

void TFieldRenderer::drawCounts(QPainter& painter) const {
    painter.setFont(CountFont_);
    painter.setPen(Qt::white);
    painter.setBackgroundMode(Qt::TransparentMode);
    for (const Count& count : Counts_)
        drawCount(painter, count.origin, count.value);
}

void TFieldRenderer::drawCount(QPainter& painter, QPoint cell, int count) const {
    // A static text is placed by its top-left corner, which is where a count is anchored.
    auto found = CountTexts_.find(count);
    if (found == CountTexts_.end()) {
        QStaticText text(QString::number(count));
        text.setTextFormat(Qt::PlainText);
        text.setPerformanceHint(QStaticText::AggressiveCaching);
        text.prepare(QTransform(), CountFont_);
        found = CountTexts_.insert(count, text);
    }
    painter.drawStaticText(cell + CountOffset, *found);
}

void TFieldRenderer::paintArea(QPainter& painter, QPoint topLeft) const {
    const QRect area(0, 0, AreaWidth, AreaHeight);
    const bool separateCounts =
        platform::devicePixelRatioOf(painter) > 1.0 && Pictures_.size() == Buffer_.size();
    const QPainter::CompositionMode mode = painter.compositionMode();
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    platform::drawPixelArt(painter, topLeft, separateCounts ? Pictures_ : Buffer_, area);
    painter.setCompositionMode(mode);
    if (!separateCounts || Counts_.empty())
        return;
    painter.save();
    painter.setClipRect(area.translated(topLeft), Qt::IntersectClip);
    painter.translate(topLeft);
    drawCounts(painter);
    painter.restore();
}

TFieldArea::TFieldArea(QWidget* parent) : QWidget(parent) {
    setFixedSize(TFieldRenderer::AreaWidth, TFieldRenderer::AreaHeight);
    setMouseTracking(true);
    setFocusPolicy(Qt::NoFocus);
    // Every pixel is painted from the frame, so nothing needs erasing first.
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void TFieldArea::showFrame(const TPuzzle& puzzle, bool showHints) {
    Renderer_.setDevicePixelRatio(devicePixelRatioF());
    Renderer_.drawFrame(puzzle, showHints);
    update();
}

void TFieldArea::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    Renderer_.paintArea(painter);
}

void TFieldArea::mouseMoveEvent(QMouseEvent* event) {
    const QPoint at = event->position().toPoint();
    emit mouseMoved(at.x(), at.y());
}

void TFieldArea::mouseReleaseEvent(QMouseEvent* event) {
    const QPoint at = event->position().toPoint();
    emit mouseReleased(event->button(), at.x(), at.y());
}

} // namespace tarnell
