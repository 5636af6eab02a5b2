// The character sets of the LCD label: the built-in glyph tables with their cell sizes and
// code ranges, and the reader of custom character-set files.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace tarnell {

enum TDotMatrix { mat5x7, mat5x8, mat7x9, mat9x12, Hitachi, Hitachi2, dos5x7, CustomFont };

// Dots per character cell and the character codes a set can show.
struct TCharSetShape {
    int CellColumns = 5;
    int CellRows = 7;
    int FirstCode = 32;
    int LastCode = 126;
    int glyphBytes() const { return CellColumns * CellRows; }
};

// The shape of a built-in set; CustomFont has none of its own and gets mat5x7's.
TCharSetShape builtInShape(TDotMatrix set);

// The constant table a built-in set owns: one glyph per code in code order, each glyph
// CellRows rows of CellColumns bytes, top row first; 1 is a lit dot, 0 an unlit one.
// Hitachi2 owns only the glyphs of its codes from Hitachi2OwnFirstCode on; CustomFont
// owns none.
std::span<const uint8_t> builtInTable(TDotMatrix set);
constexpr int Hitachi2OwnFirstCode = 194;

// The glyph of a code in a built-in set (1 = lit). A code outside the set's range shows the
// nearest end of the range, as the label does. Returns glyphBytes() bytes.
std::vector<uint8_t> builtInGlyph(TDotMatrix set, int code);
// The same into a caller's buffer of at least glyphBytes() bytes, for the paint loop.
void copyBuiltInGlyph(TDotMatrix set, int code, std::span<uint8_t> out);

// A custom character set as its file holds it: 256 glyph buffers, one per code, in the
// file's own dot values (0 = lit, any other byte unlit). Codes the file does not cover
// are blank (all 1).
struct TCustomCharSet {
    TCharSetShape Shape;
    std::array<std::vector<uint8_t>, 256> Glyphs;
};

// The largest cell a custom file may declare, across and down.
constexpr int MaxCustomCellDots = 64;
constexpr int CustomHeaderBytes = 16;

// Parses the bytes of a custom character-set file: four little-endian signed 32-bit
// integers (cell columns, cell rows, first code, last code), then one glyph per code.
// The header is checked before anything is allocated. Returns an empty string and fills
// out on success; otherwise says what is wrong and leaves out untouched.
std::string parseCustomCharSet(std::span<const uint8_t> bytes, TCustomCharSet& out);
// The largest file parseCustomCharSet can need; readers never have to read more.
constexpr int64_t MaxCustomCharSetFileBytes =
    CustomHeaderBytes + int64_t{256} * MaxCustomCellDots * MaxCustomCellDots;
// The bytes of a custom character-set file holding the codes first to last of set.
std::vector<uint8_t> customCharSetBytes(const TCustomCharSet& set);

} // namespace tarnell
