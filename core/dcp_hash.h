// Message digests. A hash is started, fed bytes and finished into a digest buffer;
// finishing clears its state, so one object can be started again.
#pragma once

#include <cstddef>
#include <memory>
#include <stdexcept>
#include <string>

class EDCP_hash : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

class TDCP_hash {
 public:
  TDCP_hash() = default;
  TDCP_hash(const TDCP_hash&) = delete;
  TDCP_hash& operator=(const TDCP_hash&) = delete;
  virtual ~TDCP_hash() = default;

  // The size of the digest in bits; the same for every object of the class.
  virtual std::size_t DigestBits() const = 0;
  // Clears any earlier state and begins a new message.
  virtual void Start() = 0;
  // Writes DigestBits() / 8 bytes to `digest` and clears the state.
  virtual void Finish(void* digest) = 0;
  // Destroys the state and clears the started flag.
  virtual void Wipe();
  virtual void AddBytes(const void* bytes, std::size_t count) = 0;

  // Adds the text's bytes: its length, no terminator.
  void AddText(const std::string& text);

  bool started() const { return started_; }

 protected:
  // Throws "Hash not initialized" unless started.
  void CheckStarted() const;
  bool started_ = false;
};

// A hash class as SetKeyFromPassphrase takes it: how to make an instance and the
// digest size every instance has.
struct TDCP_hashclass {
  std::unique_ptr<TDCP_hash> (*create)();
  std::size_t digestBits;
};

template <class Hash>
TDCP_hashclass HashClassOf() {
  return {[]() -> std::unique_ptr<TDCP_hash> { return std::make_unique<Hash>(); },
          Hash::DigestBitCount};
}
