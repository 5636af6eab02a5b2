#include "ControlTable.h"

#include "FieldArea.h"
#include "FormParts.h"
#include "platform/Resources.h"
#include "platform/drawing/Fonts.h"
#include "widgets/GlyphCheckBox.h"
#include "widgets/MyAni.h"
#include "widgets/ShadowLabel.h"
#include "widgets/buttons/buts2.h"
#include "widgets/buttons/buts5.h"
#include "widgets/lcd/LCD_Lab.h"

#include <algorithm>

namespace tarnell {

using namespace platform;
using enum TControlKind;

namespace {

template <typename Animation> QWidget* makeAnimation(QWidget* parent, const TControlRow& row) {
    auto* ani = new Animation(parent);
    ani->setLoading(true);
    ani->setGlyph(loadBitmap(QLatin1String(row.text)));
    ani->setNumGlyphs(row.number);
    ani->setInactiveGlyph(0);
    ani->setInterval(row.extra);
    ani->setLoading(false);
    return ani;
}

TShadowLabel* makeLabel(QWidget* parent, const TControlRow& row, TColor colour) {
    return new TShadowLabel(QString::fromUtf8(row.text), colour, parent);
}

TLCDLabel* makeLcd(QWidget* parent, const TControlRow& row) {
    auto* lcd = new TLCDLabel(parent);
    lcd->setPixelSize(pix1x1);
    lcd->setPixelShape(spShaped);
    lcd->setPixelSpacing(1);
    lcd->setCharSpacing(2);
    lcd->setTextLines(1);
    lcd->setBorderSpace(2);
    lcd->setBorderStyle(frNone);
    lcd->setBackGround(clBlack);
    lcd->setPixelOn(row.colour);
    lcd->setPixelOff(row.extra);
    lcd->setNoOfChars(row.number);
    lcd->setCaption(QString::fromUtf8(row.text));
    return lcd;
}

template <typename Button> Button* makeButton(QWidget* parent, const TControlRow& row) {
    auto* button = new Button(parent);
    button->setSelected(row.number);
    return button;
}

QWidget* makeKind(QWidget* parent, const TControlRow& row) {
    switch (row.kind) {
    case Side:
        return makeAnimation<TMyAni>(parent, row);
    case Picture:
        return makeAnimation<TAnimatedImage>(parent, row);
    case Label:
        return makeLabel(parent, row, row.colour);
    case AboutLabel: {
        // Opaque in the page colour, engraved, bold at a pixel height.
        TShadowLabel* label = makeLabel(parent, row, clWindowText);
        label->useEngravedLook();
        label->setFont(programFontPixels(row.number, true));
        return label;
    }
    case Lcd:
        return makeLcd(parent, row);
    case Field:
        return new TFieldArea(parent);
    case Focus:
        return new TImagelessButton(parent);
    case Box:
        return new TGlyphCheckBox(QString::fromUtf8(row.text), parent);
    case Bevel:
    case BoxBevel:
        return new TBevel(parent, row.kind == Bevel ? TBevel::Shape::Frame : TBevel::Shape::Box);
    case Wide:
        return makeButton<Tmybitbutn5>(parent, row);
    case Small:
        return makeButton<Tmybitbutn>(parent, row);
    }
    return nullptr;
}

} // namespace

QWidget* makeControl(QWidget* parent, const TControlRow& row) {
    QWidget* control = makeKind(parent, row);
    control->setObjectName(QLatin1String(row.name));
    const QString hint = QString::fromUtf8(row.hint);
    if (row.kind == Lcd || row.kind == Focus)
        control->setAccessibleName(hint);
    else if (!hint.isEmpty())
        control->setToolTip(hint);
    if (row.place.isEmpty())
        control->move(row.place.topLeft());
    else if (row.kind == AboutLabel)
        // The substitute face runs wider than the original one; a label grows to show its
        // whole text rather than cut it off.
        control->setGeometry(row.place.adjusted(
            0, 0, std::max(0, control->sizeHint().width() - row.place.width()), 0));
    else
        control->setGeometry(row.place);
    return control;
}

} // namespace tarnell
