// The generator's whole output: every image and sound file of resources/res and the contact
// sheet, built in memory (so it can be compared byte for byte) and written to a folder.
#pragma once

#include "Art.h"

#include <QByteArray>
#include <QString>
#include <vector>

namespace tarnell::generator {

// The images of one Draw* function, titled for the contact sheet.
struct ArtGroup {
    QString title;
    std::vector<GeneratedImage> images;
};

// One output file, its path relative to the resources folder ("res/PLATE.bmp").
struct ResourceFile {
    QString path;
    QByteArray bytes;
};

// Draws everything, in the fixed order field, skin (with MAINICON), buttons, window.
std::vector<ArtGroup> drawAllArt();
// Encodes the art and the sounds into their files, and the contact sheet of the stored
// images. Throws std::runtime_error when an image cannot be stored at its depth or a
// name appears twice.
std::vector<ResourceFile> buildResourceFiles(const std::vector<ArtGroup>& art);
// Writes the files under resourcesFolder, creating folders as needed, and removes image and
// sound files of res/ that the generator no longer makes. Throws std::runtime_error naming
// the file that could not be written.
void writeResourceFiles(const QString& resourcesFolder, const std::vector<ResourceFile>& files);

} // namespace tarnell::generator
