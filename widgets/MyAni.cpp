#include "MyAni.h"

#include "platform/drawing/Drawing.h"
#include "widgets/buttons/ButtonFaceDrawing.h"

#include <QEnterEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QTimer>
#include <algorithm>

namespace tarnell {

std::optional<QString> TAnimatedImage::spokenText(QAccessible::Text type) const {
    if (type == QAccessible::Name && accessibleName().isEmpty())
        return toolTip();
    return std::nullopt;
}

TAnimatedImage::TAnimatedImage(QWidget* parent) : QWidget(parent), timer_(new QTimer(this)) {
    setFocusPolicy(Qt::NoFocus);
    installAccessibleInterfaces();
    timer_->setInterval(static_cast<int>(interval_));
    connect(timer_, &QTimer::timeout, this, &TAnimatedImage::TimerTick);
}

TAnimatedImage::~TAnimatedImage() {
    timer_->stop();
}

void TAnimatedImage::setGlyph(const QImage& strip) {
    glyph_ = strip.isNull() ? QImage() : strip.convertToFormat(QImage::Format_RGB32);
    transparentColor_ = glyph_.isNull()
                            ? clNone
                            : platform::fromQColor(QColor(glyph_.pixel(0, glyph_.height() - 1)));
    guessFrameCount();
    opaqueFrames_.clear();
    applyAutoSize();
    update();
}

void TAnimatedImage::guessFrameCount() {
    numGlyphs_ = 1;
    glyphNum_ = 0;
    if (glyph_.isNull())
        return;
    if (orientation_ == goHorizontal && glyph_.width() % glyph_.height() == 0)
        numGlyphs_ = glyph_.width() / glyph_.height();
    else if (orientation_ == goVertical && glyph_.height() % glyph_.width() == 0)
        numGlyphs_ = glyph_.height() / glyph_.width();
}

void TAnimatedImage::setOrientation(TGlyphOrientation orientation) {
    if (orientation == orientation_)
        return;
    orientation_ = orientation;
    opaqueFrames_.clear();
    applyAutoSize();
    update();
}

void TAnimatedImage::setNumGlyphs(int value) {
    if (value == numGlyphs_)
        return;
    numGlyphs_ = value;
    opaqueFrames_.clear();
    if (glyphNum_ >= frameCount())
        glyphNum_ = 0;
    if (inactiveGlyph_ >= numGlyphs_) {
        inactiveGlyph_ = -1;
        glyphNum_ = 0;
    } else {
        showInactiveFrame();
    }
    applyAutoSize();
    update();
}

void TAnimatedImage::setGlyphNum(int value) {
    if (value < 0 || value >= numGlyphs_ || value == glyphNum_)
        return;
    glyphNum_ = value;
    if (!active_ && inactiveIsValid())
        glyphNum_ = inactiveGlyph_;
    frameChanged();
}

void TAnimatedImage::setInactiveGlyph(int value) {
    if (value < 0)
        value = -1;
    if (value >= numGlyphs_ && !loading_)
        return;
    inactiveGlyph_ = value;
    if (!active_ && inactiveIsValid()) {
        glyphNum_ = inactiveGlyph_;
        update();
    }
}

void TAnimatedImage::setInterval(uint32_t milliseconds) {
    interval_ = milliseconds;
    timer_->setInterval(timerPeriod());
    // A period of 0 would tick without pause; it stands for a timer that never fires.
    if (active_ && interval_ == 0)
        timer_->stop();
    else if (active_ && !timer_->isActive())
        timer_->start();
}

int TAnimatedImage::timerPeriod() const {
    return static_cast<int>(std::min<uint32_t>(interval_, INT32_MAX));
}

void TAnimatedImage::setActive(bool active) {
    if (active == active_)
        return;
    active_ = active;
    if (active) {
        if (interval_ > 0)
            timer_->start(timerPeriod());
        emit OnStart();
        return;
    }
    timer_->stop();
    if (inactiveIsValid())
        glyphNum_ = inactiveGlyph_;
    emit OnFrameChanged();
    emit OnStop();
    repaint();
}

void TAnimatedImage::setTransparentColor(platform::TColor color) {
    if (color == transparentColor_)
        return;
    transparentColor_ = color;
    opaqueFrames_.clear();
    update();
}

void TAnimatedImage::setOpaque(bool opaque) {
    if (opaque == opaque_)
        return;
    opaque_ = opaque;
    opaqueFrames_.clear();
    setAttribute(Qt::WA_OpaquePaintEvent, opaque);
    update();
}

void TAnimatedImage::setStretch(bool stretch) {
    if (stretch == stretch_)
        return;
    stretch_ = stretch;
    opaqueFrames_.clear();
    update();
}

void TAnimatedImage::setCenter(bool center) {
    if (center == center_)
        return;
    center_ = center;
    opaqueFrames_.clear();
    update();
}

void TAnimatedImage::setAutoSize(bool autoSize) {
    if (autoSize == autoSize_)
        return;
    autoSize_ = autoSize;
    applyAutoSize();
}

void TAnimatedImage::setColor(platform::TColor color) {
    if (color == color_)
        return;
    color_ = color;
    opaqueFrames_.clear();
    update();
}

void TAnimatedImage::setLoading(bool loading) {
    if (loading == loading_)
        return;
    loading_ = loading;
    if (loading)
        return;
    // A frame number accepted while loading that the strip does not have is dropped now.
    if (inactiveGlyph_ >= numGlyphs_)
        inactiveGlyph_ = -1;
    applyAutoSize();
    showInactiveFrame();
    update();
}

QSize TAnimatedImage::frameSize() const {
    if (glyph_.isNull())
        return {0, 0};
    if (orientation_ == goHorizontal)
        return {glyph_.width() / frameCount(), glyph_.height()};
    return {glyph_.width(), glyph_.height() / frameCount()};
}

int TAnimatedImage::shownFrame() const {
    if (!active_ && inactiveIsValid())
        return inactiveGlyph_;
    return glyphNum_;
}

bool TAnimatedImage::isTimerRunning() const {
    return timer_->isActive();
}

void TAnimatedImage::TimerTick() {
    if (!active_ || isHidden() || numGlyphs_ < 2)
        return;
    if (parentWidget() == nullptr && !isVisible())
        return;
    glyphNum_ = (glyphNum_ + 1) % numGlyphs_;
    if (glyphNum_ == inactiveGlyph_)
        glyphNum_ = (glyphNum_ + 1) % numGlyphs_;
    emit OnFrameChanged();
    repaint();
}

void TAnimatedImage::applyAutoSize() {
    if (!autoSize_ || loading_)
        return;
    const QSize frame = frameSize();
    if (frame.width() > 0 && frame.height() > 0)
        resize(frame);
}

void TAnimatedImage::showInactiveFrame() {
    if (!active_ && inactiveIsValid())
        glyphNum_ = inactiveGlyph_;
}

void TAnimatedImage::frameChanged() {
    emit OnFrameChanged();
    update();
}

QRect TAnimatedImage::frameTarget(QSize frame) const {
    QRect target(QPoint(0, 0), frame);
    if (stretch_)
        target = rect();
    else if (center_)
        target.moveTo((width() - frame.width()) / 2, (height() - frame.height()) / 2);
    return target;
}

namespace {

// The frame k of the strip, stretched to target's size, with transparent pixels where the
// strip shows its transparent colour (unless that is clNone).
QImage stretchedFrame(const QImage& strip, platform::TColor transparent,
                      TGlyphOrientation orientation, QSize frame, int k, QSize target) {
    const QRect source = orientation == goHorizontal ? QRect(QPoint(k * frame.width(), 0), frame)
                                                     : QRect(QPoint(0, k * frame.height()), frame);
    QImage picture(target, QImage::Format_ARGB32);
    picture.fill(0u);
    if (transparent == TAnimatedImage::clNone)
        stretchCopy(picture, picture.rect(), strip, source);
    else
        stretchCopyKeyed(picture, picture.rect(), strip, source,
                         platform::toQColor(transparent).rgb());
    return picture;
}

} // namespace

const QImage& TAnimatedImage::opaqueFrame(int k) {
    const auto slot = static_cast<size_t>(std::max(k, 0));
    if (opaqueFrames_.size() <= slot)
        opaqueFrames_.resize(slot + 1);
    QImage& composed = opaqueFrames_[slot];
    if (!composed.isNull())
        return composed;
    composed = QImage(size(), QImage::Format_RGB32);
    composed.fill(platform::toQColor(color_));
    const QSize frame = frameSize();
    const QRect target = frameTarget(frame);
    if (frame.width() > 0 && frame.height() > 0 && !target.isEmpty()) {
        QPainter painter(&composed);
        platform::drawPixelArt(
            painter, target.topLeft(),
            stretchedFrame(glyph_, transparentColor_, orientation_, frame, k, target.size()));
    }
    return composed;
}

void TAnimatedImage::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    opaqueFrames_.clear();
}

