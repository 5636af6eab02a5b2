// The field after a caption drag that the window system carries out: the pointer's hover
// follows at once, and a release whose press the field did not see opens nothing. Events go
// through the window as the platform delivers them, so Qt's own routing of a held button
// takes part.
#include "MainFormFixture.h"

#include <QMouseEvent>
#include <QWindow>

namespace tarnell {

using namespace mainformtest;

namespace {

// A main window whose caption drags are taken over by the window system, as a compositor
// or a window manager takes them.
class SystemMovedForm : public Tmainform_form {
public:
    using Tmainform_form::Tmainform_form;
    int moves_ = 0;

protected:
    bool requestSystemMove() override {
        ++moves_;
        return true;
    }
};

const QPoint Caption(200, 12);

class CaptionDrag : public MainForm {
protected:
    void SetUp() override {
        MainForm::SetUp();
        makeWindow_ = [](TMainFormSources sources) -> std::unique_ptr<Tmainform_form> {
            return std::make_unique<SystemMovedForm>(std::move(sources));
        };
        openActive();
        ASSERT_NE(window_->windowHandle(), nullptr);
    }
    void TearDown() override {
        // Leaves Qt's idea of the held buttons as it found it.
        deliver(QEvent::MouseButtonRelease, QPoint(300, 300), Qt::LeftButton, Qt::NoButton);
        MainForm::TearDown();
    }

    // Delivers a mouse event to the window as the platform does, at a point of the window.
    void deliver(QEvent::Type type, QPoint local, Qt::MouseButton button,
                 Qt::MouseButtons buttons) {
        QMouseEvent event(type, QPointF(local), QPointF(local),
                          QPointF(window_->mapToGlobal(local)), button, buttons, Qt::NoModifier);
        QApplication::sendEvent(window_->windowHandle(), &event);
    }
    QPoint cellInWindow(int row, int col) const {
        return ui<"PaintBox3">()->mapTo(window_.get(), cellCentre(row, col));
    }
    // A caption drag that the window system takes over; its release never comes.
    void dragByTheCaption() {
        deliver(QEvent::MouseButtonPress, Caption, Qt::LeftButton, Qt::LeftButton);
        ASSERT_EQ(static_cast<SystemMovedForm&>(*window_).moves_, 1);
    }
    int openedCells() const {
        int opened = 0;
        for (int row = 1; row <= 8; ++row)
            for (int col = 1; col <= 8; ++col)
                opened += window_->puzzle().ViewState(row, col) != vsCovered ? 1 : 0;
        return opened;
    }
};

TEST_F(CaptionDrag, AfterAMoveWhoseReleaseTheCompositorKeptTheCyanPlateFollowsAtOnce) {
    dragByTheCaption();
    // The pointer comes back over the board with the button up; Qt still holds it as
    // pressed on the caption.
    deliver(QEvent::MouseMove, cellInWindow(3, 5), Qt::NoButton, Qt::NoButton);
    EXPECT_EQ(window_->puzzle().HotRow(), 3);
    EXPECT_EQ(window_->puzzle().HotCol(), 5);
    deliver(QEvent::MouseMove, cellInWindow(6, 2), Qt::NoButton, Qt::NoButton);
    EXPECT_EQ(window_->puzzle().HotRow(), 6);
    EXPECT_EQ(window_->puzzle().HotCol(), 2);
    window_->Timer1Timer();
    EXPECT_TRUE(isCyanPlate(fieldPixel(cellCentre(6, 2))))
        << fieldPixel(cellCentre(6, 2)).name().toStdString();

    // The next click on the board is a move as any other.
    deliver(QEvent::MouseButtonPress, cellInWindow(6, 2), Qt::LeftButton, Qt::LeftButton);
    deliver(QEvent::MouseButtonRelease, cellInWindow(6, 2), Qt::LeftButton, Qt::NoButton);
    EXPECT_TRUE(window_->puzzle().Started());
    EXPECT_NE(window_->puzzle().ViewState(6, 2), vsCovered);
    EXPECT_EQ(clicks_, 1);
}

TEST_F(CaptionDrag, AReleaseLeftOverFromARefusedMoveOpensNoPlate) {
    // The window system refused the move: the button is still held while the pointer goes
    // from the caption onto the board, and is released there.
    dragByTheCaption();
    deliver(QEvent::MouseMove, cellInWindow(4, 4), Qt::NoButton, Qt::LeftButton);
    deliver(QEvent::MouseButtonRelease, cellInWindow(4, 4), Qt::LeftButton, Qt::NoButton);
    EXPECT_FALSE(window_->puzzle().Started());
    EXPECT_EQ(openedCells(), 0);
    EXPECT_EQ(clicks_, 0);
    // From then on the pointer is the board's again.
    deliver(QEvent::MouseMove, cellInWindow(4, 5), Qt::NoButton, Qt::NoButton);
    EXPECT_EQ(window_->puzzle().HotRow(), 4);
    EXPECT_EQ(window_->puzzle().HotCol(), 5);
}

TEST_F(CaptionDrag, APressOnTheFieldMakesItsReleaseAMoveWhereverItFalls) {
    // A press on the board and a release beside the board is a move onto no cell, which starts
    // the puzzle, as a captured mouse delivers it ...
    deliver(QEvent::MouseButtonPress, cellInWindow(2, 7), Qt::LeftButton, Qt::LeftButton);
    deliver(QEvent::MouseMove, cellInWindow(2, 7) + QPoint(0, -60), Qt::NoButton, Qt::LeftButton);
    deliver(QEvent::MouseButtonRelease, cellInWindow(2, 7) + QPoint(0, -60), Qt::LeftButton,
            Qt::NoButton);
    EXPECT_TRUE(window_->puzzle().Started());
    EXPECT_EQ(openedCells(), 0);
    // A press and release on a cell opens it, once.
    deliver(QEvent::MouseButtonPress, cellInWindow(2, 7), Qt::LeftButton, Qt::LeftButton);
    deliver(QEvent::MouseButtonRelease, cellInWindow(2, 7), Qt::LeftButton, Qt::NoButton);
    deliver(QEvent::MouseButtonRelease, cellInWindow(5, 5), Qt::LeftButton, Qt::NoButton);
    EXPECT_EQ(openedCells(), 1);
    EXPECT_NE(window_->puzzle().ViewState(2, 7), vsCovered);
    EXPECT_EQ(window_->puzzle().StepCount(), 1);
}

} // namespace

} // namespace tarnell
