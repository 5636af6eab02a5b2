// lcdfont: review tool for the LCD label's character sets.
//   lcdfont print <set>           the set as text art, eight glyphs a band, '#' lit
//   lcdfont sheet <set> <file>    every glyph of the set on one image, at 4x
//   lcdfont demo <file>           the main window's displays and a few other looks
//   lcdfont export <set> <file>   the set as a custom character-set file
#include "widgets/lcd/LCD_Lab.h"
#include "widgets/lcd/Matrix.h"

#include <QApplication>
#include <QFile>
#include <QPainter>
#include <cstdio>
#include <iostream>
#include <map>
#include <string>

namespace tarnell {

namespace {

const std::map<std::string, TDotMatrix> Sets = {
    {"mat5x7", mat5x7},   {"mat5x8", mat5x8},     {"mat7x9", mat7x9}, {"mat9x12", mat9x12},
    {"Hitachi", Hitachi}, {"Hitachi2", Hitachi2}, {"dos5x7", dos5x7}};

int usage() {
    std::cerr << "usage: lcdfont print <set> | sheet <set> <file.png> | demo <file.png> | "
                 "export <set> <file>\n  sets: mat5x7 mat5x8 mat7x9 mat9x12 Hitachi Hitachi2 "
                 "dos5x7\n";
    return 2;
}

std::string codeLabel(int code) {
    if (code > 32 && code < 127)
        return std::string(1, static_cast<char>(code));
    return std::to_string(code);
}

void print(TDotMatrix set) {
    const TCharSetShape shape = builtInShape(set);
    for (int band = shape.FirstCode; band <= shape.LastCode; band += 8) {
        const int last = std::min(band + 7, shape.LastCode);
        std::cout << "; " << band << "-" << last << ":";
        for (int code = band; code <= last; ++code)
            std::cout << " " << codeLabel(code);
        std::cout << "\n";
        for (int row = 0; row < shape.CellRows; ++row) {
            for (int code = band; code <= last; ++code) {
                const auto glyph = builtInGlyph(set, code);
                for (int column = 0; column < shape.CellColumns; ++column)
                    std::cout << (glyph[static_cast<size_t>(row * shape.CellColumns + column)]
                                      ? '#'
                                      : '.');
                std::cout << (code < last ? " " : "\n");
            }
        }
    }
}

QImage sheet(TDotMatrix set) {
    const TCharSetShape shape = builtInShape(set);
    TLCDLabel label;
    label.setDotMatrix(set);
    label.setBorderStyle(frNone);
    label.setBackGround(platform::rgb(16, 24, 16));
    label.setPixelOn(platform::clLime);
    label.setPixelOff(platform::rgb(0, 56, 0));
    label.setPixelShape(spShaped);
    label.setPixelSize(pix3x3);
    label.setNoOfChars(16);
    label.setTextLines((shape.LastCode - shape.FirstCode + 16) / 16);
    QString text;
    for (int code = shape.FirstCode; code <= shape.LastCode; ++code)
        text += QChar(code == 0 ? 0x20 : code); // a zero would end the text; 0 is blank anyway
    label.setCaption(text);
    return label.renderImage().copy(0, 0, label.width(), label.height());
}

QImage demo() {
    struct Display {
        int chars;
        QString caption;
        platform::TColor on;
        platform::TColor off;
    };
    const std::vector<Display> displays = {
        {7, "00:00,0", platform::clLime, platform::rgb(0, 72, 0)},
        {7, "12:34,5", platform::clLime, platform::rgb(0, 72, 0)},
        {7, "67:89,0", platform::clLime, platform::rgb(0, 72, 0)},
        {2, "08", platform::clAqua, platform::rgb(72, 0, 0)},
        {2, "05", platform::clAqua, platform::rgb(72, 0, 0)},
        {2, "10", platform::clYellow, platform::rgb(0, 72, 72)},
        {2, "7", platform::clAqua, platform::rgb(72, 0, 0)},
    };
    QImage canvas(480, 200, QImage::Format_RGB32);
    canvas.fill(QColor(148, 148, 148));
    QPainter painter(&canvas);
    int x = 8;
    for (const Display& d : displays) {
        TLCDLabel label;
        label.setPixelSize(pix1x1);
        label.setPixelShape(spShaped);
        label.setPixelSpacing(1);
        label.setCharSpacing(2);
        label.setLineSpacing(1);
        label.setBorderSpace(2);
        label.setTextLines(1);
        label.setNoOfChars(d.chars);
        label.setBorderStyle(frNone);
        label.setBackGround(platform::clBlack);
        label.setPixelOn(d.on);
        label.setPixelOff(d.off);
        label.setCaption(d.caption);
        painter.drawImage(x, 8, label.renderImage(), 0, 0, label.width(), label.height());
        x += label.width() + 8;
    }
    // The default look, and a few shapes and sets at larger dots.
    int y = 40;
    const std::vector<std::tuple<TDotMatrix, TPixelShape, TPixelSize, QString>> looks = {
        {mat5x7, spSquare, pix2x2, "Tarnell 5x7"},
        {mat7x9, spShaped, pix2x2, "Fox 7x9 gjpq"},
        {mat9x12, spRound, pix2x2, "Den 9x12 Qy"},
        {Hitachi2, spShaped, pix2x2,
         QString("Hitachi2 ") + QChar(194) + QChar(195) + QChar(196) + QChar(197) + QChar(198)},
    };
    for (const auto& [set, shape, size, text] : looks) {
        TLCDLabel label;
        label.setDotMatrix(set);
        label.setPixelShape(shape);
        label.setPixelSize(size);
        label.setNoOfChars(static_cast<int>(text.size()));
        if (set != mat5x7) {
            label.setBackGround(platform::clBlack);
            label.setPixelOn(platform::clLime);
            label.setPixelOff(platform::rgb(0, 56, 0));
        }
        label.setCaption(text);
        painter.drawImage(8, y, label.renderImage(), 0, 0, label.width(), label.height());
        y += label.height() + 6;
    }
    painter.end();
    // At 4x the single-pixel dots of the main window's displays can be told apart.
    return canvas.scaled(canvas.size() * 4, Qt::IgnoreAspectRatio, Qt::FastTransformation);
}

} // namespace

} // namespace tarnell

