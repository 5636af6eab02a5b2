#include "FieldArea.h"

#include "platform/Resources.h"

#include <QMouseEvent>
#include <QPainter>

namespace tarnell {

namespace {

TPlateImages loadPlate(const QString& plain, const QString& current, const QString& highlighted,
                       const QString& mask) {
    return {platform::loadBitmap(plain), platform::loadBitmap(current),
            platform::loadBitmap(highlighted), platform::loadBitmap(mask)};
}

} // namespace

TFieldImages loadFieldImages() {
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

TFieldArea::TFieldArea(QWidget* parent) : QWidget(parent), renderer_(loadFieldImages()) {
    setFixedSize(TFieldRenderer::AreaWidth, TFieldRenderer::AreaHeight);
    setMouseTracking(true);
    setFocusPolicy(Qt::NoFocus);
    // Every pixel is painted from the frame, so nothing needs erasing first.
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void TFieldArea::showFrame(const TPuzzle& puzzle, bool showHints) {
    renderer_.setDevicePixelRatio(devicePixelRatioF());
    const TFrameInputs inputs = TFrameInputs::of(puzzle, showHints);
    if (renderer_.holds(inputs))
        return;
    renderer_.drawFrame(inputs);
    update();
}

void TFieldArea::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    renderer_.paintArea(painter);
}

void TFieldArea::mouseMoveEvent(QMouseEvent* event) {
    const QPoint at = event->position().toPoint();
    emit mouseMoved(at.x(), at.y());
}

void TFieldArea::mousePressEvent(QMouseEvent* event) {
    pressedHere_ |= event->button();
    // The window sees the press as it always has.
    event->ignore();
}

void TFieldArea::mouseReleaseEvent(QMouseEvent* event) {
    // Only a release whose press the area saw is a move, as with a captured mouse. A Wayland
    // compositor keeps the button release of a window move that it carries out, so Qt goes on
    // routing mouse events as if the button were still held; a release that reaches the area
    // after such a move (or after one the compositor refused) need not end a press made here.
    const bool pressedHere = pressedHere_.testFlag(event->button());
    pressedHere_.setFlag(event->button(), false);
    if (!pressedHere)
        return;
    const QPoint at = event->position().toPoint();
    emit mouseReleased(event->button(), at.x(), at.y());
}

} // namespace tarnell
