// Glyph tables written as text art: '#' is a lit dot, '.' an unlit one. The art is turned
// into the byte tables at compile time, so a mistake in a drawing fails the build.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace tarnell::matrixart {

// Art layout: bands of glyphs side by side, separated by one blank column; a band is as
// many lines as a glyph has rows. Empty lines and lines starting with ';' (the code labels
// of a band) are skipped. Glyphs are numbered in reading order.
template <int Columns, int Rows, int Count>
consteval std::array<uint8_t, static_cast<size_t>(Columns* Rows* Count)>
parseArt(std::string_view art) {
    std::array<uint8_t, static_cast<size_t>(Columns * Rows * Count)> table{};
    int firstOfBand = 0;
    int bandRow = 0;
    size_t bandGlyphs = 0;
    size_t pos = 0;
    while (pos < art.size()) {
        size_t end = art.find('\n', pos);
        if (end == std::string_view::npos)
            end = art.size();
        const std::string_view line = art.substr(pos, end - pos);
        pos = end + 1;
        if (line.empty() || line.front() == ';') {
            if (bandRow != 0)
                throw "a band of glyphs is cut short";
            continue;
        }
        const size_t stride = static_cast<size_t>(Columns) + 1;
        if ((line.size() + 1) % stride != 0)
            throw "a line of art does not hold whole glyphs";
        const size_t glyphsInLine = (line.size() + 1) / stride;
        if (bandRow == 0)
            bandGlyphs = glyphsInLine;
        else if (glyphsInLine != bandGlyphs)
            throw "the lines of a band differ in length";
        if (firstOfBand + static_cast<int>(glyphsInLine) > Count)
            throw "more glyphs than the table holds";
        for (size_t g = 0; g < glyphsInLine; ++g) {
            if (g + 1 < glyphsInLine && line[g * stride + static_cast<size_t>(Columns)] != ' ')
                throw "glyphs must be separated by one blank";
            for (int c = 0; c < Columns; ++c) {
                const char dot = line[g * stride + static_cast<size_t>(c)];
                if (dot != '#' && dot != '.')
                    throw "a dot must be '#' or '.'";
                const size_t index = (static_cast<size_t>(firstOfBand) + g) * Columns * Rows +
                                     static_cast<size_t>(bandRow) * Columns +
                                     static_cast<size_t>(c);
                table[index] = dot == '#' ? 1 : 0;
            }
        }
        if (++bandRow == Rows) {
            bandRow = 0;
            firstOfBand += static_cast<int>(bandGlyphs);
        }
    }
    if (bandRow != 0 || firstOfBand != Count)
        throw "the art does not hold exactly the table's glyphs";
    return table;
}

} // namespace tarnell::matrixart
