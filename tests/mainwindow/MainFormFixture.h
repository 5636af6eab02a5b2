// The main window under test: scripted random numbers and time of day, a counter in place of
// the CLICK sound, and a clean settings store and working directory for every test.
#pragma once

#include "mainwindow/FieldRenderer.h"
#include "mainwindow/FormParts.h"
#include "mainwindow/mainform.h"
#include "tests/support/FieldGeometry.h"
#include "tests/support/ScriptedSources.h"
#include "tests/support/TestSupport.h"
#include "widgets/MyAni.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QSettings>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>
#include <utility>
#include <vector>

namespace mainformtest {

using testsupport::Cell;

// The settings file the window reads and writes.
inline QString settingsPath() {
    return QSettings(QStringLiteral("Morvane"), QStringLiteral("Tarnell")).fileName();
}

using testsupport::cellCentre;

class MainForm : public ::testing::Test {
protected:
    void SetUp() override {
        QFile::remove(settingsPath());
        QFile::remove(QDir::current().filePath(QStringLiteral("h_fame.dat")));
        testsupport::clearMessages();
    }
    void TearDown() override {
        window.reset();
        QFile::remove(settingsPath());
    }

    // Creates the window after the test has prepared the store.
    Tmainform_form& open() {
        TMainFormSources sources;
        sources.random = &random;
        sources.clock = &clock;
        sources.playClick = [this](const platform::WaveSound&) { ++clicks; };
        sources.applicationActive = [this] {
            return programActive && QGuiApplication::applicationState() == Qt::ApplicationActive;
        };
        window = std::make_unique<Tmainform_form>(std::move(sources));
        return *window;
    }
    // Shows the window and waits until it is the active window.
    Tmainform_form& openActive() {
        open();
        window->show();
        window->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(window.get()));
        return *window;
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
        random.Script(numbers);
    }
    void clickCell(int row, int col) {
        const QPoint at = cellCentre(row, col);
        window->PaintBox3MouseUp(Qt::LeftButton, at.x(), at.y());
    }
    // A pixel of the last frame of the field.
    QColor fieldPixel(QPoint at) const {
        return testsupport::pixel(window->PaintBox3->renderer().backBuffer(), at.x(), at.y());
    }

    testsupport::ScriptedRandom random;
    testsupport::ScriptedClock clock;
    int clicks = 0;
    bool programActive = true; // false: as if another program had the keyboard
    std::unique_ptr<Tmainform_form> window;
};

// The plates' colours, told apart by hue (their faces carry a gloss).
inline bool isGreenPlate(const QColor& c) {
    return c.green() > 150 && c.red() < 100 && c.blue() < 100;
}
inline bool isAmberPlate(const QColor& c) {
    return c.red() > 180 && c.green() > 100 && c.green() < 220 && c.blue() < 80;
}
inline bool isCyanPlate(const QColor& c) {
    return c.green() > 150 && c.blue() > 150 && c.red() < 100;
}
inline bool isGrey(const QColor& c) {
    return c.red() == c.green() && c.green() == c.blue();
}

} // namespace mainformtest
