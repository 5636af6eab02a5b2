// The main window under test: scripted random numbers and time of day (which also keeps the
// beat of its timer), a counter in place of the CLICK sound, and a clean settings store and
// working directory for every test.
#pragma once

#include "mainwindow/FieldArea.h"
#include "mainwindow/FormParts.h"
#include "mainwindow/mainform.h"
#include "tests/support/FieldGeometry.h"
#include "tests/support/PlateColours.h"
#include "tests/support/ScriptedSources.h"
#include "tests/support/TestSupport.h"
#include "widgets/MyAni.h"
#include "widgets/ShadowLabel.h"
#include "widgets/buttons/buts2.h"
#include "widgets/buttons/buts5.h"
#include "widgets/lcd/LCD_Lab.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QSettings>
#include <QTest>
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <stdexcept>
#include <tuple>
#include <utility>
#include <vector>

namespace tarnell::mainformtest {

using testsupport::Cell;

// The settings file the window reads and writes.
inline QString settingsPath() {
    return QSettings(QStringLiteral("Morvane"), QStringLiteral("Tarnell")).fileName();
}

using testsupport::cellCentre;

// A control's name, whose prefix tells its class as the design names them.
template <std::size_t N> struct ControlName {
    constexpr ControlName(const char (&name)[N]) { std::copy_n(name, N, text); } // NOLINT
    char text[N];
};
template <ControlName Name> consteval std::size_t classIndex() {
    constexpr std::string_view prefixes[] = {"LCDLabel", "RxLabel",  "mybitbutn5", "mybitbutn",
                                             "MyAni",    "JvgCheck", "PaintBox",   "Notebook",
                                             "Timer",    "RxGIF",    "RzBmp",      "Bevel"};
    for (std::size_t i = 0; i < std::size(prefixes); ++i)
        if (std::string_view(Name.text).starts_with(prefixes[i]))
            return i + 1;
    return 0;
}
using ControlClasses =
    std::tuple<QWidget, TLCDLabel, TShadowLabel, Tmybitbutn5, Tmybitbutn, TMyAni, TGlyphCheckBox,
               TFieldArea, QStackedWidget, QTimer, TAnimatedImage, TImagelessButton, TBevel>;

// The one control of `form` with that name, as a user's tools find it; a test that looks for a
// control that is missing, named twice or of another class fails with the name it looked for.
template <ControlName Name> auto* control(const QObject& form) {
    using Class = std::tuple_element_t<classIndex<Name>(), ControlClasses>;
    const QList<Class*> found = form.findChildren<Class*>(QLatin1String(Name.text));
    if (found.size() != 1)
        throw std::runtime_error("not one control named " + std::string(Name.text));
    return found.front();
}

class MainForm : public ::testing::Test {
protected:
    void SetUp() override {
        QFile::remove(settingsPath());
        QFile::remove(QDir::current().filePath(QStringLiteral("h_fame.dat")));
        testsupport::clearMessages();
    }
    void TearDown() override {
        window_.reset();
        QFile::remove(settingsPath());
    }

    // Creates the window after the test has prepared the store.
    Tmainform_form& open() {
        TMainFormSources sources;
        sources.random = &random_;
        sources.clock = &clock_;
        sources.playClick = [this] { ++clicks_; };
        sources.applicationActive = [this] {
            return programActive_ && QGuiApplication::applicationState() == Qt::ApplicationActive;
        };
        // Timer1 keeps its beat by the scripted time, so a test knows where the beat falls.
        sources.steadyMilliseconds = [this] {
            return static_cast<int64_t>(std::llround(clock_.now_ * MillisecondsPerDay));
        };
        window_ = makeWindow_ ? makeWindow_(std::move(sources))
                              : std::make_unique<Tmainform_form>(std::move(sources));
        return *window_;
    }
    // Shows the window and waits until it is the active window.
    Tmainform_form& openActive() {
        open();
        window_->show();
        window_->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(window_.get()));
        return *window_;
    }

    static void store(const QString& name, const QVariant& value) {
        QSettings settings(QStringLiteral("Morvane"), QStringLiteral("Tarnell"));
        settings.setValue(name, value);
        settings.sync();
    }
    static QVariant stored(const QString& name) {
        QSettings settings(QStringLiteral("Morvane"), QStringLiteral("Tarnell"));
        return settings.value(name);
    }

    // The next puzzle gets its foxes on exactly these cells.
    void hideFoxesAt(const std::vector<Cell>& foxes) {
        std::vector<int> numbers;
        for (const auto& [row, col] : foxes) {
            numbers.push_back(row - 1);
            numbers.push_back(col - 1);
        }
        random_.Script(numbers);
    }
    void clickCell(int row, int col) {
        const QPoint at = cellCentre(row, col);
        window_->PaintBox3MouseUp(Qt::LeftButton, at.x(), at.y());
    }
    // The window's control of that name (see control).
    template <ControlName Name> auto* ui() const { return control<Name>(*window_); }
    // A pixel of the last frame of the field.
    QColor fieldPixel(QPoint at) const {
        return testsupport::pixel(ui<"PaintBox3">()->renderer().backBuffer(), at.x(), at.y());
    }

    testsupport::ScriptedRandom random_;
    testsupport::ScriptedClock clock_;
    int clicks_ = 0;
    bool programActive_ = true; // false: as if another program had the keyboard
    std::unique_ptr<Tmainform_form> window_;
    // Makes the window in place of a plain one (a test's own subclass), where set.
    std::function<std::unique_ptr<Tmainform_form>(TMainFormSources)> makeWindow_;
};

// The plates' colours, told apart by hue and lightness (their faces carry a gloss).
inline bool isGreenPlate(const QColor& c) {
    return testsupport::isPlainPlate(c.rgb());
}
inline bool isAmberPlate(const QColor& c) {
    return testsupport::isHighlightedPlate(c.rgb());
}
inline bool isCyanPlate(const QColor& c) {
    return testsupport::isCurrentPlate(c.rgb());
}
inline bool isGrey(const QColor& c) {
    return c.red() == c.green() && c.green() == c.blue();
}

} // namespace tarnell::mainformtest
