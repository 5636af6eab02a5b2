// How the program's self-drawn controls present themselves to assistive technology (screen
// readers): the role, name, description and actions of the LCD label, the animated buttons
// and the shadowed label, which the toolkit would otherwise see as anonymous widgets.
#pragma once

class QObject;
class QString;

namespace tarnell {

// Installs the interfaces once; every such control calls it when it is made.
void installAccessibleInterfaces();

// Tells assistive technology, if any is listening, that what a control says has changed;
// nothing at all happens while none is (the clock changes ten times a second).
void notifyAccessibleTextChanged(QObject* control, bool nameChanged);

} // namespace tarnell
