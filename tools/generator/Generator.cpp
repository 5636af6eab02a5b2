#include "Generator.h"

#include "BmpWriter.h"
#include "ContactSheet.h"
#include "Preview.h"
#include "Sounds.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <set>
#include <stdexcept>

namespace tarnell::generator {

namespace {

const QString IconName = QStringLiteral("MAINICON");

QImage decoded(const QByteArray& bytes, const char* format, const QString& name) {
    QImage image = QImage::fromData(bytes, format);
    if (image.isNull())
        throw std::runtime_error("the stored " + name.toStdString() + " does not load back");
    return image;
}

QByteArray encodePng(const QImage& image) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!image.save(&buffer, "PNG"))
        throw std::runtime_error("cannot encode the contact sheet as PNG");
    return bytes;
}

// The stored pictures put together as the program shows them; what cannot be put
// together yet (a picture missing) is left out.
SheetGroup previews(const ImagesByName& stored) {
    SheetGroup group{QStringLiteral("Previews"), {}};
    auto add = [&group](const QString& name, const QImage& image, int scale) {
        if (!image.isNull())
            group.entries.push_back({name, image, 0, scale});
    };
    const QImage board = previewBoard(stored);
    add(QStringLiteral("10 x 10 board"), board, 1);
    add(QStringLiteral("10 x 10 board"), board, 2);
    const QImage dialog = previewFrame(stored, 357, 271, QStringLiteral("Donation"), true);
    add(QStringLiteral("active frame, 357 x 271"), dialog, 1);
    add(QStringLiteral("inactive frame, 427 x 127"),
        previewFrame(stored, 427, 127, QStringLiteral("Confirmation"), false), 1);
    if (!dialog.isNull()) {
        add(QStringLiteral("frame, upper-left corner"), dialog.copy(0, 0, 120, 70), 4);
        add(QStringLiteral("frame, upper-right corner"), dialog.copy(357 - 90, 0, 90, 50), 4);
        add(QStringLiteral("frame, lower corners"), dialog.copy(0, 271 - 24, 357, 24), 4);
    }
    return group;
}

} // namespace

std::vector<ArtGroup> drawAllArt() {
    std::vector<ArtGroup> groups;
    groups.push_back({QStringLiteral("Field"), DrawFieldArt()});
    ArtGroup skin{QStringLiteral("Window skin"), DrawSkinArt()};
    skin.images.push_back({IconName, DrawMainIcon(), 4});
    groups.push_back(std::move(skin));
    groups.push_back({QStringLiteral("Push-button faces"), DrawButtonArt()});
    groups.push_back({QStringLiteral("Images of one window"), DrawWindowArt()});
    return groups;
}

std::vector<ResourceFile> buildResourceFiles(const std::vector<ArtGroup>& art) {
    std::vector<ResourceFile> files;
    std::vector<SheetGroup> sheet;
    std::set<QString> names;
    ImagesByName stored;
    for (const ArtGroup& group : art) {
        SheetGroup sheetGroup{group.title, {}};
        for (const GeneratedImage& item : group.images) {
            if (!names.insert(item.name).second)
                throw std::runtime_error("the image name " + item.name.toStdString() +
                                         " is drawn twice");
            try {
                const bool icon = item.name == IconName;
                const QByteArray bytes =
                    icon ? encodeIco4(item.image) : encodeBmp(item.image, item.bitsPerPixel);
                files.push_back(
                    {QStringLiteral("res/%1.%2").arg(item.name, icon ? "ico" : "bmp"), bytes});
                // The sheet shows what the program will load, not what was drawn.
                const QImage loaded = decoded(bytes, icon ? "ICO" : "BMP", item.name);
                stored[item.name] = loaded;
                sheetGroup.entries.push_back({item.name, loaded, item.bitsPerPixel});
            } catch (const std::runtime_error& error) {
                throw std::runtime_error(item.name.toStdString() + ": " + error.what());
            }
        }
        sheet.push_back(std::move(sheetGroup));
    }
    sheet.push_back(previews(stored));
    files.push_back({QStringLiteral("res/WAVE/CLICK.wav"), synthesiseClick()});
    files.push_back({QStringLiteral("res/WAVE/TADA.wav"), synthesiseTada()});
    files.push_back({QStringLiteral("contact-sheet.png"), encodePng(drawContactSheet(sheet))});
    return files;
}

void writeResourceFiles(const QString& resourcesFolder, const std::vector<ResourceFile>& files) {
    const QDir root(resourcesFolder);
    std::set<QString> written;
    for (const ResourceFile& file : files) {
        const QString path = root.filePath(file.path);
        if (!QDir().mkpath(QFileInfo(path).absolutePath()))
            throw std::runtime_error("cannot create the folder of " + path.toStdString());
        QSaveFile out(path);
        if (!out.open(QIODevice::WriteOnly) || out.write(file.bytes) != file.bytes.size() ||
            !out.commit())
            throw std::runtime_error("cannot write " + path.toStdString() + ": " +
                                     out.errorString().toStdString());
        written.insert(QFileInfo(path).absoluteFilePath());
    }
    // Files of images or sounds that are no longer drawn would otherwise stay embedded.
    for (const QString& folder : {QStringLiteral("res"), QStringLiteral("res/WAVE")}) {
        const QDir dir(root.filePath(folder));
        const QStringList stale = dir.entryList({"*.bmp", "*.ico", "*.wav"}, QDir::Files);
        for (const QString& name : stale) {
            const QString path = QFileInfo(dir.filePath(name)).absoluteFilePath();
            if (!written.contains(path) && !QFile::remove(path))
                throw std::runtime_error("cannot remove the stale file " + path.toStdString());
        }
    }
}

} // namespace tarnell::generator
