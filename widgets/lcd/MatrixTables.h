// The built-in glyph tables of the LCD label's character sets (1 = lit dot), shared
// between the units that define them and the lookup in Matrix.cpp.
#pragma once

#include <array>
#include <cstdint>

namespace tarnell::matrixtables {

extern const std::array<uint8_t, 95 * 5 * 7> Mat5x7;
extern const std::array<uint8_t, 95 * 5 * 8> Mat5x8;
extern const std::array<uint8_t, 95 * 7 * 9> Mat7x9;
extern const std::array<uint8_t, 95 * 9 * 12> Mat9x12;
extern const std::array<uint8_t, 192 * 5 * 7> HitachiTable;
extern const std::array<uint8_t, 30 * 5 * 10> Hitachi2Table;
extern const std::array<uint8_t, 256 * 5 * 7> Dos5x7;

} // namespace tarnell::matrixtables
