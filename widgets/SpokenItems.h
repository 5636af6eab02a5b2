// A message said by a screen reader as plainly as it reads a move: a new list item, a child of
// the control that speaks, that takes the focus and is read by its name alone.
#pragma once

#include <QAccessible>
#include <QRect>
#include <QString>
#include <functional>

namespace tarnell {

// Orca 43 reads a new object that takes the focus by its name, and with no role word where it is
// a list item; a name change or a description change it does not read from Qt 6.4, and a
// notification it reads with its role first. So each message is such an item, made anew: Orca
// does not read a second focus on the object that has it, and takes two objects of one role,
// name and place for one. The item before lives on, off its parent, until the next one, so that
// a screen reader can still ask it what it said.
class TSpokenItems {
public:
    // parent is the accessible object the items belong to, asked for when needed.
    explicit TSpokenItems(std::function<QAccessibleInterface*()> parent);
    ~TSpokenItems();
    TSpokenItems(const TSpokenItems&) = delete;
    TSpokenItems& operator=(const TSpokenItems&) = delete;

    // A new item named text, at rect on the screen, which the parent lists from now on (at
    // its index after its own children); the one before leaves it.
    QAccessibleInterface* say(const QString& text, const QRect& rect);
    // The item the parent lists, if any.
    QAccessibleInterface* current() const;
    // The parent lists no item any more: its own children take the focus again.
    void clear();

private:
    std::function<QAccessibleInterface*()> parent_;
    QAccessible::Id current_ = 0;
    QAccessible::Id retired_ = 0;
};

} // namespace tarnell
