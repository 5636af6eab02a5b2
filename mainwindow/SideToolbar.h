// The side toolbar of the main window: three animated buttons on the left strip. Pressed, a
// button sinks by a pixel into a frame drawn on the strip; released while the window is active,
// it rises and acts. Under the pointer a button plays its animation.
#pragma once

#include <QObject>
#include <QPoint>
#include <functional>
#include <vector>

namespace tarnell {

class TMyAni;
class TSkinnedForm;

class TSideToolbar : public QObject {
    Q_OBJECT
public:
    struct TButton {
        TMyAni* button;
        std::function<void()> action;
    };
    TSideToolbar(TSkinnedForm& form, std::vector<TButton> buttons);

private:
    struct TPlaced {
        TButton button;
        QPoint place; // where the button stands when it is up
    };
    void down(const TPlaced& side);
    void up(const TPlaced& side);

    TSkinnedForm& form_;
    std::vector<TPlaced> sides_;
};

} // namespace tarnell
