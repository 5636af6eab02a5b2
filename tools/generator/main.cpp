// tarnell-generator RESOURCES_FOLDER: draws every embedded image, synthesises both sounds
// and writes them to RESOURCES_FOLDER/res, with the contact sheet beside them.
#include "Generator.h"

#include <QGuiApplication>
#include <cstdio>
#include <exception>

using namespace tarnell;

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s RESOURCES_FOLDER\n", argv[0]);
        return 2;
    }
    // Drawing needs no display; fonts and painting work the same offscreen.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QString folder = QString::fromLocal8Bit(argv[1]);
    try {
        const auto files = generator::buildResourceFiles(generator::drawAllArt());
        generator::writeResourceFiles(folder, files);
        std::printf("wrote %zu files to %s\n", files.size(), qPrintable(folder));
    } catch (const std::exception& error) {
        std::fprintf(stderr, "tarnell-generator: %s\n", error.what());
        return 1;
    }
    return 0;
}