void TAnimatedImage::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    if (opaque_) {
        // The colour and the frame over it, composed once: a frame costs one copy.
        platform::drawPixelArt(painter, QPoint(0, 0), opaqueFrame(shownFrame()));
        return;
    }
    const QSize frame = frameSize();
    if (frame.width() <= 0 || frame.height() <= 0)
        return;
    const QRect target = frameTarget(frame);
    if (target.isEmpty())
        return;
    platform::drawPixelArt(painter, target.topLeft(),
                           stretchedFrame(glyph_, transparentColor_, orientation_, frame,
                                          shownFrame(), target.size()));
}

bool TAnimatedImage::event(QEvent* event) {
    // The hint names the control for assistive technology.
    if (event->type() == QEvent::ToolTipChange)
        notifyAccessibleNameChanged(this);
    return QWidget::event(event);
}

void TAnimatedImage::click() {
    const QPoint centre = rect().center();
    pressedInside_ = false;
    emit OnMouseDown(Qt::LeftButton, Qt::NoModifier, centre);
    emit OnMouseUp(Qt::LeftButton, Qt::NoModifier, centre);
    emit OnClick();
}

void TAnimatedImage::mousePressEvent(QMouseEvent* event) {
    pressedInside_ = event->button() == Qt::LeftButton;
    emit OnMouseDown(event->button(), event->modifiers(), event->position().toPoint());
}

void TAnimatedImage::mouseReleaseEvent(QMouseEvent* event) {
    const QPoint position = event->position().toPoint();
    const bool click =
        event->button() == Qt::LeftButton && pressedInside_ && rect().contains(position);
    if (event->button() == Qt::LeftButton)
        pressedInside_ = false;
    emit OnMouseUp(event->button(), event->modifiers(), position);
    if (click)
        emit OnClick();
}

void TAnimatedImage::mouseMoveEvent(QMouseEvent* event) {
    emit OnMouseMove(event->modifiers(), event->position().toPoint());
}

void TAnimatedImage::mouseDoubleClickEvent(QMouseEvent* event) {
    emit OnDblClick();
    mousePressEvent(event);
}

void TMyAni::enterEvent(QEnterEvent* event) {
    TAnimatedImage::enterEvent(event);
    emit OnMouseEnter();
}

void TMyAni::leaveEvent(QEvent* event) {
    TAnimatedImage::leaveEvent(event);
    emit OnMouseLeave();
}

} // namespace tarnell