using namespace tarnell;

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 3)
        return usage();
    const std::string command = args[1].toStdString();
    if (command == "demo")
        return demo().save(args[2]) ? 0 : 1;
    const auto found = Sets.find(args[2].toStdString());
    if (found == Sets.end())
        return usage();
    const TDotMatrix set = found->second;
    if (command == "print") {
        print(set);
        return 0;
    }
    if (args.size() < 4)
        return usage();
    if (command == "sheet") {
        const QImage image = sheet(set);
        return image.scaled(image.size() * 2).save(args[3]) ? 0 : 1;
    }
    if (command == "export") {
        TCustomCharSet custom;
        custom.Shape = builtInShape(set);
        for (int code = custom.Shape.FirstCode; code <= custom.Shape.LastCode; ++code) {
            auto glyph = builtInGlyph(set, code);
            for (auto& dot : glyph)
                dot = dot ? 0 : 1; // the file's dots are the other way round
            custom.Glyphs[static_cast<size_t>(code)] = std::move(glyph);
        }
        const auto bytes = customCharSetBytes(custom);
        QFile file(args[3]);
        if (!file.open(QIODevice::WriteOnly) ||
            file.write(reinterpret_cast<const char*>(bytes.data()),
                       static_cast<qint64>(bytes.size())) != static_cast<qint64>(bytes.size())) {
            std::cerr << "lcdfont: cannot write " << args[3].toStdString() << ": "
                      << file.errorString().toStdString() << "\n";
            return 1;
        }
        return 0;
    }
    return usage();
}
