// The animated image of the side toolbar: a strip of frames shown one at a time, still on its
// inactive frame and looping through the others while active; TMyAni adds pointer enter/leave.
#pragma once

#include "platform/drawing/Colors.h"
#include "widgets/AccessibleWidgets.h"

#include <QImage>
#include <QWidget>
#include <cstdint>
#include <vector>

class QTimer;

namespace tarnell {

enum TGlyphOrientation { goHorizontal, goVertical };

class TAnimatedImage : public QWidget, public TSpokenControl {
    Q_OBJECT
public:
    // The TransparentColor that leaves every pixel drawn.
    static constexpr platform::TColor clNone = 0x1FFFFFFFu;

    explicit TAnimatedImage(QWidget* parent = nullptr);
    ~TAnimatedImage() override;

    const QImage& Glyph() const { return glyph_; }
    // Copies strip; its bottom-left pixel becomes TransparentColor; NumGlyphs is guessed from
    // square frames (else 1) and GlyphNum goes back to 0.
    void setGlyph(const QImage& strip);
    TGlyphOrientation Orientation() const { return orientation_; }
    void setOrientation(TGlyphOrientation orientation);
    int NumGlyphs() const { return numGlyphs_; }
    void setNumGlyphs(int value);
    int GlyphNum() const { return glyphNum_; }
    void setGlyphNum(int value);
    int InactiveGlyph() const { return inactiveGlyph_; }
    void setInactiveGlyph(int value);
    uint32_t Interval() const { return interval_; }
    // 0 stops the ticks (the control then stands still even while Active).
    void setInterval(uint32_t milliseconds);
    bool Active() const { return active_; }
    void setActive(bool active);
    platform::TColor TransparentColor() const { return transparentColor_; }
    void setTransparentColor(platform::TColor color);
    bool Opaque() const { return opaque_; }
    void setOpaque(bool opaque);
    bool Stretch() const { return stretch_; }
    void setStretch(bool stretch);
    bool Center() const { return center_; }
    void setCenter(bool center);
    bool AutoSize() const { return autoSize_; }
    void setAutoSize(bool autoSize);
    // Ticks always run on the user-interface thread (widgets cannot paint from another one);
    // the flag is kept for the owner's description only.
    bool AsyncDrawing() const { return asyncDrawing_; }
    void setAsyncDrawing(bool value) { asyncDrawing_ = value; }
    // The background shown through transparent pixels when Opaque.
    platform::TColor Color() const { return color_; }
    void setColor(platform::TColor color);

    // The owner sets this while it builds its window: InactiveGlyph then accepts any frame
    // number and AutoSize waits; clearing it sizes the control and shows the inactive frame.
    bool isLoading() const { return loading_; }
    void setLoading(bool loading);

    // One frame's size; 0 x 0 without a strip.
    QSize frameSize() const;
    // The frame paint shows now.
    int shownFrame() const;
    bool isTimerRunning() const;

    // A click as the mouse makes one (press and release of the left button at the centre),
    // for assistive technology that presses the control.
    void click();

    // An animation named by its hint; the side toolbar's buttons (TMyAni) are push buttons
    // whose press action does what a click with the mouse does.
    QAccessible::Role spokenRole() const override { return QAccessible::Animation; }
    std::optional<QString> spokenText(QAccessible::Text type) const override;
    bool pressable() const override { return spokenRole() == QAccessible::Button; }
    void press() override { click(); }

public slots:
    // One animation step, as the timer makes it.
    void TimerTick();

signals:
    void OnFrameChanged();
    void OnStart();
    void OnStop();
    void OnClick();
    void OnDblClick();
    void OnMouseDown(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, QPoint position);
    void OnMouseUp(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, QPoint position);
    void OnMouseMove(Qt::KeyboardModifiers modifiers, QPoint position);

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    int timerPeriod() const;
    int frameCount() const { return numGlyphs_ < 1 ? 1 : numGlyphs_; }
    bool inactiveIsValid() const { return inactiveGlyph_ >= 0 && inactiveGlyph_ < numGlyphs_; }
    void guessFrameCount();
    void applyAutoSize();
    void showInactiveFrame();
    void frameChanged();
    // The client area of an opaque control showing frame k: Color with the frame drawn over
    // it, made once per frame and kept until the picture, its place or Color changes.
    const QImage& opaqueFrame(int k);
    QRect frameTarget(QSize frame) const;

    QImage glyph_;
    std::vector<QImage> opaqueFrames_;
    TGlyphOrientation orientation_ = goHorizontal;
    int numGlyphs_ = 1;
    int glyphNum_ = 0;
    int inactiveGlyph_ = -1;
    uint32_t interval_ = 100;
    bool active_ = false;
    platform::TColor transparentColor_ = clNone;
    bool opaque_ = false;
    bool stretch_ = true;
    bool center_ = false;
    bool autoSize_ = true;
    bool asyncDrawing_ = false;
    platform::TColor color_ = platform::clBtnFace;
    bool loading_ = false;
    bool pressedInside_ = false;
    QTimer* timer_;
};

// The side toolbar's button: reports the pointer coming onto and leaving it.
class TMyAni : public TAnimatedImage {
    Q_OBJECT
public:
    explicit TMyAni(QWidget* parent = nullptr) : TAnimatedImage(parent) {}

    QAccessible::Role spokenRole() const override { return QAccessible::Button; }

signals:
    void OnMouseEnter();
    void OnMouseLeave();

protected:
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
};

} // namespace tarnell
