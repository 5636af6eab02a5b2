// Writes the program's icon as PNG files for the desktop's icon theme: one file per size,
// each image pixel enlarged to a sharp square block (the icon is pixel art).
#include "platform/Resources.h"

#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <cstdio>

using namespace tarnell;

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    if (argc < 4) {
        std::fprintf(stderr, "usage: %s OUTPUT_DIR APP_ID SIZE...\n", argv[0]);
        return 2;
    }
    const QString outputDir = QString::fromLocal8Bit(argv[1]);
    const QString appId = QString::fromLocal8Bit(argv[2]);
    const QImage icon = platform::loadIcon(QStringLiteral("MAINICON"), 32);
    if (icon.isNull()) {
        std::fprintf(stderr, "the embedded icon MAINICON is missing\n");
        return 1;
    }
    for (int i = 3; i < argc; ++i) {
        const int size = QString::fromLocal8Bit(argv[i]).toInt();
        if (size <= 0) {
            std::fprintf(stderr, "not an icon size: %s\n", argv[i]);
            return 2;
        }
        const QImage scaled =
            icon.scaled(size, size, Qt::IgnoreAspectRatio,
                        size >= 32 ? Qt::FastTransformation : Qt::SmoothTransformation);
        const QString dir = QStringLiteral("%1/%2").arg(outputDir).arg(size);
        const QString file = QStringLiteral("%1/%2.png").arg(dir, appId);
        if (!QDir().mkpath(dir) || !scaled.save(file, "PNG")) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(file));
            return 1;
        }
    }
    return 0;
}
