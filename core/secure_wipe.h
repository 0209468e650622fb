// Overwriting key material in a way the optimiser has to keep: stores into an object
// that is about to die (or a buffer about to be freed) are otherwise dead and may go.
#pragma once

#include <cstddef>
#include <string>
#include <utility>

// Sets `count` bytes at `data` to `value` through volatile stores.
inline void SecureFill(void* data, std::size_t count, unsigned char value) {
  volatile unsigned char* p = static_cast<volatile unsigned char*>(data);
  for (std::size_t i = 0; i < count; ++i) p[i] = value;
#if defined(__GNUC__) || defined(__clang__)
  // Tells the compiler the memory is read afterwards, so the stores stay in place.
  __asm__ __volatile__("" : : "r"(data) : "memory");
#endif
}

inline void SecureZero(void* data, std::size_t count) { SecureFill(data, count, 0); }

// A typed or unsealed text that is wiped when it goes, however it goes.
struct Secret {
  std::string text;
  Secret() = default;
  // A short text moves by copying its bytes: what is left in `plain` is wiped too.
  explicit Secret(std::string&& plain) : text(std::move(plain)) {
    SecureZero(plain.data(), plain.capacity());
  }
  // Moving leaves nothing behind either: a short text is copied, and its old place wiped.
  Secret(Secret&& other) noexcept : text(std::move(other.text)) {
    SecureZero(other.text.data(), other.text.capacity());
  }
  ~Secret() { SecureZero(text.data(), text.capacity()); }
  Secret(const Secret&) = delete;
  Secret& operator=(const Secret&) = delete;
  Secret& operator=(Secret&&) = delete;
};
