// How long the start-up scan of quenlar.exe takes under Wine, beside a bare loop over the
// same places in the same run. It prepares the current user's settings and the places
// itself, then for each case starts the program, waits until "E&xit" is enabled (the end of
// the scan driver) and ends it again. The cases take turns; a first unreported round warms
// the caches up; every figure is the median of the runs.
//
// Cases: "clean 0" (accepted snapshots, no extra entries), "clean N" (N extra entries in
// each bench place, all accepted), "changed M" (the clean 0 snapshots, then M new entries).
// The bench places are both Run keys and, with `places` "spread" or "folder", also the
// current user's RunOnce key, Explorer policy Run key and Startup folder (there as files,
// which start themselves). The M new entries go into the current user's Run key ("run",
// the default), evenly into the user's four places ("spread"), or all into the Startup
// folder ("folder", or "links" where the folder's entries are shortcuts instead, which
// the scan resolves). The bare loop opens each bench place and its snapshot and reads every
// entry (values with their data through the wide API, the folder's files by name).
//
// Usage: scan_wine_bench <quenlar.exe> <mir.exe> [runs] [entries] [changed] [changed runs]
//                        [run|spread|folder|links]
// It prints figures only; it never fails because a machine is slow.
#include <windows.h>
#include <shlobj.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "core/sealing.h"
#include "platform/win32/win32_machine.h"
#include "scan/autostart_places.h"

namespace {

constexpr const char* ProductKey = "Software\\Palvex\\Quenlar";
constexpr const char* EntryPrefix = "ScanBench";
constexpr double RunTimeoutMs = 900000;

std::string WindowsPath(const char* path) {
  std::string converted = path;
  if (!converted.empty() && converted[0] == '/') {
    converted.insert(0, "Z:");
    std::replace(converted.begin(), converted.end(), '/', '\\');
  }
  return converted;
}

double NowMs() {
  static LARGE_INTEGER frequency = [] {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return f;
  }();
  LARGE_INTEGER now;
  QueryPerformanceCounter(&now);
  return 1000.0 * static_cast<double>(now.QuadPart) / static_cast<double>(frequency.QuadPart);
}

double Median(std::vector<double> samples) {
  std::sort(samples.begin(), samples.end());
  const std::size_t n = samples.size();
  return n % 2 ? samples[n / 2] : (samples[n / 2 - 1] + samples[n / 2]) / 2;
}

HKEY CreateKey(HKEY root, const char* path) {
  HKEY key = nullptr;
  if (RegCreateKeyExA(root, path, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr) !=
      ERROR_SUCCESS) {
    std::fprintf(stderr, "cannot open or create %s\n", path);
    std::exit(1);
  }
  return key;
}

void SetText(HKEY key, const std::string& name, const std::string& data) {
  RegSetValueExA(key, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(data.c_str()),
                 static_cast<DWORD>(data.size() + 1));
}

std::vector<std::string> NamesOf(HKEY key) {
  std::vector<std::string> names;
  char name[16384];
  for (DWORD i = 0;; ++i) {
    DWORD length = sizeof name;
    if (RegEnumValueA(key, i, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
      break;
    names.emplace_back(name, length);
  }
  return names;
}

// A place the bench fills: a key, or where `key` is nullptr the user's Startup folder.
struct BenchPlace {
  HKEY root;
  const char* key;
  const char* snapshot;  // the program's snapshot key under the current user
};

constexpr const char* RunKey = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";
const BenchPlace UserRun{HKEY_CURRENT_USER, RunKey, "Software\\Palvex\\Quenlar\\User"};
const BenchPlace LocalRun{HKEY_LOCAL_MACHINE, RunKey, "Software\\Palvex\\Quenlar\\Local"};
const BenchPlace UserRunOnce{HKEY_CURRENT_USER,
                             "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\RunOnce",
                             "Software\\Palvex\\Quenlar\\UserRunOnce"};
const BenchPlace UserPolicyRun{
    HKEY_CURRENT_USER, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Policies\\Explorer\\Run",
    "Software\\Palvex\\Quenlar\\UserPolicyRun"};
const BenchPlace UserStartup{HKEY_CURRENT_USER, nullptr, "Software\\Palvex\\Quenlar\\UserStartup"};
const BenchPlace* const AllPlaces[] = {&UserRun, &LocalRun, &UserRunOnce, &UserPolicyRun,
                                       &UserStartup};

// The bench's own names and paths are ASCII.
std::wstring Wide(const std::string& ascii) { return std::wstring(ascii.begin(), ascii.end()); }

std::string StartupFolder() {
  char path[MAX_PATH] = {};
  if (FAILED(SHGetFolderPathA(nullptr, CSIDL_STARTUP | CSIDL_FLAG_CREATE, nullptr,
                              SHGFP_TYPE_CURRENT, path))) {
    std::fprintf(stderr, "no Startup folder\n");
    std::exit(1);
  }
  return std::string(path) + "\\";
}

std::string EntryName(int i) {
  char name[64];
  std::snprintf(name, sizeof name, "%s%05d", EntryPrefix, i);
  return name;
}

// Removes the entries an earlier run of this program added.
void RemoveBenchEntries(const BenchPlace& place) {
  if (!place.key) {
    const std::string folder = StartupFolder();
    std::vector<std::string> names;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + EntryPrefix + "*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return;
    do names.emplace_back(found.cFileName);
    while (FindNextFileA(search, &found));
    FindClose(search);
    for (const std::string& name : names) DeleteFileA((folder + name).c_str());
    return;
  }
  HKEY key = CreateKey(place.root, place.key);
  for (const std::string& name : NamesOf(key))
    if (name.rfind(EntryPrefix, 0) == 0) RegDeleteValueA(key, name.c_str());
  RegCloseKey(key);
}

void RemoveAllBenchEntries() {
  for (const BenchPlace* place : AllPlaces) RemoveBenchEntries(*place);
}

// A shortcut that starts the system's editor with `arguments`.
void WriteShortcut(const std::string& path, const std::string& arguments) {
  IShellLinkW* link = nullptr;
  IPersistFile* file = nullptr;
  if (SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                 reinterpret_cast<void**>(&link))) &&
      SUCCEEDED(link->SetPath(L"C:\\windows\\notepad.exe")) &&
      SUCCEEDED(link->SetArguments(Wide(arguments).c_str())) &&
      SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file))))
    file->Save(Wide(path).c_str(), TRUE);
  if (file) file->Release();
  if (link) link->Release();
}

