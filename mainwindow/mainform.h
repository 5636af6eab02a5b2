// The main window: the layout of its controls on the skin, its two pages, the focus, the
// keyboard shortcuts and the dialogs it opens. The game goes through its session.
#pragma once

#include "GameSession.h"
#include "dialogs/DialogHost.h"
#include "platform/Sound.h"
#include "skin/SkinnedForm.h"

#include <QStackedWidget>
#include <memory>
#include <span>

namespace tarnell {

class TAnimatedImage;
class TGamePage;
class TGlyphCheckBox;
class TImagelessButton;
class Tdonat_form;
class Tgame_over_form;
class Tscore_form;
class Twarnin_form;
struct TControlRow;

// What the window takes from outside; each one left empty means the real thing (the click hook
// plays the window's CLICK sound).
struct TMainFormSources : TGameSources {
    // Whether the program is the active application (hovered buttons take the focus only then).
    std::function<bool()> applicationActive;
};

class Tmainform_form : public TSkinnedForm, public TDialogHost {
    Q_OBJECT
public:
    static constexpr QSize ClientSize{488, 376};
    static constexpr int GamePage = 0;
    static constexpr int AboutPage = 1;
    static inline const QColor PageColour{148, 148, 148};

    explicit Tmainform_form(TMainFormSources sources = {}, QWidget* parent = nullptr);
    ~Tmainform_form() override;

    const TPuzzle& puzzle() const;
    const platform::WaveSound& clickSound() const { return click_; }
    // The game the window shows: every player action goes through it.
    TGameSession& session() const { return *session_; }

    // --- TDialogHost ---
    int OpenDialogMarker() const override { return marker_; }
    void SetOpenDialogMarker(int marker) override;
    void StartNewPuzzle() override;

    // The dialog of each kind, while one exists (hidden once closed).
    Twarnin_form* confirmationDialog() const { return confirmation_.get(); }
    Tgame_over_form* puzzleSolvedDialog() const { return puzzleSolved_.get(); }
    Tscore_form* highScoreDialog() const { return highScore_.get(); }
    Tdonat_form* donationDialog() const { return donation_.get(); }

    // --- handlers ---
    // A tick of Timer1: the clock and the field show the time now.
    void Timer1Timer();
    void PaintBox3MouseMove(int x, int y);
    void PaintBox3MouseUp(Qt::MouseButton button, int x, int y);
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

protected:
    void FormActivate() override;
    void FormClose() override { FormDestroy(); }
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void FormCreate();
    void FormDestroy();
    // Makes the controls from the layout's table.
    void createControls();
    void placeControls(QWidget* parent, std::span<const TControlRow> rows);
    template <class T> T* child(const char* name) const {
        return findChild<T*>(QLatin1String(name));
    }
    void connectFocusConvention();

    void ShowPage(int page);
    void ShowGamePage(); // Ctrl+F1 and "Solve a puzzle"
    bool FormKeyDown(const QKeyEvent& key);

    // Focus convention of the push buttons.
    void ButtonMouseEnter(QWidget* button);
    void ButtonMouseLeave();
    void moveFocusByPointer(QWidget* to);

    // Discards the earlier dialog of the kind, sets the marker, and opens a new one.
    template <typename Form, typename... Args>
    void OpenDialogOfKind(std::unique_ptr<Form>& slot, TOpenDialog marker, Args&&... args);
    QWidget* dialogNamedByMarker() const;

    std::function<bool()> applicationActive_;
    platform::WaveSound click_;
    TGameSession* session_ = nullptr;

    int marker_ = odNone; // the open-dialog marker
    std::unique_ptr<Twarnin_form> confirmation_;
    std::unique_ptr<Tgame_over_form> puzzleSolved_;
    std::unique_ptr<Tscore_form> highScore_;
    std::unique_ptr<Tdonat_form> donation_;

    bool stopped_ = false;
    // The controls the window itself uses; the rest stand in the layout's table.
    QStackedWidget* Notebook1 = nullptr;
    QWidget* aboutPage_ = nullptr;
    TImagelessButton* RzBmpButton1 = nullptr;
    TImagelessButton* RzBmpButton16 = nullptr;
    TGlyphCheckBox* JvgCheckBox12 = nullptr;
    TAnimatedImage* RxGIFAnimator1 = nullptr;
    TGamePage* gamePage_ = nullptr;
};

} // namespace tarnell
