// How the program's self-drawn controls present themselves to assistive technology (screen
// readers): the toolkit would see the LCD label, the animated buttons and the shadowed label as
// anonymous widgets. Each such control answers what a reader needs through TSpokenControl, and
// one accessible interface here presents whatever answers it; nothing here knows the controls.
#pragma once

#include <QAccessible>
#include <QString>
#include <functional>
#include <optional>

class QAbstractButton;
class QObject;
class QString;
class QWidget;

namespace tarnell {

// What a self-drawn control tells a screen reader. A widget that derives from it is presented
// with the role it gives, the texts it has words of its own for (the toolkit's for the rest)
// and, where it is pressable, a press action that does what a click does.
class TSpokenControl {
public:
    virtual ~TSpokenControl() = default;
    virtual QAccessible::Role spokenRole() const = 0;
    // A text of its own of the given kind; none leaves the toolkit's.
    virtual std::optional<QString> spokenText(QAccessible::Text) const { return std::nullopt; }
    virtual bool pressable() const { return false; }
    // Called for the press action, only while pressable and enabled.
    virtual void press() {}
};

// Installs the interfaces once; every such control calls it when it is made.
void installAccessibleInterfaces();

// Tells assistive technology, if any is listening, that a control's name changed; nothing at
// all happens while none is. A control is heard of at most once a second: a change within the
// second is told when the second is over, so the last one is never lost (the clock changes
// ten times a second).
void notifyAccessibleNameChanged(QObject* control);
// The quiet interval of notifyAccessibleNameChanged, in milliseconds.
constexpr int NameNoticeInterval = 1000;
// The steady clock, in milliseconds, that spaces those notices; a test hands in its own, and an
// empty one brings the real one back.
void setNameNoticeClock(std::function<qint64()> clock);

// What an LCD display says: what it counts (its owner's name for it, else its hint) and the
// number it shows, without the leading zeros the display pads with ("Foxes revealed 2",
// "Time elapsed 00:21,7"); only the number when nothing says what it counts.
QString lcdSpokenName(const QString& counts, const QString& shown);

// Gives a plain widget another role before a screen reader first asks for it: a page stack
// that is only layout reads as a plain client area (a filler), which screen readers pass
// over in silence.
void setAccessibleRole(QWidget* widget, QAccessible::Role role);

// A focusable handle that stands in for a check box which cannot take the focus itself: the
// handle reads as a check box named as it is, checked as the box is, and tells a listening
// screen reader when the box's state changes.
void presentAsCheckBox(QAbstractButton* handle, QAbstractButton* box);

} // namespace tarnell
