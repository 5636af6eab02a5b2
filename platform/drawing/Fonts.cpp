#include "Fonts.h"

#include <QFontInfo>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QStringList>
#include <QtGlobal>

namespace tarnell::platform {

namespace {

// The faces that stand in for "MS Sans Serif" and the captions' system font, in order of
// preference: the first is metric-compatible with the windows' original face.
const char* const StandInFaces[] = {"Liberation Sans", "DejaVu Sans"};
const QString NamedFace = QStringLiteral("MS Sans Serif");
const QString CaptionFace = QStringLiteral("System");

// A family asked for by its exact name is matched in Qt's font database, which the
// application reads once anyway. A name that is not installed (like the named faces, which no
// Linux desktop has) makes Qt ask fontconfig to sort the whole font set for fallbacks, for
// each such name and size: on a desktop with thousands of faces that cost the start-up tens
// of milliseconds. So the named faces are never asked for while a stand-in is installed.
// Whether one is, the window font itself says: the face Qt loads for it (which the windows
// use next) has the name asked for. (QFontDatabase::hasFamily would first pass the name
// through fontconfig's whole configuration, which on a desktop costs as much as a sort.)
QFont sized(const QString& family, int pixelHeight, bool bold) {
    QFont font(family);
    font.setPixelSize(pixelHeight);
    font.setBold(bold);
    font.setStyleHint(QFont::SansSerif);
    return font;
}

QString resolveFamily() {
    for (const char* face : StandInFaces) {
        const QString family = QString::fromLatin1(face);
        if (QFontInfo(sized(family, 11, false)).family().compare(family, Qt::CaseInsensitive) ==
            0) {
            if (family != QLatin1String(StandInFaces[0]))
                qWarning("The font \"%s\" is not installed (Debian package fonts-liberation); "
                         "the windows' text is drawn in \"%s\" and may not fit.",
                         StandInFaces[0], face);
            return family;
        }
    }
    qWarning("Neither \"%s\" nor \"%s\" is installed (Debian packages fonts-liberation, "
             "fonts-dejavu-core); the windows' text is drawn in the desktop's sans-serif font "
             "and may not fit.",
             StandInFaces[0], StandInFaces[1]);
    // As before there was a stand-in of our own: the named faces, substituted by the
    // desktop's sans-serif face (or whatever fontconfig finds for them).
    const QStringList fallbacks{QStringLiteral("Sans Serif")};
    QFont::insertSubstitutions(NamedFace, fallbacks);
    QFont::insertSubstitutions(CaptionFace, fallbacks);
    return NamedFace;
}

} // namespace

void resolveProgramFaces() {
    (void)programFaceFamily();
}

QString programFaceFamily() {
    static const QString family = resolveFamily();
    return family;
}

QFont programFontPixels(int pixelHeight, bool bold) {
    return sized(programFaceFamily(), pixelHeight, bold);
}

QFont programFont(bool bold) {
    return programFontPixels(11, bold);
}

QFont captionFont() {
    return programFontPixels(13, true);
}

void resolveDesktopFont() {
    (void)QFontMetrics(QGuiApplication::font()).height();
}

} // namespace tarnell::platform
