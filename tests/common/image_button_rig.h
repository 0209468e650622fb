// One image button on a shown form, driven the way the pointer would drive it, so the
// same cases run on the in-memory and the Win32 backend. Each test tier makes its own.
#pragma once

#include <memory>

#include "platform/toolkit.h"

class ImageButtonRig {
 public:
  virtual ~ImageButtonRig() = default;
  virtual platform::ImageButton& Button() = 0;
  // The pointer at a client point of the button.
  virtual void MoveTo(platform::Point client) = 0;
  virtual void Leave() = 0;
  // The left button pressed and released where the pointer last was.
  virtual void Press() = 0;
  virtual void Release() = 0;
};

// The button's pictures are named "up", "down" and "over"; `onClick` is its click.
std::unique_ptr<ImageButtonRig> MakeImageButtonRig(platform::Action onClick);
