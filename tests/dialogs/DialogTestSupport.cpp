#include "DialogTestSupport.h"

#include "platform/Resources.h"
#include "tests/support/TestSupport.h"
#include "widgets/ShadowLabel.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <cmath>
#include <cstring>
#include <gtest/gtest.h>

namespace tarnell::dialogtest {

void expectPlaces(const QWidget& window, const std::vector<Place>& places) {
    for (const Place& place : places) {
        SCOPED_TRACE(place.name);
        const auto* control = window.findChild<QWidget*>(QLatin1String(place.name));
        ASSERT_NE(control, nullptr);
        const QWidget* parent = control->parentWidget();
        if (QLatin1String(place.parent) == QLatin1String("window")) {
            EXPECT_EQ(parent, &window);
        } else {
            EXPECT_EQ(parent ? parent->objectName() : QString(), QLatin1String(place.parent));
        }
        EXPECT_EQ(control->pos(), place.rect.topLeft());
        if (place.rect.width() >= 0) {
            EXPECT_EQ(control->width(), place.rect.width());
        }
        if (place.rect.height() >= 0) {
            EXPECT_EQ(control->height(), place.rect.height());
        }
    }
}

void expectCentred(const QWidget& window) {
    const QRect usable = QGuiApplication::primaryScreen()->availableGeometry();
    ASSERT_GT(usable.width(), window.width());
    const QPoint expected = usable.topLeft() + QPoint((usable.width() - window.width()) / 2,
                                                      (usable.height() - window.height()) / 2);
    EXPECT_EQ(window.pos(), expected);
    EXPECT_EQ(window.frameGeometry().topLeft(), expected);
}

void expectLabels(const std::vector<LabelText>& labels) {
    for (const LabelText& expected : labels) {
        SCOPED_TRACE(expected.text);
        const TShadowLabel& label = *expected.label;
        EXPECT_EQ(label.Caption(), QString::fromLatin1(expected.text));
        EXPECT_EQ(label.FontColor(), expected.colour);
        EXPECT_TRUE(label.Transparent());
        EXPECT_TRUE(label.font().bold());
        EXPECT_EQ(label.font().pixelSize(), 11);
        EXPECT_EQ(label.ShadowColor(), platform::clBlack);
        EXPECT_EQ(label.ShadowPos(), spRightBottom);
        EXPECT_EQ(label.ShadowSize(), 1);
        EXPECT_EQ(label.size(), label.sizeHint());
    }
}

void expectPanelLook(const QImage& grab, QSize panelSize, QSize bevelSize) {
    const QColor panel(148, 148, 148);
    const QColor dark(128, 128, 128);
    const QColor white(255, 255, 255);
    const QPoint origin(48, 32);
    auto at = [&](int x, int y) {
        return testsupport::pixel(grab, origin.x() + x, origin.y() + y);
    };
    EXPECT_EQ(at(0, 0), panel);
    EXPECT_EQ(at(1, 1), panel);
    EXPECT_EQ(at(panelSize.width() - 1, panelSize.height() - 1), panel);

    const int bx = 2;
    const int by = 2;
    const int right = bx + bevelSize.width() - 1;
    const int bottom = by + bevelSize.height() - 1;
    // The dark outline covers bx .. right - 1, the white one bx + 1 .. right.
    for (const QPoint p :
         {QPoint(bx, by), QPoint(right - 1, by), QPoint(bx, bottom - 1),
          QPoint(right - 1, bottom - 1), QPoint(bx + 40, by), QPoint(bx, by + 20)}) {
        EXPECT_EQ(at(p.x(), p.y()), dark) << p.x() << "," << p.y();
    }
    for (const QPoint p : {QPoint(bx + 1, by + 1), QPoint(right, by + 1), QPoint(bx + 1, bottom),
                           QPoint(right, bottom), QPoint(bx + 40, by + 1), QPoint(right, by + 20),
                           QPoint(bx + 40, bottom)}) {
        EXPECT_EQ(at(p.x(), p.y()), white) << p.x() << "," << p.y();
    }
    for (const QPoint p : {QPoint(right, by), QPoint(bx, bottom), QPoint(right + 1, bottom + 1),
                           QPoint(right - 3, bottom - 3)}) {
        EXPECT_EQ(at(p.x(), p.y()), panel) << p.x() << "," << p.y();
    }

    // The picture: every pixel of its ground shows the panel, every other one the bitmap.
    const QImage mark = platform::loadBitmap(QStringLiteral("PIC_WARNING"));
    ASSERT_EQ(mark.size(), QSize(32, 32));
    const QRgb ground = mark.pixel(0, 31);
    int drawn = 0;
    for (int y = 0; y < 32; ++y) {
        for (int x = 0; x < 32; ++x) {
            const QColor expected = mark.pixel(x, y) == ground ? panel : QColor(mark.pixel(x, y));
            if (at(8 + x, 8 + y) != expected) {
                ADD_FAILURE() << "picture pixel " << x << "," << y;
                return;
            }
            drawn += mark.pixel(x, y) != ground;
        }
    }
    EXPECT_GT(drawn, 100);
}

QImage grabForReview(QWidget& window, const QString& name) {
    const QImage image = window.grab().toImage().convertToFormat(QImage::Format_RGB32);
    const QString folder = qEnvironmentVariable("TARNELL_DIALOG_GRABS");
    if (!folder.isEmpty()) {
        QDir().mkpath(folder);
        image.save(QDir(folder).filePath(name + QStringLiteral(".png")));
    }
    return image;
}

} // namespace tarnell::dialogtest
