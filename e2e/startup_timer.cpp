// Start-up timer: how long a program takes from CreateProcess to its first visible top-level
// window. One unreported start warms the caches up; each start is ended again once its
// window shows. Prints every sample and the median.
// Usage: startup_timer <runs> <exe> [arguments]
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

struct Search {
  DWORD processId;
  bool found;
};

BOOL CALLBACK Visit(HWND window, LPARAM param) {
  auto& search = *reinterpret_cast<Search*>(param);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  RECT frame{};
  if (owner == search.processId && IsWindowVisible(window) && GetWindowRect(window, &frame) &&
      frame.right > frame.left && frame.bottom > frame.top) {
    search.found = true;
    return FALSE;
  }
  return TRUE;
}

std::string Path(const char* path) {
  std::string converted = path;
  if (!converted.empty() && converted[0] == '/') {
    converted.insert(0, "Z:");
    std::replace(converted.begin(), converted.end(), '/', '\\');
  }
  return converted;
}

// Milliseconds to the first visible window, or -1 if none came within 60 s.
double TimeOne(const std::string& exe, const std::string& arguments) {
  std::string commandLine = "\"" + exe + "\"";
  if (!arguments.empty()) commandLine += " " + arguments;
  std::string folder = exe.substr(0, exe.find_last_of('\\') + 1);
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info{};
  LARGE_INTEGER frequency, begin, now;
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&begin);
  if (!CreateProcessA(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                      folder.empty() ? nullptr : folder.c_str(), &startup, &info)) {
    std::fprintf(stderr, "cannot start %s (error %lu)\n", exe.c_str(), GetLastError());
    std::exit(1);
  }
  double ms = -1;
  Search search{info.dwProcessId, false};
  for (;;) {
    EnumWindows(Visit, reinterpret_cast<LPARAM>(&search));
    QueryPerformanceCounter(&now);
    double elapsed = 1000.0 * (now.QuadPart - begin.QuadPart) / frequency.QuadPart;
    if (search.found) {
      ms = elapsed;
      break;
    }
    if (elapsed > 60000 || WaitForSingleObject(info.hProcess, 1) == WAIT_OBJECT_0) break;
  }
  TerminateProcess(info.hProcess, 0);
  WaitForSingleObject(info.hProcess, 10000);
  CloseHandle(info.hProcess);
  CloseHandle(info.hThread);
  return ms;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: startup_timer <runs> <exe> [arguments]\n");
    return 2;
  }
  int runs = std::max(1, std::atoi(argv[1]));
  std::string exe = Path(argv[2]), arguments;
  for (int i = 3; i < argc; ++i) {
    if (i > 3) arguments += ' ';
    arguments += argv[i];
  }

  if (TimeOne(exe, arguments) < 0) {
    std::printf("no visible window from %s\n", exe.c_str());
    return 1;
  }
  std::vector<double> samples;
  std::printf("samples (ms):");
  for (int i = 0; i < runs; ++i) {
    double ms = TimeOne(exe, arguments);
    if (ms < 0) {
      std::printf("\nno visible window from %s\n", exe.c_str());
      return 1;
    }
    samples.push_back(ms);
    std::printf(" %.0f", ms);
    std::fflush(stdout);
  }
  std::sort(samples.begin(), samples.end());
  double median = runs % 2 ? samples[runs / 2] : (samples[runs / 2 - 1] + samples[runs / 2]) / 2;
  std::printf("\nmedian %.0f ms\n", median);
  return 0;
}
