// How long the start-up scan of quenlar.exe takes under Wine, beside a bare loop over the
// same registry keys in the same run. It prepares the current user's settings and both
// autostart keys itself, then for each case starts the program, waits until "E&xit" is
// enabled (the end of the scan driver) and ends it again. The cases take turns; a first
// unreported round warms the caches up; every figure is the median of the runs.
//
// Cases: "clean 0" (accepted snapshots, no extra autostart entries), "clean N" (N extra
// entries in each autostart key, all accepted), "changed M" (the clean 0 snapshots, then
// M new entries in the current user's autostart key). The bare loop opens the four keys
// of "clean N" (both autostart keys, both snapshots) and enumerates every value with its
// data through the wide API.
//
// Usage: scan_wine_bench <quenlar.exe> <mir.exe> [runs] [entries] [changed] [changed runs]
// It prints figures only; it never fails because a machine is slow.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "core/sealing.h"
#include "platform/win32/win32_system.h"

namespace {

constexpr const char* RunKey = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr const char* ProductKey = "Software\\Palvex\\Quenlar";
constexpr const char* UserSnapshot = "Software\\Palvex\\Quenlar\\User";
constexpr const char* LocalSnapshot = "Software\\Palvex\\Quenlar\\Local";
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

// Removes the entries an earlier run of this program added.
void RemoveBenchEntries(HKEY root) {
  HKEY key = CreateKey(root, RunKey);
  for (const std::string& name : NamesOf(key))
    if (name.rfind(EntryPrefix, 0) == 0) RegDeleteValueA(key, name.c_str());
  RegCloseKey(key);
}

void AddBenchEntries(HKEY root, int count) {
  HKEY key = CreateKey(root, RunKey);
  for (int i = 0; i < count; ++i) {
    char name[64], data[160];
    std::snprintf(name, sizeof name, "%s%05d", EntryPrefix, i);
    std::snprintf(data, sizeof data, "C:\\Program Files\\Vendor %05d\\tray helper.exe /background",
                  i);
    SetText(key, name, data);
  }
  RegCloseKey(key);
}

std::string ReadText(HKEY key, const std::string& name) {
  DWORD type = 0, size = 0;
  if (RegQueryValueExA(key, name.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS)
    return std::string();
  std::string data(size, '\0');
  RegQueryValueExA(key, name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(data.data()), &size);
  data.resize(size);
  while (!data.empty() && data.back() == '\0') data.pop_back();
  return data;
}

// The snapshot the program writes when the player accepts the present entries.
void Snapshot(platform::Volume& volume, HKEY root, const char* snapshotPath) {
  RegDeleteTreeA(HKEY_CURRENT_USER, snapshotPath);
  HKEY run = CreateKey(root, RunKey);
  HKEY snapshot = CreateKey(HKEY_CURRENT_USER, snapshotPath);
  for (const std::string& name : NamesOf(run))
    SetText(snapshot, name, SealText(volume, ReadText(run, name)));
  RegCloseKey(snapshot);
  RegCloseKey(run);
}

void Prepare(platform::Volume& volume, const std::string& gamePath, int cleanEntries,
             int changedEntries) {
  RemoveBenchEntries(HKEY_CURRENT_USER);
  RemoveBenchEntries(HKEY_LOCAL_MACHINE);
  AddBenchEntries(HKEY_CURRENT_USER, cleanEntries);
  AddBenchEntries(HKEY_LOCAL_MACHINE, cleanEntries);
  HKEY product = CreateKey(HKEY_CURRENT_USER, ProductKey);
  SetText(product, "Path", SealText(volume, gamePath));
  RegCloseKey(product);
  Snapshot(volume, HKEY_CURRENT_USER, UserSnapshot);
  Snapshot(volume, HKEY_LOCAL_MACHINE, LocalSnapshot);
  if (changedEntries > 0) AddBenchEntries(HKEY_CURRENT_USER, changedEntries);
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

// The bare loop: open each key, enumerate every value with its data, close it.
double TimeBareLoop() {
  const struct {
    HKEY root;
    const wchar_t* path;
  } keys[] = {
      {HKEY_CURRENT_USER, L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run"},
      {HKEY_LOCAL_MACHINE, L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run"},
      {HKEY_CURRENT_USER, L"Software\\Palvex\\Quenlar\\User"},
      {HKEY_CURRENT_USER, L"Software\\Palvex\\Quenlar\\Local"},
  };
  static wchar_t name[16384];
  static BYTE data[65536];
  const double begin = NowMs();
  for (const auto& k : keys) {
    HKEY key;
    if (RegOpenKeyExW(k.root, k.path, 0, KEY_READ, &key) != ERROR_SUCCESS) continue;
    for (DWORD i = 0;; ++i) {
      DWORD nameLength = 16384, dataSize = sizeof data, type = 0;
      if (RegEnumValueW(key, i, name, &nameLength, nullptr, &type, data, &dataSize) !=
          ERROR_SUCCESS)
        break;
    }
    RegCloseKey(key);
  }
  return NowMs() - begin;
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
                 "[changed runs]\n");
    return 2;
  }
  const std::string exe = WindowsPath(argv[1]);
  const std::string gamePath = WindowsPath(argv[2]);
  const int runs = argc > 3 ? std::max(1, std::atoi(argv[3])) : 5;
  const int entries = argc > 4 ? std::max(0, std::atoi(argv[4])) : 200;
  const int changed = argc > 5 ? std::max(0, std::atoi(argv[5])) : 5000;
  const int changedRuns = argc > 6 ? std::max(1, std::atoi(argv[6])) : runs;
  platform::win32::Win32Volume volume;

  std::vector<Case> cases = {
      {"clean, no extra entries", 0, 0, {}},
      {"clean, " + std::to_string(entries) + " entries per key", entries, 0, {}}};
  if (changed > 0) cases.push_back({std::to_string(changed) + " new user entries", 0, changed, {}});
  std::vector<double> bare;

  // The cases take turns, so that a machine whose load drifts weighs on all of them
  // alike. Round 0 warms the caches up and is not counted.
  const int rounds = std::max(runs, changedRuns);
  for (int round = 0; round <= rounds; ++round) {
    for (Case& c : cases) {
      const bool isChanged = c.changedEntries > 0;
      if (round > (isChanged ? changedRuns : runs)) continue;
      if (round == 0 && isChanged) continue;  // a slow scan need not run once for nothing
      Prepare(volume, gamePath, c.cleanEntries, c.changedEntries);
      const double ms = TimeOneStart(exe);
      if (ms < 0) {
        std::printf("%s: the scan did not end within %.0f s\n", c.label.c_str(),
                    RunTimeoutMs / 1000);
        RemoveBenchEntries(HKEY_CURRENT_USER);
        RemoveBenchEntries(HKEY_LOCAL_MACHINE);
        return 1;
      }
      if (round > 0) c.samples.push_back(ms);
      if (round > 0 && c.cleanEntries > 0) bare.push_back(TimeBareLoop());
    }
    std::fprintf(stderr, "round %d of %d done\n", round, rounds);
  }
  RemoveBenchEntries(HKEY_CURRENT_USER);
  RemoveBenchEntries(HKEY_LOCAL_MACHINE);

  std::printf("start of quenlar.exe to the end of its scan (ms):\n");
  for (const Case& c : cases) PrintSamples(c.label, c.samples);
  std::printf("%-30s", "bare loop over the 4 keys");
  for (double ms : bare) std::printf(" %.1f", ms);
  std::printf("   median %.1f ms\n", Median(bare));

  const double clean0 = Median(cases[0].samples);
  const double added = Median(cases[1].samples) - clean0;
  const double bareMs = Median(bare);
  std::printf(
      "\nadded by %d entries per key: %.0f ms; bare loop: %.1f ms; ratio %.2f (target <= 1.2)\n",
      entries, added, bareMs, bareMs > 0 ? added / bareMs : 0.0);
  if (changed > 0)
    std::printf("%d new entries: %.0f ms beyond the clean start (target <= 2000)\n", changed,
                Median(cases[2].samples) - clean0);
  return 0;
}
