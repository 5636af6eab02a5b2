// The windows' faces: every size and weight the windows use is drawn in the installed
// stand-in face of that weight, and the process's own font set holds those faces whole.
#include "platform/drawing/Fonts.h"
#include "tests/support/TestSupport.h"

#include <QFile>
#include <QFontInfo>
#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <fontconfig/fontconfig.h>
#include <gtest/gtest.h>
#include <set>
#include <string>

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

// What a player sees: each window font is the stand-in's own face of its weight (not one
// made bold by the renderer), and its text looks like neither the other stand-in's nor the
// other weight's at the same size.
TEST(ProgramFaces, EveryWindowFontIsTheInstalledStandInAtItsPixelSize) {
    // The test machines install fonts-liberation (scripts/install-deps.sh).
    EXPECT_EQ(platform::programFaceFamily(), QStringLiteral("Liberation Sans"));
    for (const UsedFont& used : usedFonts()) {
        SCOPED_TRACE(used.what);
        const QFontInfo shown(used.font);
        EXPECT_EQ(shown.family(), QStringLiteral("Liberation Sans"));
        EXPECT_EQ(shown.styleName().toStdString(), used.bold ? "Bold" : "Regular");
        EXPECT_EQ(shown.pixelSize(), used.pixelSize);
        EXPECT_EQ(shown.bold(), used.bold);
        EXPECT_FALSE(shown.italic());
        QFont otherFace = used.font;
        otherFace.setFamily(QStringLiteral("DejaVu Sans"));
        QFont otherWeight = used.font;
        otherWeight.setBold(!used.bold);
        EXPECT_FALSE(drawn(used.font) == drawn(otherFace));
        EXPECT_FALSE(drawn(used.font) == drawn(otherWeight));
    }
}

// The process's own font configuration holds the stand-in families' faces, every weight and
// slant of them that the whole set has, and nothing else.
TEST(ProgramFaces, TheProcessFontSetIsTheStandInFamiliesWhole) {
    const auto files = [](FcConfig* config) {
        FcPattern* all = FcPatternCreate();
        FcObjectSet* objects = FcObjectSetBuild(FC_FILE, FC_FAMILY, nullptr);
        FcFontSet* faces = FcFontList(config, all, objects);
        std::set<std::string> found;
        for (int i = 0; i < faces->nfont; ++i) {
            FcChar8 *file = nullptr, *family = nullptr;
            bool standIn = false;
            for (int k = 0;
                 FcPatternGetString(faces->fonts[i], FC_FAMILY, k, &family) == FcResultMatch; ++k)
                standIn = standIn ||
                          std::string(reinterpret_cast<const char*>(family)) == "Liberation Sans" ||
                          std::string(reinterpret_cast<const char*>(family)) == "DejaVu Sans";
            FcPatternGetString(faces->fonts[i], FC_FILE, 0, &file);
            if (config || standIn)
                found.insert(reinterpret_cast<const char*>(file));
        }
        FcFontSetDestroy(faces);
        FcObjectSetDestroy(objects);
        FcPatternDestroy(all);
        return found;
    };
    FcConfig* whole = FcConfigReference(nullptr);
    ASSERT_TRUE(platform::useOnlyProgramFaces());
    FcConfig* own = FcConfigReference(nullptr);
    FcConfigSetCurrent(whole);
    const std::set<std::string> standIns = files(nullptr);
    EXPECT_EQ(files(own), standIns);
    EXPECT_GE(standIns.size(), 8u); // Liberation Sans's four and DejaVu Sans's
    FcConfigDestroy(own);
    FcConfigDestroy(whole);
}

// Message boxes are drawn in the desktop's own font: where that face is none of the process's,
// it is the one the whole set ranks first for the name. A desktop whose sans-serif face is
// DejaVu Serif; then this machine's, whose is DejaVu Sans.
TEST(ProgramFaces, TheDesktopsOwnFaceIsFoundInTheWholeSet) {
    FcConfig* whole = FcConfigReference(nullptr);
    QFile configuration(testsupport::scratchHome() + QStringLiteral("/serif-desktop.conf"));
    ASSERT_TRUE(configuration.open(QIODevice::WriteOnly));
    configuration.write("<?xml version=\"1.0\"?><fontconfig><alias binding=\"strong\"><family>"
                        "Sans Serif</family><prefer><family>DejaVu Serif</family></prefer></alias>"
                        "<include>/etc/fonts/fonts.conf</include></fontconfig>");
    configuration.close();
    qputenv("FONTCONFIG_FILE", configuration.fileName().toUtf8());
    ASSERT_TRUE(platform::useOnlyProgramFaces());
    EXPECT_TRUE(platform::wholeSetFaceMissingFor(QStringLiteral("Sans Serif"))
                    .endsWith(QStringLiteral("/DejaVuSerif.ttf")));
    qunsetenv("FONTCONFIG_FILE");
    ASSERT_TRUE(platform::useOnlyProgramFaces());
    EXPECT_EQ(platform::wholeSetFaceMissingFor(QStringLiteral("Sans Serif")), QString());
    FcConfigSetCurrent(whole);
    FcConfigDestroy(whole);
}

} // namespace

} // namespace tarnell
