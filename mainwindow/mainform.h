// The main window: the field with its status displays, the set-up controls, the side
// toolbar, the about page, the keyboard shortcuts, the settings and the dialogs it opens.
#pragma once

#include "core/Puzzle.h"
#include "dialogs/DialogHost.h"
#include "platform/Sound.h"
#include "skin/SkinnedForm.h"

#include <QStackedWidget>
#include <cstdint>
#include <functional>
#include <memory>

class QTimer;

namespace tarnell {

class TAnimatedImage;
class TBevel;
class TBevelPanel;
class TGlyphCheckBox;
class TMyAni;
class TShadowLabel;
class TStripFaceButton;
class Tmybitbutn;
class Tmybitbutn5;
class Tdonat_form;
class Tgame_over_form;
class Tscore_form;
class Twarnin_form;

class TAnnouncer;
class TBoardKeys;
class TBoardReader;
class TFieldArea;
class TImagelessButton;
class TLCDLabel;
class TRestingTimer;

// What the window takes from outside; each one left empty means the real thing.
struct TMainFormSources {
    RandomSource* random = nullptr;
    const TimeOfDaySource* clock = nullptr;
    // Plays the CLICK sound of a move.
    std::function<void(const platform::WaveSound&)> playClick;
    // Whether the program is the active application (hovered buttons take the focus only then).
    std::function<bool()> applicationActive;
    // A steady clock in milliseconds, which keeps Timer1's beat while it rests.
    std::function<int64_t()> steadyMilliseconds;
};

class Tmainform_form : public TSkinnedForm, public TDialogHost {
    Q_OBJECT
public:
    static constexpr QSize ClientSize{488, 376};
    static constexpr int TimerInterval = 100; // ms
    static constexpr int GamePage = 0;
    static constexpr int AboutPage = 1;
    static inline const QColor PageColour{148, 148, 148};

    explicit Tmainform_form(TMainFormSources sources = {}, QWidget* parent = nullptr);
    ~Tmainform_form() override;

    const TPuzzle& puzzle() const { return puzzle_; }
    const platform::WaveSound& clickSound() const { return click_; }

    // --- TDialogHost ---
    int OpenDialogMarker() const override { return marker_; }
    void SetOpenDialogMarker(int marker) override {
        marker_ = marker;
        wakeTimer1(); // a dialog opened or closed
    }
    void StartNewPuzzle() override;

    // The dialog of each kind, while one exists (hidden once closed).
    Twarnin_form* confirmationDialog() const { return confirmation_.get(); }
    Tgame_over_form* puzzleSolvedDialog() const { return puzzleSolved_.get(); }
    Tscore_form* highScoreDialog() const { return highScore_.get(); }
    Tdonat_form* donationDialog() const { return donation_.get(); }

    // --- handlers ---
    void Timer1Timer();
    // Timer1 rests while its ticks would change nothing and is woken, on its beat, by
    // whatever may change what a tick shows.
    TRestingTimer* timer1Rest() const { return timer1Rest_; }
    void PaintBox3MouseMove(int x, int y);
    void PaintBox3MouseUp(Qt::MouseButton button, int x, int y);
    // The player's move on cell (row, col), by pointer or keyboard: generates the first
    // puzzle, plays CLICK on a cell of the field, opens or finds it, shows the displays, and
    // opens the puzzle-solved dialog after the last fox. A cell outside the field only
    // becomes the current cell; nothing happens once the puzzle is solved.
    void openCellAt(int row, int col);
    // The board's keys: the arrows move the current cell, Space and Enter open it.
    void moveCurrentCell(int rows, int cols);
    void openCurrentCell();
    // N and Shift+N: the next or previous cell that may hide a fox, or the news that none may.
    void moveToNextMayHideFox(bool forward);
    // Home, End, Page Up, Page Down, Ctrl+Home and Ctrl+End.
    void jumpCurrentCell(TJump jump);
    // L: says the four lines of the current cell to a listening screen reader.
    void tellLines();
    // The numbers on demand (the board's I key): says the time, the steps, the foxes found
    // and the board to a listening screen reader.
    void tellNumbers();
    // Where the window's messages to a screen reader go.
    TAnnouncer* announcer() const { return announcer_; }
    void mybitbutn1Click();
    void mybitbutn2Click();
    void mybitbutn3Click();
    void mybitbutn4Click();
    void mybitbutn510Click();
    void mybitbutn51Click();
    void mybitbutn52Click();
    void mybitbutn53Click();
    void JvgCheckBox12Click();
    void RzBmpButton16Click();

    // --- controls ---
    QWidget* Panel3 = nullptr; // TBevelPanel
    QStackedWidget* Notebook1 = nullptr;
    QWidget* gamePageWidget_ = nullptr;
    QWidget* aboutPageWidget_ = nullptr;
    TMyAni* MyAni1 = nullptr;
    TMyAni* MyAni2 = nullptr;
    TMyAni* MyAni4 = nullptr;
    QTimer* Timer1 = nullptr;

