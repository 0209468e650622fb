// Small system services: the volume serial number, the application-wide cursor,
// randomness and the trace.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace platform {

class Volume {
 public:
  virtual ~Volume() = default;
  // The volume serial number of the root directory "C:\", or nullopt if the system
  // cannot tell it.
  virtual std::optional<std::uint32_t> SystemSerial() = 0;
};

// Cursor shapes, named and numbered as the toolkit the program was first written for names
// and numbers them.
enum class CursorShape : int {
  crDefault = 0,
  crCross = -3,
  crHourGlass = -11,
  crHandPoint = -21,
};
using enum CursorShape;

class Cursor {
 public:
  virtual ~Cursor() = default;
  // Sets the application-wide mouse cursor; it stays until set again.
  virtual void Set(CursorShape shape) = 0;
  virtual CursorShape Current() const = 0;
};

class Random {
 public:
  virtual ~Random() = default;
  // A uniformly drawn integer x with 0 <= x < bound (bound > 0).
  virtual std::uint32_t Below(std::uint32_t bound) = 0;
};

// Where the program notes the cause of a failure it absorbs and goes on without, for
// whoever looks into a fault later: the player sees only what the program shows. Under
// Windows the debugger's output (OutputDebugString). Never fails, never blocks.
class Trace {
 public:
  virtual ~Trace() = default;
  virtual void Note(const std::string& line) = 0;
};

}  // namespace platform
