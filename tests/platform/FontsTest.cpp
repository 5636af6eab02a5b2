// The windows' faces: every size and weight the windows use is drawn in the installed
// stand-in face, pixel for pixel as the named face drew when Qt found it through its
// substitution list, so that resolving the faces once changed nothing on the screen.
#include "platform/drawing/Fonts.h"

#include <QFontInfo>
#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <gtest/gtest.h>

namespace tarnell {

namespace {

// What the windows draw: the regular and bold window font, the about page's two heights,
// and the caption font.
struct UsedFont {
    const char* what;
    QFont font;
    int pixelSize;
    bool bold;
};

std::vector<UsedFont> usedFonts() {
    return {{"window font", platform::programFont(false), 11, false},
            {"bold window font", platform::programFont(true), 11, true},
            {"about page, 13 px", platform::programFontPixels(13, true), 13, true},
            {"about page, 21 px", platform::programFontPixels(21, true), 21, true},
            {"caption", platform::captionFont(), 13, true}};
}

// The named face as the windows asked for it before: "MS Sans Serif", with the stand-ins in
// Qt's substitution list, as a sans-serif face.
QFont namedFaceThroughSubstitution(int pixelSize, bool bold) {
    QFont::insertSubstitutions(QStringLiteral("MS Sans Serif"),
                               {QStringLiteral("Liberation Sans"), QStringLiteral("DejaVu Sans"),
                                QStringLiteral("Sans Serif")});
    QFont font(QStringLiteral("MS Sans Serif"));
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    font.setStyleHint(QFont::SansSerif);
    return font;
}

// Text with every kind of letter the windows show, in black on white, as the windows draw
// it (antialiased, the desktop's hinting).
QImage drawn(const QFont& font) {
    const QString text = QStringLiteral("Congradulations! 0123456789 :,. Generate Wg\u00e9\u00df");
    QImage image(420, 40, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setFont(font);
    painter.setPen(Qt::black);
    painter.drawText(2, 2 + QFontMetrics(font).ascent(), text);
    return image;
}

TEST(ProgramFaces, EveryWindowFontIsTheInstalledStandInAtItsPixelSize) {
    // The test machines install fonts-liberation (scripts/install-deps.sh).
    EXPECT_EQ(platform::programFaceFamily(), QStringLiteral("Liberation Sans"));
    for (const UsedFont& used : usedFonts()) {
        SCOPED_TRACE(used.what);
        const QFontInfo shown(used.font);
        EXPECT_EQ(shown.family(), QStringLiteral("Liberation Sans"));
        EXPECT_EQ(shown.pixelSize(), used.pixelSize);
        EXPECT_EQ(shown.bold(), used.bold);
        EXPECT_FALSE(shown.italic());
    }
}

TEST(ProgramFaces, TextIsDrawnPixelForPixelAsTheSubstitutedNamedFaceDrewIt) {
    for (const UsedFont& used : usedFonts()) {
        SCOPED_TRACE(used.what);
        const QFont before = namedFaceThroughSubstitution(used.pixelSize, used.bold);
        const QFontMetrics now(used.font);
        const QFontMetrics then(before);
        EXPECT_EQ(now.ascent(), then.ascent());
        EXPECT_EQ(now.height(), then.height());
        EXPECT_EQ(now.horizontalAdvance(QStringLiteral("This game hasn't finished yet.")),
                  then.horizontalAdvance(QStringLiteral("This game hasn't finished yet.")));
        EXPECT_TRUE(drawn(used.font) == drawn(before));
    }
}

} // namespace

} // namespace tarnell
