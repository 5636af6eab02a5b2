// The LCD dot-matrix label: a passive control that shows a short text the way a character
// LCD module does, every character a fixed cell of lit and unlit dots.
#pragma once

#include "Matrix.h"
#include "platform/drawing/Colors.h"
#include "widgets/AccessibleWidgets.h"

#include <QImage>
#include <QString>
#include <QWidget>
#include <array>
#include <cstdint>
#include <vector>

namespace tarnell {

// Each size from pix1x1 to pix16x16 makes a dot N by N pixels, N being its ordinal plus 1.
enum TPixelSize {
    pix1x1,
    pix2x2,
    pix3x3,
    pix4x4,
    pix5x5,
    pix6x6,
    pix7x7,
    pix8x8,
    pix9x9,
    pix10x10,
    pix11x11,
    pix12x12,
    pix13x13,
    pix14x14,
    pix15x15,
    pix16x16,
    pixCustom
};
enum TPixelShape { spSquare, spShaped, spRound };
enum TMyBorder { frRaised, frLowered, frSingle, frNone };

// A lightweight control: it takes no focus and no input of its own; mouse events go on to
// the parent. Setters store a value and repaint at once, only when the value changed (the
// character set always repaints); refused values keep the old one and say why in a message
// box. Every property write lays the control out again, so its size follows its content.
class TLCDLabel : public QWidget, public TSpokenControl {
    Q_OBJECT
    Q_PROPERTY(QString Caption READ Caption WRITE setCaption)
    Q_PROPERTY(TDotMatrix DotMatrix READ DotMatrix WRITE setDotMatrix)
    Q_PROPERTY(TPixelSize PixelSize READ PixelSize WRITE setPixelSize)
    Q_PROPERTY(int PixelSpacing READ PixelSpacing WRITE setPixelSpacing)
    Q_PROPERTY(TPixelShape PixelShape READ PixelShape WRITE setPixelShape)
    Q_PROPERTY(int PixelWidth READ PixelWidth WRITE setPixelWidth)
    Q_PROPERTY(int PixelHeight READ PixelHeight WRITE setPixelHeight)
    Q_PROPERTY(int CharSpacing READ CharSpacing WRITE setCharSpacing)
    Q_PROPERTY(int LineSpacing READ LineSpacing WRITE setLineSpacing)
    Q_PROPERTY(int BorderSpace READ BorderSpace WRITE setBorderSpace)
    Q_PROPERTY(int TextLines READ TextLines WRITE setTextLines)
    Q_PROPERTY(int NoOfChars READ NoOfChars WRITE setNoOfChars)
    Q_PROPERTY(platform::TColor BackGround READ BackGround WRITE setBackGround)
    Q_PROPERTY(TMyBorder BorderStyle READ BorderStyle WRITE setBorderStyle)
    Q_PROPERTY(platform::TColor BorderColor READ BorderColor WRITE setBorderColor)
    Q_PROPERTY(platform::TColor PixelOn READ PixelOn WRITE setPixelOn)
    Q_PROPERTY(platform::TColor PixelOff READ PixelOff WRITE setPixelOff)
    Q_PROPERTY(QString filename READ filename WRITE setFilename)
    Q_PROPERTY(QString Hint READ Hint WRITE setHint)
    Q_PROPERTY(bool ShowHint READ ShowHint WRITE setShowHint)

public:
    static constexpr int MaxCaptionLength = 255;
    // The control never grows beyond this many pixels across or down, whatever its
    // properties say, so that absurd values cannot exhaust memory when it paints.
    static constexpr int MaxExtent = 4096;

    explicit TLCDLabel(QWidget* owner = nullptr);
    ~TLCDLabel() override;

    // The text shown, at most 255 characters: a longer text is cut to its first 255. Each
    // character shows the glyph of its Latin-1 code; a character without one shows a '?'.
    QString Caption() const { return caption_; }
    void setCaption(const QString& text);
    TDotMatrix DotMatrix() const { return dotMatrix_; }
    void setDotMatrix(TDotMatrix set);
    TPixelSize PixelSize() const { return pixelSize_; }
    void setPixelSize(TPixelSize size);
    int PixelSpacing() const { return pixelSpacing_; }
    void setPixelSpacing(int pixels);
    TPixelShape PixelShape() const { return pixelShape_; }
    void setPixelShape(TPixelShape shape);
    int PixelWidth() const { return pixelWidth_; }
    void setPixelWidth(int pixels);
    int PixelHeight() const { return pixelHeight_; }
    void setPixelHeight(int pixels);
    int CharSpacing() const { return charSpacing_; }
    void setCharSpacing(int pixels);
    int LineSpacing() const { return lineSpacing_; }
    void setLineSpacing(int pixels);
    int BorderSpace() const { return borderSpace_; }
    void setBorderSpace(int pixels);
    int TextLines() const { return textLines_; }
    void setTextLines(int lines);
    int NoOfChars() const { return noOfChars_; }
    void setNoOfChars(int chars);
    platform::TColor BackGround() const { return backGround_; }
    void setBackGround(platform::TColor color);
    TMyBorder BorderStyle() const { return borderStyle_; }
    void setBorderStyle(TMyBorder style);
    platform::TColor BorderColor() const { return borderColor_; }
    void setBorderColor(platform::TColor color);
    platform::TColor PixelOn() const { return pixelOn_; }
    void setPixelOn(platform::TColor color);
    platform::TColor PixelOff() const { return pixelOff_; }
    void setPixelOff(platform::TColor color);
    QString filename() const { return filename_; }
    // Stores the name and switches to the custom set it holds. A file that cannot be
    // opened keeps a built-in set showing and replaces a custom one by mat5x7, silently; a file
    // that is not a valid character set (see parseCustomCharSet) leaves it as it was, custom
    // glyphs included, and says why in a message box.
    // Either way loadError() tells the caller what went wrong.
    void setFilename(const QString& name);
    // Why the last custom set was not loaded; empty after a successful load.
    QString loadError() const { return loadError_; }

