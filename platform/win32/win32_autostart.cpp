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

// What shortcuts start: each one's target and, after a space, its arguments; "" when the
// link cannot be read. One link object reads them all: making one per shortcut cost
// several times the reading itself under Wine, and a folder may hold thousands.
class ShortcutReader {
 public:
  ShortcutReader() = default;
  ~ShortcutReader() {
    if (file_) file_->Release();
    if (link_) link_->Release();
  }
  ShortcutReader(const ShortcutReader&) = delete;
  ShortcutReader& operator=(const ShortcutReader&) = delete;

  std::string TargetOf(const std::wstring& path) {
    if (!file_ && !Create()) return {};
    wchar_t buffer[32768] = {};
    if (FAILED(file_->Load(path.c_str(), STGM_READ)) ||
        FAILED(link_->GetPath(buffer, 32767, nullptr, SLGP_RAWPATH)))
      return {};
    std::string target = Utf8Of(buffer);
    buffer[0] = L'\0';
    // Appended in two steps: GCC 12 warns falsely (-Wrestrict) on " " + text.
    if (SUCCEEDED(link_->GetArguments(buffer, 32767)) && buffer[0])
      target.append(" ").append(Utf8Of(buffer));
    return target;
  }

 private:
  bool Create() {
    if (created_) return false;  // tried once already, in vain
    created_ = true;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                reinterpret_cast<void**>(&link_)))) {
      link_ = nullptr;
      return false;
    }
    if (FAILED(link_->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file_))))
      file_ = nullptr;
    return file_ != nullptr;
  }

  IShellLinkW* link_ = nullptr;
  IPersistFile* file_ = nullptr;
  bool created_ = false;
};

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
  ShortcutReader shortcuts;  // released before COM is
  do {
    if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) || IsDesktopIni(found.cFileName))
      continue;
    const std::wstring path = base + found.cFileName;
    items.push_back({Utf8Of(found.cFileName), IsShortcut(found.cFileName) ? shortcuts.TargetOf(path)
                                                                          : Utf8Of(path.c_str())});
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
