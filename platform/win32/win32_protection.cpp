#include "platform/win32/win32_protection.h"

#include <windows.h>
#include <wincrypt.h>

#include <string>

namespace platform::win32 {

namespace {

using ProtectCall = BOOL(WINAPI*)(DATA_BLOB*, LPCWSTR, DATA_BLOB*, PVOID, PVOID, DWORD, DATA_BLOB*);
using UnprotectCall = BOOL(WINAPI*)(DATA_BLOB*, LPWSTR*, DATA_BLOB*, PVOID, PVOID, DWORD,
                                    DATA_BLOB*);

struct Crypt32 {
  ProtectCall protect = nullptr;
  UnprotectCall unprotect = nullptr;
};

const Crypt32& Library() {
  static const Crypt32 Loaded = [] {
    Crypt32 loaded;
    HMODULE module = LoadLibraryExW(L"crypt32.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    if (!module) return loaded;
    loaded.protect = reinterpret_cast<ProtectCall>(
        reinterpret_cast<void*>(GetProcAddress(module, "CryptProtectData")));
    loaded.unprotect = reinterpret_cast<UnprotectCall>(
        reinterpret_cast<void*>(GetProcAddress(module, "CryptUnprotectData")));
    return loaded;
  }();
  return Loaded;
}

DATA_BLOB BlobOf(std::string_view bytes) {
  return DATA_BLOB{static_cast<DWORD>(bytes.size()),
                   reinterpret_cast<BYTE*>(const_cast<char*>(bytes.data()))};
}

// The system's output, copied out and its buffer wiped and freed.
std::string Take(DATA_BLOB& out) {
  std::string bytes(reinterpret_cast<const char*>(out.pbData), out.cbData);
  SecureZeroMemory(out.pbData, out.cbData);
  LocalFree(out.pbData);
  return bytes;
}

}  // namespace

std::optional<std::string> Win32UserProtection::Protect(std::string_view plain,
                                                        std::string_view entropy) {
  const Crypt32& crypt32 = Library();
  if (!crypt32.protect) return std::nullopt;
  DATA_BLOB in = BlobOf(plain), extra = BlobOf(entropy), out{};
  if (!crypt32.protect(&in, L"", &extra, nullptr, nullptr, CRYPTPROTECT_UI_FORBIDDEN, &out))
    return std::nullopt;
  return Take(out);
}

std::optional<std::string> Win32UserProtection::Unprotect(std::string_view blob,
                                                          std::string_view entropy) {
  const Crypt32& crypt32 = Library();
  if (!crypt32.unprotect) return std::nullopt;
  DATA_BLOB in = BlobOf(blob), extra = BlobOf(entropy), out{};
  if (!crypt32.unprotect(&in, nullptr, &extra, nullptr, nullptr, CRYPTPROTECT_UI_FORBIDDEN, &out))
    return std::nullopt;
  return Take(out);
}

}  // namespace platform::win32
