#include "devices/KeyboardLayout.h"

#include <cstddef>

namespace koru::keyboard {

// Column by column, each from the top row down; 170 marks an empty place.
const std::array<uint8_t, kGridColumns * kGridRows> kLayoutGrid = {
    170, 120, 121, 122, 123, 124,  //
    170, 21,  42,  63,  84,  105,  //
    0,   22,  43,  64,  102, 106,  //
    1,   23,  44,  65,  85,  20,   //
    2,   24,  45,  66,  86,  107,  //
    3,   25,  46,  67,  87,  126,  //
    4,   26,  47,  68,  88,  127,  //
    18,  27,  48,  69,  89,  108,  //
    5,   28,  49,  70,  90,  128,  //
    6,   29,  50,  71,  91,  129,  //
    7,   30,  51,  72,  92,  109,  //
    8,   31,  52,  73,  93,  125,  //
    9,   32,  53,  74,  94,  110,  //
    10,  33,  54,  62,  100, 111,  //
    11,  34,  55,  75,  19,  130,  //
    12,  101, 103, 79,  95,  112,  //
    56,  36,  37,  58,  80,  113,  //
    14,  35,  57,  83,  96,  114,  //
    15,  13,  82,  17,  81,  115,  //
    170, 38,  59,  76,  97,  116,  //
    170, 39,  60,  77,  98,  104,  //
    170, 40,  61,  78,  99,  117,  //
    170, 41,  16,  119, 118, 131,  //
};

uint8_t KeyAt(int column, int row) {
  if (column < 0 || column >= kGridColumns || row < 0 || row >= kGridRows) return kFirstNoKey;
  const uint8_t key = kLayoutGrid[static_cast<std::size_t>(column * kGridRows + row)];
  return key < kFirstNoKey ? key : kFirstNoKey;
}

}  // namespace koru::keyboard