    // The hint is the tool tip, shown only while ShowHint is on (as it is from the start).
    QString Hint() const { return hint_; }
    void setHint(const QString& hint);
    bool ShowHint() const { return showHint_; }
    void setShowHint(bool show);

    // Internal state, readable for tests and tools.
    platform::TColor shadeColor() const { return ShadeColor; }
    int dotWidth() const { return DotWidth; }
    int dotHeight() const { return DotHeight; }
    int cellWidth() const { return CellWidth; }
    int cellHeight() const { return CellHeight; }
    TCharSetShape charSetShape() const;
    QSize lastSize() const { return {LastWidth, LastHeight}; }
    // How many times the control has painted itself.
    int paintCount() const { return paintCount_; }

    QSize sizeHint() const override { return {LastWidth, LastHeight}; }

    // Static text named by what it counts and the number it shows (screen readers read a
    // label's name, seldom its description); the number alone is its value.
    QAccessible::Role spokenRole() const override { return QAccessible::StaticText; }
    std::optional<QString> spokenText(QAccessible::Text type) const override;

    // The image the control shows, drawn the same way its paint does, at the current size.
    QImage renderImage() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    using TextCodes = std::array<uint8_t, MaxCaptionLength + 1>;

    // Lays the control out (fitting it to a size changed from outside, otherwise sizing it
    // to its content) and repaints it at once.
    void relayoutAndRepaint();
    // The cells whose shown character differs between the caption and a previous text
    // buffer; with a bitmap of the last image shown, draws them into it anew.
    QRect changedCells(const TextCodes& previous, QImage* redraw = nullptr) const;
    // Calls visit(index, x, y) for every cell from the first on, by lines, while the cells
    // start within width x height pixels: the cell number and its top-left dot.
    template <typename Visit> void forEachCell(int64_t width, int64_t height, Visit&& visit) const;
    void layoutControl();
    void computeDotAndCellSizes();
    void sizeToContent();
    void fitToSize(int width, int height);
    bool refuseBelow(int value, int minimum, const char* message);
    void updateToolTip();
    // Unopenable: the file could not be opened (quietly); Refused: it is no valid set (said).
    enum class CustomSetLoad { Loaded, Unopenable, Refused };
    CustomSetLoad loadCustomSet(QString& error);
    bool hiddenOnPurpose() const;
    void drawFrame(QImage& bitmap, int width, int height) const;
    void drawText(QImage& bitmap) const;
    // The dots of the cell at (x, y) showing code (already within the set's codes).
    void drawCell(QImage& bitmap, int64_t x, int64_t y, int code) const;
    // The code cell index shows for a text buffer: its character up to the first zero, code 0
    // from there on, brought within the set's codes.
    int shownCode(const TextCodes& text, int64_t index) const;

    QString caption_;
    TDotMatrix dotMatrix_ = mat5x7;
    TPixelSize pixelSize_ = pix2x2;
    int pixelSpacing_ = 1;
    TPixelShape pixelShape_ = spSquare;
    int pixelWidth_ = 2;
    int pixelHeight_ = 2;
    int charSpacing_ = 2;
    int lineSpacing_ = 2;
    int borderSpace_ = 3;
    int textLines_ = 1;
    int noOfChars_ = 10;
    platform::TColor backGround_ = 0xC0C0C0;
    TMyBorder borderStyle_ = frLowered;
    platform::TColor borderColor_ = 0;
    platform::TColor pixelOn_ = 0;
    platform::TColor pixelOff_ = 0xAAAAAA;
    QString filename_;
    QString hint_;
    bool showHint_ = true;
    QString loadError_;
    int paintCount_ = 0;

    platform::TColor ShadeColor = 0;
    int DotWidth = 2;
    int DotHeight = 2;
    int CellColumns = 5;
    int CellRows = 7;
    int CellWidth = 0;
    int CellHeight = 0;
    int FirstCode = 32;
    int LastCode = 126;
    int LastWidth = 0;
    int LastHeight = 0;
    // The caption's character codes, ended by a zero.
    TextCodes TextBuffer{};
    // The image last shown, kept while nothing but the caption changes (whose changed cells
    // are drawn into it), so that a caption change draws only the cells it changes.
    QImage shown_;
    bool shownValid_ = false;
    // One glyph per code while a custom set is loaded (0 = lit), otherwise empty.
    std::array<std::vector<uint8_t>, 256> CustomGlyphs;
    TCharSetShape customShape_;
};

} // namespace tarnell
