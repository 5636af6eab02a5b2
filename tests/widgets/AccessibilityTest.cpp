// What a screen reader learns about the self-drawn controls: role, name, description,
// value, state and actions, and that a display changing ten times a second stays quiet
// while no assistive technology listens.
#include "tests/support/TestSupport.h"
#include "widgets/AccessibleWidgets.h"
#include "widgets/GlyphCheckBox.h"
#include "widgets/MyAni.h"
#include "widgets/ShadowLabel.h"
#include "widgets/buttons/buts.h"
#include "widgets/buttons/buts2.h"
#include "widgets/buttons/buts5.h"
#include "widgets/lcd/LCD_Lab.h"

#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QElapsedTimer>
#include <QSignalSpy>
#include <QTest>
#include <QWidget>
#include <gtest/gtest.h>
#include <utility>

namespace tarnell {

namespace {

QAccessibleInterface* accessible(QWidget* widget) {
    QAccessibleInterface* face = QAccessible::queryAccessibleInterface(widget);
    EXPECT_NE(face, nullptr);
    return face;
}

QString name(QWidget* widget) {
    return accessible(widget)->text(QAccessible::Name);
}

QString description(QWidget* widget) {
    return accessible(widget)->text(QAccessible::Description);
}

TEST(AccessiblePushButtons, DialogButtonIsNamedByItsCaptionWithoutTheAccelerator) {
    QWidget window;
    Tmybitbut button(&window);
    button.setCaption(QStringLiteral("&Yes && no"));
    EXPECT_EQ(accessible(&button)->role(), QAccessible::Button);
    EXPECT_EQ(name(&button), QStringLiteral("Yes & no"));
    button.setToolTip(QStringLiteral("Keeps the name"));
    EXPECT_EQ(name(&button), QStringLiteral("Yes & no"));
    EXPECT_EQ(description(&button), QStringLiteral("Keeps the name"));
    button.setCaption(QStringLiteral("OK"));
    EXPECT_EQ(name(&button), QStringLiteral("OK"));
    button.setKind(bkCancel);
    EXPECT_EQ(name(&button), QStringLiteral("Cancel"));
}

TEST(AccessiblePushButtons, LetteredButtonSaysTheWordOnItsFaceAndItsHint) {
    QWidget window;
    Tmybitbutn5 button(&window);
    button.setToolTip(QStringLiteral("Start new game"));
    // Outside the strips (40) there is no word: the hint names the button.
    for (const auto& [selected, word] : {std::pair{11, "Generate"}, {13, "Donate"}, {14, "Score"},
                                         {2, "New"}, {40, "Start new game"}}) {
        button.setSelected(selected);
        EXPECT_EQ(name(&button), QLatin1String(word)) << selected;
        EXPECT_EQ(description(&button), QStringLiteral("Start new game"));
    }
}

TEST(AccessiblePushButtons, PictogramButtonIsNamedByItsHintAsItChanges) {
    QWidget window;
    Tmybitbutn button(&window);
    button.setSelected(6);
    EXPECT_EQ(name(&button), QString());
    button.setToolTip(QStringLiteral("Decrease the number of foxes "));
    EXPECT_EQ(name(&button), QStringLiteral("Decrease the number of foxes"));
    // A reader says a description that differs from the name after it: a trailing blank
    // must not make it say the hint twice.
    EXPECT_EQ(description(&button), name(&button));
    button.setToolTip(QStringLiteral("Increase the number of foxes"));
    EXPECT_EQ(name(&button), QStringLiteral("Increase the number of foxes"));
    // A name the owner gives stays, whatever the hint does next.
    button.setAccessibleName(QStringLiteral("More foxes"));
    button.setToolTip(QStringLiteral("Something else"));
    EXPECT_EQ(name(&button), QStringLiteral("More foxes"));
    // The press action clicks it.
    QSignalSpy clicks(&button, &QAbstractButton::clicked);
    QAccessibleActionInterface* actions = accessible(&button)->actionInterface();
    ASSERT_NE(actions, nullptr);
    ASSERT_TRUE(actions->actionNames().contains(QAccessibleActionInterface::pressAction()));
    actions->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_TRUE(QTest::qWaitFor([&clicks] { return clicks.count() == 1; }, 2000));
}

TEST(AccessibleCheckBox, IsACheckBoxNamedByItsCaptionThatSaysWhetherItIsChecked) {
    QWidget window;
    TGlyphCheckBox box(QStringLiteral("Show hints"), &window);
    QAccessibleInterface* face = accessible(&box);
    EXPECT_EQ(face->role(), QAccessible::CheckBox);
    EXPECT_EQ(face->text(QAccessible::Name), QStringLiteral("Show hints"));
    box.setChecked(true);
    EXPECT_TRUE(face->state().checked);
    box.setChecked(false);
    EXPECT_FALSE(face->state().checked);
}

TEST(AccessibleLcd, NamedByWhatItCountsAndTheNumberItShowsWhichIsAlsoItsValue) {
    QWidget window;
    TLCDLabel lcd(&window);
    lcd.setNoOfChars(7);
    lcd.setCaption(QStringLiteral("00:12,5"));
    QAccessibleInterface* face = accessible(&lcd);
    EXPECT_EQ(face->role(), QAccessible::StaticText);
    // Without a hint the label is named by what it shows.
    EXPECT_EQ(face->text(QAccessible::Name), QStringLiteral("00:12,5"));
    lcd.setHint(QStringLiteral("Time elapsed"));
    EXPECT_EQ(face->text(QAccessible::Name), QStringLiteral("Time elapsed 00:12,5"));
    EXPECT_EQ(face->text(QAccessible::Value), QStringLiteral("00:12,5"));
    // Screen readers seldom read a description: the number is not kept there twice.
    EXPECT_EQ(face->text(QAccessible::Description), QString());
    lcd.setCaption(QStringLiteral("00:12,6"));
    EXPECT_EQ(face->text(QAccessible::Name), QStringLiteral("Time elapsed 00:12,6"));
    EXPECT_EQ(face->text(QAccessible::Value), QStringLiteral("00:12,6"));
    // Hiding the tool tip does not take the name away; the owner's own name wins.
    lcd.setShowHint(false);
    EXPECT_EQ(face->text(QAccessible::Name), QStringLiteral("Time elapsed 00:12,6"));
    lcd.setAccessibleName(QStringLiteral("Clock"));
    EXPECT_EQ(face->text(QAccessible::Name), QStringLiteral("Clock 00:12,6"));
    // A two-digit count is said as a number, without the display's padding.
    TLCDLabel count(&window);
    count.setNoOfChars(2);
    count.setAccessibleName(QStringLiteral("Foxes revealed"));
    for (const auto& [shown, said] : {std::pair{"02", "2"}, {"10", "10"}, {"00", "0"}}) {
        count.setCaption(QLatin1String(shown));
        EXPECT_EQ(name(&count), QStringLiteral("Foxes revealed ") + QLatin1String(said));
        EXPECT_EQ(accessible(&count)->text(QAccessible::Value), QLatin1String(shown));
    }
}

std::vector<std::pair<QObject*, QAccessible::Event>> updates;
void recordUpdate(QAccessibleEvent* event) {
    updates.emplace_back(event->object(), event->type());
}

// Records the accessibility events of the test's controls while it lives.
class UpdateRecorder {
public:
    UpdateRecorder() : previous_(QAccessible::installUpdateHandler(&recordUpdate)) {
        updates.clear();
    }
    ~UpdateRecorder() { QAccessible::installUpdateHandler(previous_); }
    UpdateRecorder(const UpdateRecorder&) = delete;
    UpdateRecorder& operator=(const UpdateRecorder&) = delete;

