#include "SkinBitmaps.h"

#include "platform/Resources.h"

#include <QDebug>
#include <QStringList>

namespace tarnell::skin {

namespace {

QImage loadEmbedded(const QString& name) {
    if (name == QLatin1String("MAINICON"))
        return platform::loadIcon(name, LargeIconSize);
    return platform::loadBitmap(name);
}

SkinImageLoader& currentLoader() {
    static SkinImageLoader loader;
    return loader;
}

QImage loadImage(const QString& name) {
    const SkinImageLoader& loader = currentLoader();
    return loader ? loader(name) : loadEmbedded(name);
}

QImage loadSkinBitmap(const char* name) {
    QImage image = loadImage(QLatin1String(name));
    if (!image.isNull() && image.format() != QImage::Format_RGB32)
        image = image.convertToFormat(QImage::Format_RGB32);
    return image;
}

} // namespace

SkinImageLoader setSkinImageLoader(SkinImageLoader loader) {
    SkinImageLoader previous = std::move(currentLoader());
    currentLoader() = std::move(loader);
    return previous;
}

SkinBitmaps SkinBitmaps::load() {
    SkinBitmaps bitmaps;
    bitmaps.C_UL = loadSkinBitmap("C_UL");
    bitmaps.TOP = loadSkinBitmap("TOP");
    bitmaps.TOP_D = loadSkinBitmap("TOP_D");
    bitmaps.LEF = loadSkinBitmap("LEF");
    bitmaps.RIG = loadSkinBitmap("RIG");
    bitmaps.BOT = loadSkinBitmap("BOT");
    bitmaps.MASK = loadSkinBitmap("MASK");
    bitmaps.I_MIN = loadSkinBitmap("I_MIN");
    bitmaps.I_MIND = loadSkinBitmap("I_MIND");
    bitmaps.I_MAX = loadSkinBitmap("I_MAX");
    bitmaps.I_MAXD = loadSkinBitmap("I_MAXD");
    bitmaps.I_CLO = loadSkinBitmap("I_CLO");
    bitmaps.I_CLOD = loadSkinBitmap("I_CLOD");
    bitmaps.MAINICON = loadImage(QStringLiteral("MAINICON"));
    // The skin has no error path of its own: a missing piece is left unpainted.
    if (const QStringList missing = bitmaps.missing(); !missing.isEmpty())
        qWarning("Skin images missing from the program: %s", qPrintable(missing.join(", ")));
    return bitmaps;
}

QStringList SkinBitmaps::missing() const {
    const std::pair<const char*, const QImage*> all[] = {
        {"C_UL", &C_UL},     {"TOP", &TOP},          {"TOP_D", &TOP_D},   {"LEF", &LEF},
        {"RIG", &RIG},       {"BOT", &BOT},          {"MASK", &MASK},     {"I_MIN", &I_MIN},
        {"I_MIND", &I_MIND}, {"I_MAX", &I_MAX},      {"I_MAXD", &I_MAXD}, {"I_CLO", &I_CLO},
        {"I_CLOD", &I_CLOD}, {"MAINICON", &MAINICON}};
    QStringList names;
    for (const auto& [name, image] : all)
        if (image->isNull())
            names << QLatin1String(name);
    return names;
}

} // namespace tarnell::skin