// Entries numbered from `first`: values, or in the folder empty program files or
// shortcuts.
void AddBenchEntries(const BenchPlace& place, int first, int count, bool shortcuts) {
  const std::string folder = place.key ? std::string() : StartupFolder();
  HKEY key = place.key ? CreateKey(place.root, place.key) : nullptr;
  for (int i = first; i < first + count; ++i) {
    if (!key) {
      if (shortcuts)
        WriteShortcut(folder + EntryName(i) + ".lnk", EntryName(i));
      else
        CloseHandle(CreateFileA((folder + EntryName(i) + ".exe").c_str(), GENERIC_WRITE, 0, nullptr,
                                CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
      continue;
    }
    char data[160];
    std::snprintf(data, sizeof data, "C:\\Program Files\\Vendor %05d\\tray helper.exe /background",
                  i);
    SetText(key, EntryName(i), data);
  }
  if (key) RegCloseKey(key);
}

// The snapshots the program writes when the player accepts the present entries, written
// by its own code, for every place it watches.
void SnapshotEverything(platform::Services& services) {
  std::vector<const AutostartPlace*> places{&UserRunPlace, &LocalRunPlace, &Local32RunPlace};
  for (const AutostartPlace& place : StartupPlaces()) places.push_back(&place);
  for (const AutostartPlace* place : places) {
    if (!Watched(services, *place)) continue;
    RegDeleteTreeA(HKEY_CURRENT_USER, place->snapshotKey + 1);  // without the leading "\"
    RegDeleteKeyA(HKEY_CURRENT_USER, place->snapshotKey + 1);
    const auto entries = EntriesOf(services, *place);
    if (!entries || !WriteSnapshot(services, *place, *entries)) {
      std::fprintf(stderr, "cannot snapshot %s\n", place->title);
      std::exit(1);
    }
  }
}

struct Layout {
  std::vector<const BenchPlace*> clean;    // each gets the clean entries
  std::vector<const BenchPlace*> changed;  // the new entries are shared among them
  bool shortcuts = false;                  // in the folder, instead of program files
};

Layout LayoutOf(const std::string& places) {
  if (places == "spread")
    return {{std::begin(AllPlaces), std::end(AllPlaces)},
            {&UserRun, &UserRunOnce, &UserPolicyRun, &UserStartup}};
  if (places == "folder" || places == "links")
    return {{std::begin(AllPlaces), std::end(AllPlaces)}, {&UserStartup}, places == "links"};
  return {{&UserRun, &LocalRun}, {&UserRun}};
}

void Prepare(platform::Services& services, const Layout& layout, const std::string& gamePath,
             int cleanEntries, int changedEntries) {
  RemoveAllBenchEntries();
  for (const BenchPlace* place : layout.clean)
    AddBenchEntries(*place, 0, cleanEntries, layout.shortcuts);
  HKEY product = CreateKey(HKEY_CURRENT_USER, ProductKey);
  SetText(product, "Path", SealText(services.volume, gamePath));
  RegCloseKey(product);
  SnapshotEverything(services);
  // Shared evenly, numbered after the clean ones so that no name repeats.
  const int shares = static_cast<int>(layout.changed.size());
  for (int i = 0, first = cleanEntries; i < shares; ++i) {
    const int count = changedEntries / shares + (i < changedEntries % shares ? 1 : 0);
    AddBenchEntries(*layout.changed[i], first, count, layout.shortcuts);
    first += count;
  }
}

struct ExitSearch {
  DWORD processId;
  HWND button;
};

BOOL CALLBACK VisitChild(HWND window, LPARAM param) {
  char text[32];
  if (GetWindowTextA(window, text, sizeof text) > 0 && std::string(text) == "E&xit") {
    reinterpret_cast<ExitSearch*>(param)->button = window;
    return FALSE;
  }
  return TRUE;
}

BOOL CALLBACK VisitTop(HWND window, LPARAM param) {
  auto& search = *reinterpret_cast<ExitSearch*>(param);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  if (owner != search.processId) return TRUE;
  EnumChildWindows(window, VisitChild, param);
  return search.button ? FALSE : TRUE;
}

// Milliseconds from starting the program to its "E&xit" button being enabled; -1 if
// that did not happen in time.
double TimeOneStart(const std::string& exe) {
  std::string commandLine = "\"" + exe + "\"";
  const std::string folder = exe.substr(0, exe.find_last_of('\\') + 1);
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info{};
  const double begin = NowMs();
  if (!CreateProcessA(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                      folder.c_str(), &startup, &info)) {
    std::fprintf(stderr, "cannot start %s (error %lu)\n", exe.c_str(), GetLastError());
    std::exit(1);
  }
  ExitSearch search{info.dwProcessId, nullptr};
  double ms = -1;
  while (NowMs() - begin < RunTimeoutMs) {
    if (!search.button) EnumWindows(VisitTop, reinterpret_cast<LPARAM>(&search));
    if (search.button && IsWindowEnabled(search.button)) {
      ms = NowMs() - begin;
      break;
    }
    if (WaitForSingleObject(info.hProcess, 2) == WAIT_OBJECT_0) break;
  }
  TerminateProcess(info.hProcess, 0);
  WaitForSingleObject(info.hProcess, 10000);
  CloseHandle(info.hProcess);
  CloseHandle(info.hThread);
  return ms;
}

// The bare loop: open each place and its snapshot, read every entry, close it.
double TimeBareLoop(const Layout& layout) {
  static wchar_t name[16384];
  static BYTE data[65536];
  auto readKey = [](HKEY root, const std::wstring& path) {
    HKEY key;
    if (RegOpenKeyExW(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return;
    for (DWORD i = 0;; ++i) {
      DWORD nameLength = 16384, dataSize = sizeof data, type = 0;
      if (RegEnumValueW(key, i, name, &nameLength, nullptr, &type, data, &dataSize) !=
          ERROR_SUCCESS)
        break;
    }
    RegCloseKey(key);
  };
  const std::wstring folder = Wide(StartupFolder());
  // Shortcuts are read as the scan must read them, through one link object.
  IShellLinkW* link = nullptr;
  IPersistFile* file = nullptr;
  if (layout.shortcuts &&
      SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                 reinterpret_cast<void**>(&link))))
    link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file));
  std::vector<std::wstring> keys, snapshots;
  for (const BenchPlace* place : layout.clean) {
    keys.push_back(place->key ? Wide(place->key) : std::wstring());
    snapshots.push_back(Wide(place->snapshot));
  }
  const double begin = NowMs();
  for (std::size_t i = 0; i < layout.clean.size(); ++i) {
    if (layout.clean[i]->key) {
      readKey(layout.clean[i]->root, keys[i]);
    } else {
      WIN32_FIND_DATAW found;
      HANDLE search = FindFirstFileW((folder + L"*").c_str(), &found);
      if (search != INVALID_HANDLE_VALUE) {
        do {
          if (file && SUCCEEDED(file->Load((folder + found.cFileName).c_str(), STGM_READ))) {
            link->GetPath(name, 16383, nullptr, SLGP_RAWPATH);
            link->GetArguments(name, 16383);
          }
        } while (FindNextFileW(search, &found));
        FindClose(search);
      }
    }
    readKey(HKEY_CURRENT_USER, snapshots[i]);
  }
  const double ms = NowMs() - begin;
  if (file) file->Release();
  if (link) link->Release();
  return ms;
}

