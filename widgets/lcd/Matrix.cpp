#include "Matrix.h"

#include "MatrixTables.h"

#include <algorithm>
#include <cstring>

namespace tarnell {

namespace {

int clampCode(const TCharSetShape& shape, int code) {
    return std::clamp(code, shape.FirstCode, shape.LastCode);
}

std::span<const uint8_t> glyphOf(std::span<const uint8_t> table, int index, int glyphBytes) {
    return table.subspan(static_cast<size_t>(index) * static_cast<size_t>(glyphBytes),
                         static_cast<size_t>(glyphBytes));
}

int32_t readInt32LE(std::span<const uint8_t> bytes, size_t at) {
    const uint32_t value = uint32_t{bytes[at]} | (uint32_t{bytes[at + 1]} << 8) |
                           (uint32_t{bytes[at + 2]} << 16) | (uint32_t{bytes[at + 3]} << 24);
    return static_cast<int32_t>(value);
}

void appendInt32LE(std::vector<uint8_t>& bytes, int32_t value) {
    const auto bits = static_cast<uint32_t>(value);
    for (int shift = 0; shift < 32; shift += 8)
        bytes.push_back(static_cast<uint8_t>(bits >> shift));
}

} // namespace

TCharSetShape builtInShape(TDotMatrix set) {
    switch (set) {
    case mat5x8:
        return {5, 8, 32, 126};
    case mat7x9:
        return {7, 9, 32, 126};
    case mat9x12:
        return {9, 12, 32, 126};
    case Hitachi:
        return {5, 7, 32, 223};
    case Hitachi2:
        return {5, 10, 32, 223};
    case dos5x7:
        return {5, 7, 0, 255};
    case mat5x7:
    case CustomFont:
        break;
    }
    return {5, 7, 32, 126};
}

std::span<const uint8_t> builtInTable(TDotMatrix set) {
    switch (set) {
    case mat5x7:
        return matrixtables::Mat5x7;
    case mat5x8:
        return matrixtables::Mat5x8;
    case mat7x9:
        return matrixtables::Mat7x9;
    case mat9x12:
        return matrixtables::Mat9x12;
    case Hitachi:
        return matrixtables::HitachiTable;
    case Hitachi2:
        return matrixtables::Hitachi2Table;
    case dos5x7:
        return matrixtables::Dos5x7;
    case CustomFont:
        break;
    }
    return {};
}

void copyBuiltInGlyph(TDotMatrix set, int code, std::span<uint8_t> out) {
    if (set == CustomFont)
        set = mat5x7;
    const TCharSetShape shape = builtInShape(set);
    code = clampCode(shape, code);
    const int bytes = shape.glyphBytes();
    if (set == Hitachi2 && code < Hitachi2OwnFirstCode) {
        // The taller cell shows the 5 x 7 glyph in its top rows and leaves the rest unlit.
        const TCharSetShape small = builtInShape(Hitachi);
        const auto glyph =
            glyphOf(matrixtables::HitachiTable, code - small.FirstCode, small.glyphBytes());
        std::copy(glyph.begin(), glyph.end(), out.begin());
        std::fill(out.begin() + small.glyphBytes(), out.begin() + bytes, uint8_t{0});
        return;
    }
    const int first = set == Hitachi2 ? Hitachi2OwnFirstCode : shape.FirstCode;
    const auto glyph = glyphOf(builtInTable(set), code - first, bytes);
    std::copy(glyph.begin(), glyph.end(), out.begin());
}

std::vector<uint8_t> builtInGlyph(TDotMatrix set, int code) {
    std::vector<uint8_t> glyph(
        static_cast<size_t>(builtInShape(set == CustomFont ? mat5x7 : set).glyphBytes()));
    copyBuiltInGlyph(set, code, glyph);
    return glyph;
}

std::string parseCustomCharSet(std::span<const uint8_t> bytes, TCustomCharSet& out) {
    if (bytes.size() < CustomHeaderBytes)
        return "the file holds " + std::to_string(bytes.size()) +
               " bytes, fewer than its 16-byte header";
    TCharSetShape shape;
    shape.CellColumns = readInt32LE(bytes, 0);
    shape.CellRows = readInt32LE(bytes, 4);
    shape.FirstCode = readInt32LE(bytes, 8);
    shape.LastCode = readInt32LE(bytes, 12);
    if (shape.CellColumns < 1 || shape.CellColumns > MaxCustomCellDots || shape.CellRows < 1 ||
        shape.CellRows > MaxCustomCellDots)
        return "its cell of " + std::to_string(shape.CellColumns) + " x " +
               std::to_string(shape.CellRows) + " dots is outside 1 x 1 to " +
               std::to_string(MaxCustomCellDots) + " x " + std::to_string(MaxCustomCellDots);
    if (shape.FirstCode < 0 || shape.LastCode > 255 || shape.FirstCode > shape.LastCode)
        return "its codes " + std::to_string(shape.FirstCode) + " to " +
               std::to_string(shape.LastCode) + " are not a range within 0 to 255";
    const size_t glyphBytes = static_cast<size_t>(shape.glyphBytes());
    const size_t glyphCount = static_cast<size_t>(shape.LastCode - shape.FirstCode + 1);
    const size_t available = (bytes.size() - CustomHeaderBytes) / glyphBytes;
    if (available < glyphCount)
        return "the file ends after " + std::to_string(available) + " of its " +
               std::to_string(glyphCount) + " glyphs";

    TCustomCharSet parsed;
    parsed.Shape = shape;
    for (auto& glyph : parsed.Glyphs)
        glyph.assign(glyphBytes, uint8_t{1});
    auto source = bytes.subspan(CustomHeaderBytes);
    for (int code = shape.FirstCode; code <= shape.LastCode; ++code) {
        const auto glyph = glyphOf(source, code - shape.FirstCode, shape.glyphBytes());
        std::copy(glyph.begin(), glyph.end(), parsed.Glyphs[static_cast<size_t>(code)].begin());
    }
    out = std::move(parsed);
    return {};
}

std::vector<uint8_t> customCharSetBytes(const TCustomCharSet& set) {
    const TCharSetShape& shape = set.Shape;
    std::vector<uint8_t> bytes;
    appendInt32LE(bytes, shape.CellColumns);
    appendInt32LE(bytes, shape.CellRows);
    appendInt32LE(bytes, shape.FirstCode);
    appendInt32LE(bytes, shape.LastCode);
    const size_t glyphBytes = static_cast<size_t>(shape.glyphBytes());
    for (int code = shape.FirstCode; code <= shape.LastCode; ++code) {
        const auto& glyph = set.Glyphs[static_cast<size_t>(code)];
        for (size_t i = 0; i < glyphBytes; ++i)
            bytes.push_back(i < glyph.size() ? glyph[i] : uint8_t{1});
    }
    return bytes;
}

} // namespace tarnell
