#include "Fonts.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QStringList>
#include <QThread>
#include <QtGlobal>
#include <fontconfig/fontconfig.h>

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

// Whether the process's font configuration holds only the stand-in families' faces.
bool onlyProgramFaces = false;

// Whether a font file is among the faces of the process's font configuration.
bool inProcessFaces(const QString& file) {
    FcPattern* pattern = FcPatternCreate();
    FcPatternAddString(pattern, FC_FILE,
                       reinterpret_cast<const FcChar8*>(file.toUtf8().constData()));
    FcObjectSet* objects = FcObjectSetBuild(FC_FILE, nullptr);
    FcFontSet* found = FcFontList(nullptr, pattern, objects);
    const bool in = found && found->nfont > 0;
    if (found)
        FcFontSetDestroy(found);
    FcObjectSetDestroy(objects);
    FcPatternDestroy(pattern);
    return in;
}

} // namespace

bool useOnlyProgramFaces() {
    // The desktop's configuration files as fontconfig would read them (FONTCONFIG_FILE and
    // the user's own included), with one rule more: every face is rejected but those of the
    // stand-in families. The faces' descriptions come from fontconfig's caches, as always.
    FcConfig* config = FcInitLoadConfig();
    if (!config)
        return false;
    QByteArray selection = "<?xml version=\"1.0\"?><fontconfig><selectfont><rejectfont><pattern/>"
                           "</rejectfont><acceptfont>";
    for (const char* face : StandInFaces)
        selection += QByteArray("<pattern><patelt name=\"family\"><string>") + face +
                     "</string></patelt></pattern>";
    selection += "</acceptfont></selectfont></fontconfig>";
    bool kept = FcConfigParseAndLoadFromMemory(
                    config, reinterpret_cast<const FcChar8*>(selection.constData()), FcFalse) &&
                FcConfigBuildFonts(config);
    const FcFontSet* faces = kept ? FcConfigGetFonts(config, FcSetSystem) : nullptr;
    kept = faces && faces->nfont > 0 && FcConfigSetCurrent(config);
    // The current configuration holds a reference of its own.
    FcConfigDestroy(config);
    onlyProgramFaces = kept;
    return kept;
}

QString wholeSetFaceMissingFor(const QString& family) {
    if (!onlyProgramFaces)
        return {};
    FcConfig* whole = FcInitLoadConfigAndFonts();
    if (!whole)
        return {};
    QString file;
    FcPattern* pattern = FcPatternCreate();
    FcPatternAddString(pattern, FC_FAMILY,
                       reinterpret_cast<const FcChar8*>(family.toUtf8().constData()));
    FcConfigSubstitute(whole, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result = FcResultNoMatch;
    if (FcPattern* match = FcFontMatch(whole, pattern, &result)) {
        FcChar8* path = nullptr;
        if (FcPatternGetString(match, FC_FILE, 0, &path) == FcResultMatch)
            file = QString::fromUtf8(reinterpret_cast<const char*>(path));
        FcPatternDestroy(match);
    }
    FcPatternDestroy(pattern);
    FcConfigDestroy(whole);
    return file.isEmpty() || inProcessFaces(file) ? QString() : file;
}

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

namespace {

// Finds the desktop's own face in the whole set on a thread of its own (reading the whole set
// costs tens of milliseconds), then, back on the user-interface thread, adds it and finds the
// desktop's font. Qt then finds the name among the process's faces as it found it in the
// whole set: the face that set ranks first for it ranks first among any of its faces. Owned
// by the application, which waits for it at its end.
class DesktopFaceFinder : public QThread {
public:
    explicit DesktopFaceFinder(const QString& family)
        : QThread(QCoreApplication::instance()), family_(family) {
        connect(this, &QThread::finished, this, [this] {
            if (!found_.isEmpty())
                QFontDatabase::addApplicationFont(found_);
            (void)QFontMetrics(QGuiApplication::font()).height();
            deleteLater();
        });
        start(QThread::LowPriority);
    }
    ~DesktopFaceFinder() override { wait(); }

protected:
    void run() override { found_ = wholeSetFaceMissingFor(family_); }

private:
    const QString family_;
    QString found_;
};

} // namespace

void resolveDesktopFont() {
    if (onlyProgramFaces)
        new DesktopFaceFinder(QGuiApplication::font().family());
    else
        (void)QFontMetrics(QGuiApplication::font()).height();
}

} // namespace tarnell::platform
