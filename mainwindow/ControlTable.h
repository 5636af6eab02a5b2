// The main window's controls as rows of a table, and the control that a row makes.
#pragma once

#include "platform/drawing/Colors.h"

#include <QRect>

class QWidget;

namespace tarnell {

class Tmainform_form;

// clang-format off
enum class TControlKind { Side, Picture, Label, AboutLabel, Lcd, Field, Focus, Box, Bevel, BoxBevel,
                          Wide, Small };
// clang-format on

// A control of the layout. `text` is a caption or an animation's strip; `number` is a button's
// selected face, an LCD's characters, an animation's frames or an about label's pixel height;
// `hint` is a tool tip, or what a screen reader calls a control that shows no words of its own.
struct TControlRow {
    const char* name;
    TControlKind kind;
    QRect place;
    const char* text = "";
    int number = 0;
    const char* hint = "";
    void (Tmainform_form::*click)() = nullptr;
    platform::TColor colour = platform::clBlack; // a label's text, an LCD's lit dots
    platform::TColor extra = platform::clBlack;  // an LCD's dark dots; an animation's frame time
};

// The control of a row on parent: named, placed and described as the row says. A row with an
// empty place sizes itself (the field, the displays).
QWidget* makeControl(QWidget* parent, const TControlRow& row);

} // namespace tarnell
