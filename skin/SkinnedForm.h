// The frameless, bitmap-skinned top-level window that the main window and every dialog
// derive from: it paints its own frame and does its own caption work (drag, minimise, close).
#pragma once

#include "LeftStrip.h"
#include "SkinBitmaps.h"
#include "SkinFrame.h"
#include "SystemMoveEnd.h"

#include <QImage>
#include <QSize>
#include <QString>
#include <QWidget>

namespace tarnell {

// What a derived window says about itself; everything else about the skin is the same.
struct TSkinLayout {
    QSize clientSize; // the whole window: the frame is painted inside it
    QString caption;  // painted in the caption bar and used as the window title
    QSize stripSize;  // PaintBox1, the left strip
    QSize panelSize;  // Panel1, which holds the strip at 8, 46
    // A dialog stays above all other windows, is not modal, and never keeps the program
    // running once the main window has closed.
    bool isDialog = false;
};

class TSkinnedForm : public QWidget {
    Q_OBJECT
public:
    explicit TSkinnedForm(const TSkinLayout& layout, QWidget* parent = nullptr);
    ~TSkinnedForm() override;

    QString caption() const { return caption_; }
    void setCaption(const QString& caption);

    // Panel1 and the strip PaintBox1 on it; side controls may be placed on either.
    QWidget* stripPanel() const { return Panel1; }
    TLeftStrip* strip() const { return PaintBox1; }
    // The part of the window that the frame leaves free (below the caption bar, inside
    // the borders). Controls are children of the window itself, placed in its coordinates.
    QRect interiorRect() const;

    bool closePressed() const { return closePressed_ != 0; }
    bool minimisePressed() const { return minimisePressed_ != 0; }
    const skin::SkinBitmaps& skinBitmaps() const { return bitmaps_; }

    // The window's background and frame (no child widgets) in the active or inactive look,
    // with the current caption and pressed buttons.
    QImage renderFrame(bool active) const;

    // Minimises every visible top-level window of the program.
    static void minimiseApplication();

protected:
    // Called when the window has become the active window.
    virtual void FormActivate() {}
    // Called when the window closes, by any route (caption button, keyboard, window manager).
    virtual void FormClose() {}

    // The caption work lives in these handlers: a derived window that overrides one of
    // them calls this class's version too.
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;

    // Hands the move of a caption drag to the window system; false where it cannot move
    // windows (a bare X server, the offscreen platform), and the window then follows the
    // pointer by hand.
    virtual bool requestSystemMove();

    QWidget* Panel1 = nullptr;
    TLeftStrip* PaintBox1 = nullptr;

private:
    enum class Drag { None, System, Manual };

    skin::FrameState frameState(bool active) const;

    // Decides whether a press at point (window coordinates) drags the window; a point in the
    // band but outside a button's zone also drops that button's pressed flag.
    bool WMNCHitTest(QPoint point);
    void WMLButtonDown(QPoint point);
    void WMLButtonUp(QPoint point);
    void WMMouseMove(QPoint globalPoint);
    void beginDrag(QPoint globalPoint);
    void clearPressed();

    skin::SkinBitmaps bitmaps_;
    bool isDialog_ = false;
    QString caption_;
    int closePressed_ = 0;
    int minimisePressed_ = 0;
    int dragPermission_ = 1;
    Drag drag_ = Drag::None;
    QPoint dragOffset_;  // pointer minus window position while moving by hand
    QPoint lastPointer_; // global position of the last mouse event, to tell real moves
    skin::SystemMoveEnd systemMoveEnd_;
};

} // namespace tarnell
