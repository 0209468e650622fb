// The transparent yellow caption the program's black windows use.
#pragma once

#include "platform/toolkit.h"

inline platform::LabelSpec YellowLabel(platform::Bounds bounds, const char* caption) {
  return {.bounds = bounds,
          .caption = caption,
          .font = {.color = platform::colors::Yellow},
          .transparent = true};
}