    static std::vector<QAccessible::Event> of(const QObject* control) {
        std::vector<QAccessible::Event> events;
        for (const auto& [object, type] : updates)
            if (object == control)
                events.push_back(type);
        return events;
    }

private:
    QAccessible::UpdateHandler previous_;
};

TEST(AccessibleLcd, TheClockStaysQuietWhileNoAssistiveTechnologyListens) {
    QWidget window;
    TLCDLabel lcd(&window);
    UpdateRecorder recorder;
    ASSERT_FALSE(QAccessible::isActive());
    lcd.setHint(QStringLiteral("Time elapsed"));
    for (int tenth = 0; tenth < 10; ++tenth)
        lcd.setCaption(QStringLiteral("00:00,%1").arg(tenth));
    EXPECT_TRUE(UpdateRecorder::of(&lcd).empty());
    // The reader still finds the current text when it asks.
    EXPECT_EQ(accessible(&lcd)->text(QAccessible::Value), QStringLiteral("00:00,9"));
}

// The once-a-second rule holds only where an assistive technology listens, so it is checked
// with the platform's real accessibility bridge: in this program started again on a private X
// server with the AT-SPI bus. These run only there.
const char* const BusChild = "TARNELL_ACCESSIBILITY_BUS_CHILD";

bool bridgeIsActive() {
    return QTest::qWaitFor([] { return QAccessible::isActive(); }, 15000);
}

std::size_t nameChangesOf(const QObject* control) {
    std::size_t count = 0;
    for (QAccessible::Event type : UpdateRecorder::of(control))
        count += type == QAccessible::NameChanged ? 1 : 0;
    return count;
}

void changesAreToldAtMostOnceASecond() {
    ASSERT_TRUE(bridgeIsActive()) << "the accessibility bridge did not come up";
    UpdateRecorder recorder;
    QWidget window;
    TLCDLabel lcd(&window);
    lcd.setHint(QStringLiteral("Time elapsed"));
    QElapsedTimer sinceTold;
    sinceTold.start();
    EXPECT_EQ(UpdateRecorder::of(&lcd), std::vector<QAccessible::Event>{QAccessible::NameChanged})
        << "the first change is told at once";
    // A running clock: ten tenths within the second are told once, when it is over, and not
    // before: a timer that may fire early would tell them within the second.
    for (int tenth = 0; tenth < 10; ++tenth)
        lcd.setCaption(QStringLiteral("00:01,%1").arg(tenth));
    EXPECT_EQ(nameChangesOf(&lcd), 1u);
    EXPECT_TRUE(QTest::qWaitFor([&] { return nameChangesOf(&lcd) == 2; }, 5000))
        << "the last change was never told; changes seen: " << nameChangesOf(&lcd);
    EXPECT_GE(sinceTold.elapsed(), NameNoticeInterval - 2) << "told within the second";
    QTest::qWait(NameNoticeInterval + 200);
    EXPECT_EQ(nameChangesOf(&lcd), 2u) << "one notice for the whole second";
    EXPECT_EQ(accessible(&lcd)->text(QAccessible::Name), QStringLiteral("Time elapsed 00:01,9"));
    // An unchanged caption is no change.
    lcd.setCaption(QStringLiteral("00:01,9"));
    EXPECT_EQ(nameChangesOf(&lcd), 2u);
    // The clock stops within the second after a notice, as at the last fox: its final time is
    // told when the second is over.
    lcd.setCaption(QStringLiteral("00:02,9"));
    EXPECT_EQ(nameChangesOf(&lcd), 3u);
    lcd.setCaption(QStringLiteral("00:03,0"));
    EXPECT_TRUE(QTest::qWaitFor([&] { return nameChangesOf(&lcd) == 4; }, 5000))
        << "the final time was never told";
    EXPECT_EQ(accessible(&lcd)->text(QAccessible::Name), QStringLiteral("Time elapsed 00:03,0"));
}

// A change that comes just before the second is over, read by a clock that moves on while it
// is read: it is told as soon as the second is over, not a whole second after the change, and
// every later one is told too.
void aChangeAtTheEndOfTheSecondIsToldAndTheDisplayStaysHeard() {
    ASSERT_TRUE(bridgeIsActive()) << "the accessibility bridge did not come up";
    UpdateRecorder recorder;
    qint64 now = 0;
    // Each reading finds the clock 2 ms later: 999 ms, then 1001 ms.
    setNameNoticeClock([&now] { return std::exchange(now, now + 2); });
    struct RealClockAgain {
        ~RealClockAgain() { setNameNoticeClock({}); }
    } realClockAgain;
    QWidget window;
    TLCDLabel lcd(&window);
    lcd.setHint(QStringLiteral("Time elapsed"));
    ASSERT_EQ(nameChangesOf(&lcd), 1u);
    now = 999;
    QElapsedTimer waited;
    waited.start();
    lcd.setCaption(QStringLiteral("00:01,1"));
    EXPECT_TRUE(QTest::qWaitFor([&] { return nameChangesOf(&lcd) == 2; }, 3000))
        << "the change at the end of the second was never told";
    // 1 ms was left of the second; a wait of a whole second would leave the clock's final time
    // untold for up to two.
    EXPECT_LT(waited.elapsed(), NameNoticeInterval / 2) << "told a whole second late";
    now = 5000;
    lcd.setCaption(QStringLiteral("00:05,0"));
    EXPECT_EQ(nameChangesOf(&lcd), 3u) << "the display is no longer heard";
}

[[maybe_unused]] const bool onTheBus =
    testsupport::registerChildTest("AccessibleLcdOnTheBus", "ChangesAreToldAtMostOnceASecond",
                                   BusChild, &changesAreToldAtMostOnceASecond) &&
    testsupport::registerChildTest(
        "AccessibleLcdOnTheBus", "AChangeAtTheEndOfTheSecondIsToldAndTheDisplayStaysHeard",
        BusChild, &aChangeAtTheEndOfTheSecondIsToldAndTheDisplayStaysHeard);

TEST(AccessibleLcd, ChangesAreToldAtMostOnceASecondAndTheLastIsNeverLost) {
    const testsupport::ChildRun run =
        testsupport::runWithAccessibilityBus("AccessibleLcdOnTheBus", BusChild);
    if (run.skipped())
        GTEST_SKIP() << run.output.toStdString();
    EXPECT_TRUE(run.allPassed()) << "exit status " << run.exitCode << "\n"
                                 << run.output.toStdString();
}

TEST(AccessibleSideButtons, PressableButtonsNamedByTheirHints) {
    QWidget window;
    TMyAni ani(&window);
    ani.setToolTip(QStringLiteral("Solve a puzzle"));
    QAccessibleInterface* face = accessible(&ani);
    EXPECT_EQ(face->role(), QAccessible::Button);
    EXPECT_EQ(face->text(QAccessible::Name), QStringLiteral("Solve a puzzle"));
    ani.setToolTip(QStringLiteral("About"));
    EXPECT_EQ(face->text(QAccessible::Name), QStringLiteral("About"));

    // Pressing it does what a click with the mouse does: down, up, click, in that order.
    QStringList seen;
    QObject::connect(
        &ani, &TAnimatedImage::OnMouseDown,
        [&seen](Qt::MouseButton button, Qt::KeyboardModifiers, QPoint at) {
            seen << QStringLiteral("down %1 %2,%3").arg(int(button)).arg(at.x()).arg(at.y());
        });
    QObject::connect(&ani, &TAnimatedImage::OnMouseUp,
                     [&seen](Qt::MouseButton, Qt::KeyboardModifiers, QPoint) { seen << "up"; });
    QObject::connect(&ani, &TAnimatedImage::OnClick, [&seen] { seen << "click"; });
    ani.resize(32, 32);
    QAccessibleActionInterface* actions = face->actionInterface();
    ASSERT_NE(actions, nullptr);
    ASSERT_TRUE(actions->actionNames().contains(QAccessibleActionInterface::pressAction()));
    actions->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_EQ(seen, QStringList({QStringLiteral("down 1 15,15"), "up", "click"}));

    // A disabled one offers no press.
    ani.setEnabled(false);
    seen.clear();
    EXPECT_FALSE(actions->actionNames().contains(QAccessibleActionInterface::pressAction()));
    actions->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_TRUE(seen.isEmpty());
}

TEST(AccessibleSideButtons, PlainAnimationIsAnAnimationWithoutPress) {
    QWidget window;
    TAnimatedImage animation(&window);
    EXPECT_EQ(accessible(&animation)->role(), QAccessible::Animation);
    QAccessibleActionInterface* actions = accessible(&animation)->actionInterface();
    if (actions) {
        EXPECT_FALSE(actions->actionNames().contains(QAccessibleActionInterface::pressAction()));
    }
}

TEST(AccessibleLabels, ShadowLabelIsStaticTextNamedByItsCaption) {
    QWidget window;
    TShadowLabel label(QStringLiteral("Field size:"), platform::clAqua, &window);
    EXPECT_EQ(accessible(&label)->role(), QAccessible::StaticText);
    EXPECT_EQ(name(&label), QStringLiteral("Field size:"));
    label.setCaption(QStringLiteral("Foxes \nrevealed:"));
    EXPECT_EQ(name(&label), QStringLiteral("Foxes revealed:")) << "one line when read aloud";
    TShadowLabel twoLines(QStringLiteral("Time \nelapsed:"), platform::clLime, &window);
    EXPECT_EQ(name(&twoLines), QStringLiteral("Time elapsed:"));
}

} // namespace

} // namespace tarnell
