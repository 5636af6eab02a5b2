#include "SkinnedForm.h"

#include "SkinFrame.h"
#include "platform/Screen.h"
#include "platform/drawing/Fonts.h"

#include <QApplication>
#include <QCloseEvent>
#include <QIcon>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>
#include <QWindow>

namespace tarnell {

TSkinnedForm::TSkinnedForm(const TSkinLayout& layout, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint |
                          (layout.isDialog ? Qt::WindowStaysOnTopHint : Qt::WindowFlags())),
      bitmaps_(skin::SkinBitmaps::load()) {
    setFixedSize(layout.clientSize);
    isDialog_ = layout.isDialog;
    if (layout.isDialog)
        setAttribute(Qt::WA_QuitOnClose, false);
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, skin::FormColour);
    setPalette(palette);
    setAutoFillBackground(true);
    setFont(platform::programFont());
    // Moves without a button must reach the window so that they clear a pressed button.
    setMouseTracking(true);
    if (!bitmaps_.MAINICON.isNull())
        setWindowIcon(QIcon(QPixmap::fromImage(bitmaps_.MAINICON)));

    Panel1 = new QWidget(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setGeometry(QRect(skin::StripPanelPos, layout.panelSize));
    Panel1->setAutoFillBackground(true);
    PaintBox1 = new TLeftStrip(Panel1);
    PaintBox1->setGeometry(QRect(QPoint(0, 0), layout.stripSize));

    setCaption(layout.caption);
}

TSkinnedForm::~TSkinnedForm() = default;

void TSkinnedForm::setCaption(const QString& caption) {
    caption_ = caption;
    setWindowTitle(caption);
    update();
}

QRect TSkinnedForm::interiorRect() const {
    return QRect(skin::SideWidth, skin::CaptionHeight, width() - 2 * skin::SideWidth,
                 height() - skin::CaptionHeight - skin::BottomHeight);
}

QImage TSkinnedForm::renderFrame(bool active) const {
    QImage image(size(), QImage::Format_RGB32);
    image.fill(skin::FormColour);
    QPainter painter(&image);
    skin::paintFrame(painter, bitmaps_, frameState(active));
    return image;
}

void TSkinnedForm::minimiseApplication() {
    const QWidgetList windows = QApplication::topLevelWidgets();
    for (QWidget* window : windows) {
        const Qt::WindowType type = window->windowType();
        if (window->isVisible() && (type == Qt::Window || type == Qt::Dialog))
            window->showMinimized();
    }
}

void TSkinnedForm::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    skin::paintFrame(painter, bitmaps_, frameState(isActiveWindow()));
}

skin::FrameState TSkinnedForm::frameState(bool active) const {
    return {size(),         caption_,          active,
            closePressed(), minimisePressed(), platform::frameAndCaptionHeight()};
}

void TSkinnedForm::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() != QEvent::ActivationChange)
        return;
    // Only the caption bar and its buttons change between the active and inactive look.
    update(QRect(0, 0, width(), skin::CornerSize));
    if (isActiveWindow())
        FormActivate();
}

void TSkinnedForm::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    update();
}

void TSkinnedForm::moveEvent(QMoveEvent* event) {
    QWidget::moveEvent(event);
    closePressed_ = 0;
    minimisePressed_ = 0;
    update();
}

void TSkinnedForm::mousePressEvent(QMouseEvent* event) {
    const QPoint point = event->position().toPoint();
    lastPointer_ = event->globalPosition().toPoint();
    const bool drags = WMNCHitTest(point);
    if (event->button() != Qt::LeftButton) {
        QWidget::mousePressEvent(event);
        return;
    }
    WMLButtonDown(point);
    if (drags)
        beginDrag(lastPointer_);
    event->accept();
}

void TSkinnedForm::mouseMoveEvent(QMouseEvent* event) {
    const QPoint pointer = event->globalPosition().toPoint();
    if (drag_ == Drag::Manual) {
        if (event->buttons() & Qt::LeftButton)
            move(pointer - dragOffset_);
        else
            drag_ = Drag::None;
    }
    if (pointer != lastPointer_)
        WMMouseMove(pointer);
    QWidget::mouseMoveEvent(event);
}

void TSkinnedForm::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        QWidget::mouseReleaseEvent(event);
        return;
    }
    drag_ = Drag::None;
    lastPointer_ = event->globalPosition().toPoint();
    WMLButtonUp(event->position().toPoint());
    event->accept();
}

void TSkinnedForm::closeEvent(QCloseEvent* event) {
    drag_ = Drag::None;
    clearPressed();
    FormClose();
    QWidget::closeEvent(event);
}

void TSkinnedForm::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (!isDialog_ || !windowHandle())
        return;
    // Where the window system ignores "stay on top" (Wayland), a dialog still stays above the
    // program's main window when it is that window's transient child.
    const QWidgetList windows = QApplication::topLevelWidgets();
    for (QWidget* window : windows) {
        auto* form = qobject_cast<TSkinnedForm*>(window);
        if (form && form != this && !form->isDialog_ && form->isVisible() && form->windowHandle()) {
            windowHandle()->setTransientParent(form->windowHandle());
            return;
        }
    }
}

bool TSkinnedForm::WMNCHitTest(QPoint point) {
    dragPermission_ = 1;
    if (point.y() >= skin::CaptionBand)
        return false;
    if (skin::inCloseZone(point.x(), width()))
        dragPermission_ = 0;
    else
        closePressed_ = 0;
    if (skin::inMinimiseZone(point.x(), width()))
        dragPermission_ = 0;
    else
        minimisePressed_ = 0;
    return dragPermission_ == 1;
}

void TSkinnedForm::WMLButtonDown(QPoint point) {
    if (point.y() >= skin::CaptionBand)
        return;
    if (skin::inCloseZone(point.x(), width())) {
        closePressed_ = 1;
        update();
    } else if (skin::inMinimiseZone(point.x(), width())) {
        minimisePressed_ = 1;
        update();
    }
}

void TSkinnedForm::WMLButtonUp(QPoint point) {
    const bool wasPressed = closePressed_ != 0 || minimisePressed_ != 0;
    if (point.y() < skin::ReleaseBand) {
        if (skin::inCloseZone(point.x(), width()) && closePressed_ != 0) {
            closePressed_ = 0;
            update();
            // Closed after this handler returns, as a posted close request would be.
            QMetaObject::invokeMethod(this, &QWidget::close, Qt::QueuedConnection);
        }
        if (skin::inMinimiseZone(point.x(), width()) && minimisePressed_ != 0) {
            minimisePressed_ = 0;
            update();
            minimiseApplication();
        }
    }
    clearPressed();
    if (wasPressed)
        update();
}

void TSkinnedForm::WMMouseMove(QPoint globalPoint) {
    lastPointer_ = globalPoint;
    if (closePressed_ == 0 && minimisePressed_ == 0)
        return;
    clearPressed();
    update();
}

bool TSkinnedForm::requestSystemMove() {
    QWindow* window = windowHandle();
    return window && window->startSystemMove();
}

void TSkinnedForm::beginDrag(QPoint globalPoint) {
    drag_ = Drag::None;
    if (requestSystemMove()) {
        drag_ = Drag::System;
        systemMoveEnd_.watch(windowHandle());
        return;
    }
    // No window manager to move the window (a bare X server, the offscreen platform):
    // follow the pointer until the button is released.
    drag_ = Drag::Manual;
    dragOffset_ = globalPoint - pos();
}

void TSkinnedForm::clearPressed() {
    closePressed_ = 0;
    minimisePressed_ = 0;
}

} // namespace tarnell
