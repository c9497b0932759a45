#pragma once
// Where the keyboard's keys stand, for effects that move across the board:
// a grid of 23 columns by 6 rows of key indexes, row 0 at the top.
#include <array>
#include <cstdint>

namespace koru::keyboard {

inline constexpr int kGridColumns = 23;
inline constexpr int kGridRows = 6;
// Grid entries of this or more hold no key.
inline constexpr uint8_t kFirstNoKey = 126;

// Entry column × kGridRows + row.
extern const std::array<uint8_t, kGridColumns * kGridRows> kLayoutGrid;

// The key at a place of the grid, or kFirstNoKey when the place is empty.
uint8_t KeyAt(int column, int row);

}  // namespace koru::keyboard