    TShadowLabel* RxLabel2 = nullptr;
    TLCDLabel* LCDLabel2 = nullptr;
    TShadowLabel* RxLabel3 = nullptr;
    TLCDLabel* LCDLabel3 = nullptr;
    TShadowLabel* RxLabel4 = nullptr;
    TLCDLabel* LCDLabel4 = nullptr;
    TShadowLabel* RxLabel1 = nullptr;
    TLCDLabel* LCDLabel1 = nullptr;
    TFieldArea* PaintBox3 = nullptr;
    TImagelessButton* RzBmpButton1 = nullptr;
    TBevel* Bevel1 = nullptr;
    Tmybitbutn5* mybitbutn510 = nullptr;
    Tmybitbutn5* mybitbutn51 = nullptr;
    TImagelessButton* RzBmpButton16 = nullptr;
    TGlyphCheckBox* JvgCheckBox12 = nullptr;
    Tmybitbutn5* mybitbutn52 = nullptr;
    TShadowLabel* RxLabel7 = nullptr;
    TShadowLabel* RxLabel5 = nullptr;
    Tmybitbutn* mybitbutn3 = nullptr;
    TLCDLabel* LCDLabel5 = nullptr;
    Tmybitbutn* mybitbutn1 = nullptr;
    Tmybitbutn* mybitbutn4 = nullptr;
    TShadowLabel* RxLabel6 = nullptr;
    TLCDLabel* LCDLabel6 = nullptr;
    Tmybitbutn* mybitbutn2 = nullptr;

    TBevel* Bevel2 = nullptr;
    TBevel* Bevel3 = nullptr;
    TAnimatedImage* RxGIFAnimator1 = nullptr;
    TShadowLabel* RxLabel14 = nullptr;
    TShadowLabel* RxLabel15 = nullptr;
    TShadowLabel* RxLabel16 = nullptr;
    TShadowLabel* RxLabel9 = nullptr;
    Tmybitbutn5* mybitbutn53 = nullptr;

protected:
    void FormActivate() override;
    void FormClose() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // One of the three side buttons, with its design place.
    struct TSideButton {
        TMyAni* button;
        QPoint place;
        std::function<void()> action;
    };

    void FormCreate();
    void FormDestroy();
    // Start sequence parts.
    void createSideToolbar();
    void createGamePage();
    void createAboutPage();
    void connectFocusConvention();
    void connectBoard();
    // What a screen reader is told beyond the focused control: the set-up values after an
    // arrow, a new game, a fox found.
    void connectSpokenNews();
    void showCurrentCellReached(TCell was);
    void announceSetup(bool sizeChanged);
    void announceNewGame();
    void ReadSettings();

    // Shows the puzzle's state after an action: the set-up displays, and once a puzzle has
    // been generated, its size, foxes and foxes revealed and the enabled high-score button.
    void showPuzzleState();
    void ShowPage(int page);
    void ShowGamePage(); // Ctrl+F1 and "Solve a puzzle"
    bool FormKeyDown(const QKeyEvent& key);

    void SideButtonDown(TSideButton& side);
    void SideButtonUp(TSideButton& side);
    // Focus convention of the push buttons.
    void ButtonMouseEnter(QWidget* button);
    void ButtonMouseLeave();
    void moveFocusByPointer(QWidget* to);

    // A tick of Timer1 itself, which lets it rest when the next would change nothing.
    void Timer1Elapsed();
    // Whether a tick changes the screen with nothing else happening: the clock runs on the
    // game page.
    bool ticksChangeTheScreen() const;
    void wakeTimer1();
    bool wakesTimer1(const QObject* watched, const QEvent& event) const;

    // Discards the earlier dialog of the kind, sets the marker, and opens a new one.
    template <typename Form, typename... Args>
    void OpenDialogOfKind(std::unique_ptr<Form>& slot, TOpenDialog marker, Args&&... args);
    QWidget* dialogNamedByMarker() const;

    std::unique_ptr<RandomSource> ownRandom_;
    std::unique_ptr<TimeOfDaySource> ownClock_;
    RandomSource& random_;
    const TimeOfDaySource& clock_;
    std::function<void(const platform::WaveSound&)> playClick_;
    std::function<bool()> applicationActive_;
    std::function<int64_t()> steadyMilliseconds_;
    TRestingTimer* timer1Rest_ = nullptr;
    TPuzzle puzzle_;
    platform::WaveSound click_;

    int marker_ = odNone; // the open-dialog marker
    std::unique_ptr<Twarnin_form> confirmation_;
    std::unique_ptr<Tgame_over_form> puzzleSolved_;
    std::unique_ptr<Tscore_form> highScore_;
    std::unique_ptr<Tdonat_form> donation_;

    TSideButton side_[3];
    bool stopped_ = false;
    TBoardKeys* boardKeys_ = nullptr;
    TBoardReader* boardReader_ = nullptr;
    TAnnouncer* announcer_ = nullptr;
};

} // namespace tarnell
