// The transparent yellow caption the program's black windows use.
#pragma once

#include "platform/toolkit.h"

inline platform::LabelSpec YellowLabel(platform::Bounds bounds, const char* caption) {
  platform::LabelSpec spec;
  spec.bounds = bounds;
  spec.caption = caption;
  spec.font.color = platform::colors::Yellow;
  spec.transparent = true;
  return spec;
}
