#include "Fonts.h"

#include <QStringList>

namespace tarnell::platform {

void installFontSubstitutions() {
    static bool done = false;
    if (done)
        return;
    done = true;
    const QStringList faces{QStringLiteral("Liberation Sans"), QStringLiteral("DejaVu Sans"),
                            QStringLiteral("Sans Serif")};
    QFont::insertSubstitutions(QStringLiteral("MS Sans Serif"), faces);
    QFont::insertSubstitutions(QStringLiteral("System"), faces);
}

QFont programFontPixels(int pixelHeight, bool bold) {
    installFontSubstitutions();
    QFont font(QStringLiteral("MS Sans Serif"));
    font.setPixelSize(pixelHeight);
    font.setBold(bold);
    font.setStyleHint(QFont::SansSerif);
    return font;
}

QFont programFont(bool bold) {
    return programFontPixels(11, bold);
}

QFont captionFont() {
    installFontSubstitutions();
    QFont font(QStringLiteral("System"));
    font.setPixelSize(13);
    font.setBold(true);
    font.setStyleHint(QFont::SansSerif);
    return font;
}

} // namespace tarnell::platform
