// Arbitrary bytes as an LCD label's custom character-set file: the reader either refuses
// them with a reason and leaves its output alone, or gives a set whose every glyph has the
// declared cell; the label loads the file or keeps the set it had, and still paints.
#include "fuzz/FuzzSupport.h"
#include "platform/MessageBox.h"
#include "widgets/lcd/LCD_Lab.h"
#include "widgets/lcd/Matrix.h"

#include <QDir>
#include <QFile>
#include <QStringList>
#include <algorithm>
#include <memory>

namespace tarnell {

namespace {

bool sameShape(const TCharSetShape& a, const TCharSetShape& b) {
    return a.CellColumns == b.CellColumns && a.CellRows == b.CellRows &&
           a.FirstCode == b.FirstCode && a.LastCode == b.LastCode;
}

// A small set the label holds before each input, so that a refused file can be seen to
// leave the previous custom set in place.
TCustomCharSet knownSet() {
    TCustomCharSet set;
    set.Shape = TCharSetShape{3, 4, 65, 70};
    for (auto& glyph : set.Glyphs)
        glyph.assign(12, 1);
    for (int code = 65; code <= 70; ++code)
        for (std::size_t dot = 0; dot < 12; ++dot)
            set.Glyphs[static_cast<std::size_t>(code)][dot] =
                static_cast<uint8_t>((code + dot) % 2);
    return set;
}

// Codes below, inside and above every range, so that every clamp is walked.
QString standardCaption() {
    QString caption;
    for (const int code : {1, 32, 65, 70, 126, 127, 200, 255, 66, 48, 90, 160})
        caption.append(QChar(code));
    return caption;
}

void writeFile(const QString& path, const char* data, qsizetype size) {
    QFile file(path);
    const bool opened = file.open(QIODevice::WriteOnly | QIODevice::Truncate);
    FUZZ_CHECK(opened);
    if (opened)
        FUZZ_CHECK(file.write(data, size) == size);
}

QString folder() {
    return QString::fromStdString(fuzzsupport::scratchFolder());
}

void checkParsed(std::span<const uint8_t> bytes) {
    TCustomCharSet parsed;
    parsed.Shape = TCharSetShape{-1, -1, -1, -1};
    const std::string reason = parseCustomCharSet(bytes, parsed);
    if (!reason.empty()) {
        // Refused: the output is untouched.
        FUZZ_CHECK(sameShape(parsed.Shape, TCharSetShape{-1, -1, -1, -1}));
        for (const auto& glyph : parsed.Glyphs)
            FUZZ_CHECK(glyph.empty());
        return;
    }
    const TCharSetShape& shape = parsed.Shape;
    FUZZ_CHECK(shape.CellColumns >= 1 && shape.CellColumns <= MaxCustomCellDots);
    FUZZ_CHECK(shape.CellRows >= 1 && shape.CellRows <= MaxCustomCellDots);
    FUZZ_CHECK(shape.FirstCode >= 0 && shape.FirstCode <= shape.LastCode && shape.LastCode <= 255);
    const std::size_t glyphBytes = static_cast<std::size_t>(shape.glyphBytes());
    FUZZ_CHECK(bytes.size() >=
               CustomHeaderBytes +
                   glyphBytes * static_cast<std::size_t>(shape.LastCode - shape.FirstCode + 1));
    for (int code = 0; code < 256; ++code) {
        const auto& glyph = parsed.Glyphs[static_cast<std::size_t>(code)];
        FUZZ_CHECK(glyph.size() == glyphBytes);
        // Codes the file does not cover are blank.
        if ((code < shape.FirstCode || code > shape.LastCode) && glyph.size() == glyphBytes)
            FUZZ_CHECK(
                std::all_of(glyph.begin(), glyph.end(), [](uint8_t dot) { return dot == 1; }));
    }
    // The set written out again reads back the same, and is the file's own leading bytes.
    const std::vector<uint8_t> written = customCharSetBytes(parsed);
    FUZZ_CHECK(written.size() <= bytes.size() &&
               std::equal(written.begin(), written.end(), bytes.begin()));
    TCustomCharSet again;
    FUZZ_CHECK(parseCustomCharSet(written, again).empty());
    FUZZ_CHECK(sameShape(again.Shape, shape) && again.Glyphs == parsed.Glyphs);
}

void checkLabel(std::span<const uint8_t> bytes) {
    static const QString knownPath = folder() + QStringLiteral("/known.lcd");
    static const QString fuzzPath = folder() + QStringLiteral("/input.lcd");
    static std::unique_ptr<TLCDLabel> label;
    if (!label) {
        const std::vector<uint8_t> known = customCharSetBytes(knownSet());
        writeFile(knownPath, reinterpret_cast<const char*>(known.data()),
                  static_cast<qsizetype>(known.size()));
        label = std::make_unique<TLCDLabel>();
        label->setNoOfChars(6);
        label->setTextLines(2);
    }
    QStringList messages;
    const platform::MessageHandler previous = platform::setMessageHandler(
        [&messages](const QString&, const QString& text) { messages.append(text); });

    // The same start for every input: a built-in set, then the known custom set.
    label->setCaption(standardCaption());
    label->setDotMatrix(mat5x7);
    label->setFilename(knownPath);
    FUZZ_CHECK(label->DotMatrix() == CustomFont && label->loadError().isEmpty());
    FUZZ_CHECK(sameShape(label->charSetShape(), knownSet().Shape));
    messages.clear();

    writeFile(fuzzPath, reinterpret_cast<const char*>(bytes.data()),
              static_cast<qsizetype>(bytes.size()));
    label->setFilename(fuzzPath);
    TCustomCharSet parsed;
    const bool valid = parseCustomCharSet(bytes, parsed).empty();
    FUZZ_CHECK(label->DotMatrix() == CustomFont);
    if (valid) {
        FUZZ_CHECK(label->loadError().isEmpty() && messages.isEmpty());
        FUZZ_CHECK(sameShape(label->charSetShape(), parsed.Shape));
    } else {
        // Refused with a reason naming the file, shown once; the known set stays.
        FUZZ_CHECK(label->loadError().contains(fuzzPath));
        FUZZ_CHECK(messages.size() == 1 && messages.front() == label->loadError());
        FUZZ_CHECK(sameShape(label->charSetShape(), knownSet().Shape));
    }
    // Still usable: its size is bounded and it paints at that size.
    FUZZ_CHECK(label->width() >= 1 && label->width() <= TLCDLabel::MaxExtent);
    FUZZ_CHECK(label->height() >= 1 && label->height() <= TLCDLabel::MaxExtent);
    const QImage image = label->renderImage();
    FUZZ_CHECK(!image.isNull() && image.size() == label->size() + QSize(2, 2));
    label->setCaption(QStringLiteral("Tarnell"));
    FUZZ_CHECK(!label->renderImage().isNull());

    platform::setMessageHandler(previous);
}

} // namespace

} // namespace tarnell

using namespace tarnell;

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzzsupport::startApplication(true);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const uint8_t> bytes(data, size);
    checkParsed(bytes);
    checkLabel(bytes);
    return 0;
}
