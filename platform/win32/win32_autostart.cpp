#include "platform/win32/win32_autostart.h"

#include <windows.h>
#include <shlobj.h>
#include <wincrypt.h>

#include <cstring>
#include <string>

#include "platform/unicode.h"

namespace platform::win32 {

namespace {

std::string Utf8Of(const wchar_t* text) {
  const std::size_t length = wcslen(text);
  std::u16string units(length, u'\0');
  std::memcpy(units.data(), text, length * sizeof(wchar_t));
  return Utf8FromUtf16(units);
}

bool IsDesktopIni(const wchar_t* name) { return _wcsicmp(name, L"desktop.ini") == 0; }

bool IsShortcut(const std::wstring& name) {
  return name.size() > 4 && _wcsicmp(name.c_str() + name.size() - 4, L".lnk") == 0;
}

// COM for the calling thread while it lives; balanced only where it was set up here.
class ComScope {
 public:
  ComScope() : ok_(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {}
  ~ComScope() {
    if (ok_) CoUninitialize();
  }
  ComScope(const ComScope&) = delete;
  ComScope& operator=(const ComScope&) = delete;

 private:
  bool ok_;
};

// What a shortcut starts: its target and, after a space, its arguments; "" when the
// link cannot be read.
std::string ShortcutTarget(const std::wstring& path) {
  IShellLinkW* link = nullptr;
  if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                              reinterpret_cast<void**>(&link))))
    return {};
  std::string target;
  IPersistFile* file = nullptr;
  if (SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
    wchar_t buffer[32768] = {};
    if (SUCCEEDED(file->Load(path.c_str(), STGM_READ)) &&
        SUCCEEDED(link->GetPath(buffer, 32767, nullptr, SLGP_RAWPATH))) {
      target = Utf8Of(buffer);
      buffer[0] = L'\0';
      if (SUCCEEDED(link->GetArguments(buffer, 32767)) && buffer[0]) target += " " + Utf8Of(buffer);
    }
    file->Release();
  }
  link->Release();
  return target;
}

}  // namespace

std::vector<StartupItem> Win32StartupFolders::Items(StartupFolder folder) {
  std::vector<StartupItem> items;
  wchar_t root[MAX_PATH] = {};
  const int which = folder == StartupFolder::User ? CSIDL_STARTUP : CSIDL_COMMON_STARTUP;
  if (FAILED(SHGetFolderPathW(nullptr, which, nullptr, SHGFP_TYPE_CURRENT, root))) return items;
  const std::wstring base = std::wstring(root) + L"\\";
  WIN32_FIND_DATAW found;
  HANDLE search = FindFirstFileW((base + L"*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return items;
  ComScope com;
  do {
    if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) || IsDesktopIni(found.cFileName))
      continue;
    const std::wstring path = base + found.cFileName;
    items.push_back({Utf8Of(found.cFileName),
                     IsShortcut(found.cFileName) ? ShortcutTarget(path) : Utf8Of(path.c_str())});
  } while (FindNextFileW(search, &found));
  FindClose(search);
  return items;
}

namespace {

class CryptoSha256 final : public Sha256 {
 public:
  CryptoSha256(HCRYPTPROV provider, HCRYPTHASH hash) : provider_(provider), hash_(hash) {}
  ~CryptoSha256() override {
    CryptDestroyHash(hash_);
    CryptReleaseContext(provider_, 0);
  }
  CryptoSha256(const CryptoSha256&) = delete;
  CryptoSha256& operator=(const CryptoSha256&) = delete;

  void Update(const void* data, std::size_t size) override {
    const auto* bytes = static_cast<const BYTE*>(data);
    while (size > 0) {
      const DWORD piece = size > 0x40000000 ? 0x40000000 : static_cast<DWORD>(size);
      CryptHashData(hash_, bytes, piece, 0);
      bytes += piece;
      size -= piece;
    }
  }

  Sha256Digest Finish() override {
    Sha256Digest digest{};
    DWORD size = static_cast<DWORD>(digest.size());
    CryptGetHashParam(hash_, HP_HASHVAL, digest.data(), &size, 0);
    return digest;
  }

 private:
  HCRYPTPROV provider_;
  HCRYPTHASH hash_;
};

}  // namespace

std::unique_ptr<Sha256> Win32Digests::NewSha256() {
  HCRYPTPROV provider = 0;
  if (!CryptAcquireContextW(&provider, nullptr, nullptr, PROV_RSA_AES, CRYPT_VERIFYCONTEXT))
    return nullptr;
  HCRYPTHASH hash = 0;
  if (!CryptCreateHash(provider, CALG_SHA_256, 0, 0, &hash)) {
    CryptReleaseContext(provider, 0);
    return nullptr;
  }
  return std::make_unique<CryptoSha256>(provider, hash);
}

}  // namespace platform::win32