struct Case {
  std::string label;
  int cleanEntries;
  int changedEntries;
  std::vector<double> samples;
};

void PrintSamples(const std::string& label, const std::vector<double>& samples) {
  std::printf("%-30s", label.c_str());
  for (double ms : samples) std::printf(" %.0f", ms);
  std::printf("   median %.0f ms\n", Median(samples));
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr,
                 "usage: scan_wine_bench <quenlar.exe> <mir.exe> [runs] [entries] [changed] "
                 "[changed runs] [run|spread|folder|links]\n");
    return 2;
  }
  const std::string exe = WindowsPath(argv[1]);
  const std::string gamePath = WindowsPath(argv[2]);
  const int runs = argc > 3 ? std::max(1, std::atoi(argv[3])) : 5;
  const int entries = argc > 4 ? std::max(0, std::atoi(argv[4])) : 200;
  const int changed = argc > 5 ? std::max(0, std::atoi(argv[5])) : 5000;
  const int changedRuns = argc > 6 ? std::max(1, std::atoi(argv[6])) : runs;
  const std::string placesArg = argc > 7 ? argv[7] : "run";
  const Layout layout = LayoutOf(placesArg);
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  platform::win32::Win32Machine machine;
  platform::Services services = machine.services();

  std::vector<Case> cases = {
      {"clean, no extra entries", 0, 0, {}},
      {"clean, " + std::to_string(entries) + " entries per place", entries, 0, {}}};
  if (changed > 0)
    cases.push_back({std::to_string(changed) + " new entries (" + placesArg + ")", 0, changed, {}});
  std::vector<double> bare;

  // The cases take turns, so that a machine whose load drifts weighs on all of them
  // alike. Round 0 warms the caches up and is not counted.
  const int rounds = std::max(runs, changedRuns);
  for (int round = 0; round <= rounds; ++round) {
    for (Case& c : cases) {
      const bool isChanged = c.changedEntries > 0;
      if (round > (isChanged ? changedRuns : runs)) continue;
      if (round == 0 && isChanged) continue;  // a slow scan need not run once for nothing
      Prepare(services, layout, gamePath, c.cleanEntries, c.changedEntries);
      const double ms = TimeOneStart(exe);
      if (ms < 0) {
        std::printf("%s: the scan did not end within %.0f s\n", c.label.c_str(),
                    RunTimeoutMs / 1000);
        RemoveAllBenchEntries();
        return 1;
      }
      if (round > 0) c.samples.push_back(ms);
      if (round > 0 && c.cleanEntries > 0) bare.push_back(TimeBareLoop(layout));
    }
    std::fprintf(stderr, "round %d of %d done\n", round, rounds);
  }
  RemoveAllBenchEntries();

  std::printf("start of quenlar.exe to the end of its scan (ms):\n");
  for (const Case& c : cases) PrintSamples(c.label, c.samples);
  const std::string bareLabel =
      "bare loop over the " + std::to_string(layout.clean.size()) + " places";
  std::printf("%-30s", bareLabel.c_str());
  for (double ms : bare) std::printf(" %.1f", ms);
  std::printf("   median %.1f ms\n", Median(bare));

  const double clean0 = Median(cases[0].samples);
  const double added = Median(cases[1].samples) - clean0;
  const double bareMs = Median(bare);
  std::printf(
      "\nadded by %d entries per place: %.0f ms; bare loop: %.1f ms; ratio %.2f (target <= "
      "1.2)\n",
      entries, added, bareMs, bareMs > 0 ? added / bareMs : 0.0);
  if (changed > 0)
    std::printf("%d new entries: %.0f ms beyond the clean start (target <= 2000)\n", changed,
                Median(cases[2].samples) - clean0);
  return 0;
}
