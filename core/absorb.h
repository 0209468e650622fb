// Absorbing an unexpected failure where the program is meant to go on without the step.
//
// Plain failures come back as results (a status, an empty optional) and are handled by
// the caller. An exception is for the unexpected; most of them reach the toolkit's
// handler guard and are shown. Where a step is allowed to fail silently (a cosmetic
// read, a clean-up on the way out, a value that falls back to its default), it runs
// through Absorb, so every such place reads the same and says what it falls back to:
//
//   Absorb([&] { layer.DeleteKey(path); });                    // true: ran through
//   const auto values = Absorb(std::vector<Value>{}, [&] { return layer.Values(); });
//   if (!Absorb([&] { check(); })) ReportRegistryError(context);
//
// Error is what is absorbed: by default the registry's unexpected error; std::exception
// where unsealing a damaged value may fail too; Anything where nothing may escape (a
// destructor, one check of the scan). Whatever Error does not cover passes through.
#pragma once

#include <exception>
#include <string>
#include <type_traits>
#include <utility>

#include "platform/registry.h"
#include "platform/system.h"

// Error type for Absorb that stands for whatever is thrown.
struct Anything {};

// Runs `work` and gives its result, or `fallback` when it threw Error.
template <typename Error = platform::RegistryError, typename T, typename Work>
T Absorb(T fallback, Work&& work) {
  if constexpr (std::is_same_v<Error, Anything>) {
    try {
      return std::forward<Work>(work)();
    } catch (...) {
      return fallback;
    }
  } else {
    try {
      return std::forward<Work>(work)();
    } catch (const Error&) {
      return fallback;
    }
  }
}

// Runs `work`; true when it returned, false when it threw Error.
template <typename Error = platform::RegistryError, typename Work>
bool Absorb(Work&& work) {
  return Absorb<Error>(false, [&] {
    std::forward<Work>(work)();
    return true;
  });
}

// As Absorb<Error>, noting what it absorbed under `where` in the trace (the exception's
// message, or "unknown error"); what the player sees stays the caller's to decide.
template <typename Error = Anything, typename Work>
bool AbsorbNoted(platform::Trace& trace, const char* where, Work&& work) {
  auto note = [&](const char* what) { trace.Note(std::string(where) + ": " + what); };
  if constexpr (std::is_same_v<Error, Anything>) {
    try {
      std::forward<Work>(work)();
      return true;
    } catch (const std::exception& error) {
      note(error.what());
    } catch (...) {
      note("unknown error");
    }
  } else {
    static_assert(std::is_base_of_v<std::exception, Error>);
    try {
      std::forward<Work>(work)();
      return true;
    } catch (const Error& error) {
      note(error.what());
    }
  }
  return false;
}
