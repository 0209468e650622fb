// The small value types the seam's services share: window handles, screen points,
// rectangles and colours. Kept apart so a service that needs only these does not pull
// in the whole window toolkit.
#pragma once

#include <cstdint>

namespace platform {

using WindowHandle = std::uintptr_t;  // 0: no window

// Colours as 0x00BBGGRR, so 255 is pure red.
using Color = std::uint32_t;
namespace colors {
inline constexpr Color Black = 0x000000;
inline constexpr Color Red = 0x0000FF;
inline constexpr Color Yellow = 0x00FFFF;
inline constexpr Color White = 0xFFFFFF;
inline constexpr Color Blue = 0xFF0000;
inline constexpr Color Green = 0x008000;
inline constexpr Color Window = 0xFFFFFFFE;  // the system's own colour for the control
}  // namespace colors

struct Point {
  int x = 0;
  int y = 0;
};

struct Bounds {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
};

}  // namespace platform
