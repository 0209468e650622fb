// Paths, files and processes of the driver.
#include <algorithm>
#include <cstdlib>

#include "e2e/driver.h"

namespace e2e {

namespace {

std::string LastError(const std::string& what) {
  return what + " (error " + std::to_string(GetLastError()) + ")";
}

}  // namespace

std::string WindowsPath(const std::string& path) {
  if (path.empty() || path[0] != '/') return path;
  std::string converted = "Z:" + path;
  for (char& c : converted)
    if (c == '/') c = '\\';
  return converted;
}

std::string RequiredEnvironment(const char* name) {
  const char* value = std::getenv(name);
  if (!value || !*value)
    throw DriverError(std::string("environment variable ") + name + " is not set");
  return value;
}

std::string JoinPath(const std::string& folder, const std::string& name) {
  if (folder.empty()) return name;
  char last = folder.back();
  return (last == '\\' || last == '/') ? folder + name : folder + "\\" + name;
}

std::wstring Wide(const std::string& utf8) {
  if (utf8.empty()) return {};
  const int count = static_cast<int>(utf8.size());
  const int length = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), count, nullptr, 0);
  std::wstring wide(static_cast<size_t>(length > 0 ? length : 0), L'\0');
  if (length > 0) MultiByteToWideChar(CP_UTF8, 0, utf8.data(), count, wide.data(), length);
  return wide;
}

std::string Utf8(const std::wstring& wide) {
  if (wide.empty()) return {};
  const int count = static_cast<int>(wide.size());
  const int length =
      WideCharToMultiByte(CP_UTF8, 0, wide.data(), count, nullptr, 0, nullptr, nullptr);
  std::string utf8(static_cast<size_t>(length > 0 ? length : 0), '\0');
  if (length > 0)
    WideCharToMultiByte(CP_UTF8, 0, wide.data(), count, utf8.data(), length, nullptr, nullptr);
  return utf8;
}

void CreateDirectories(const std::string& path) {
  std::string windows = WindowsPath(path);
  for (size_t at = windows.find('\\', 3);; at = windows.find('\\', at + 1)) {
    std::string part = windows.substr(0, at);
    if (!part.empty() && !CreateDirectoryW(Wide(part).c_str(), nullptr) &&
        GetLastError() != ERROR_ALREADY_EXISTS)
      throw DriverError(LastError("cannot create folder " + part));
    if (at == std::string::npos) break;
  }
}

void ClearDirectory(const std::string& path) {
  WIN32_FIND_DATAW found;
  HANDLE search = FindFirstFileW(Wide(JoinPath(path, "*")).c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return;
  do {
    std::string name = Utf8(found.cFileName);
    if (name == "." || name == "..") continue;
    std::wstring child = Wide(JoinPath(path, name));
    SetFileAttributesW(child.c_str(), FILE_ATTRIBUTE_NORMAL);
    if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
      ClearDirectory(JoinPath(path, name));
      RemoveDirectoryW(child.c_str());
    } else {
      DeleteFileW(child.c_str());
    }
  } while (FindNextFileW(search, &found));
  FindClose(search);
}

void CopyFileOrThrow(const std::string& from, const std::string& to) {
  std::string source = WindowsPath(from), target = WindowsPath(to);
  if (!CopyFileW(Wide(source).c_str(), Wide(target).c_str(), FALSE))
    throw DriverError(LastError("cannot copy " + source + " to " + target));
}

std::string ReadFileBytes(const std::string& path) {
  HANDLE file = CreateFileW(Wide(WindowsPath(path)).c_str(), GENERIC_READ,
                            FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) throw DriverError(LastError("cannot open " + path));
  std::string bytes;
  char chunk[65536];
  DWORD got = 0;
  while (ReadFile(file, chunk, sizeof chunk, &got, nullptr) && got > 0) bytes.append(chunk, got);
  CloseHandle(file);
  return bytes;
}

void WriteFileBytes(const std::string& path, const std::string& bytes) {
  HANDLE file = CreateFileW(Wide(WindowsPath(path)).c_str(), GENERIC_WRITE, 0, nullptr,
                            CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) throw DriverError(LastError("cannot create " + path));
  DWORD written = 0;
  BOOL ok = WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  CloseHandle(file);
  if (!ok || written != bytes.size()) throw DriverError(LastError("cannot write " + path));
}

bool FileExists(const std::string& path) {
  return GetFileAttributesW(Wide(WindowsPath(path)).c_str()) != INVALID_FILE_ATTRIBUTES;
}

void DeleteFileIfPresent(const std::string& path) {
  std::wstring windows = Wide(WindowsPath(path));
  SetFileAttributesW(windows.c_str(), FILE_ATTRIBUTE_NORMAL);
  if (!DeleteFileW(windows.c_str()) && GetLastError() != ERROR_FILE_NOT_FOUND &&
      GetLastError() != ERROR_PATH_NOT_FOUND)
    throw DriverError(LastError("cannot delete " + WindowsPath(path)));
}

Process Process::Start(const std::string& exe, const std::string& arguments,
                       const std::string& workingDirectory) {
  std::string program = WindowsPath(exe), folder = WindowsPath(workingDirectory);
  std::string commandLine = "\"" + program + "\"";
  if (!arguments.empty()) commandLine += " " + arguments;
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info{};
  if (!CreateProcessA(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                      folder.empty() ? nullptr : folder.c_str(), &startup, &info))
    throw DriverError(LastError("cannot start " + program));
  CloseHandle(info.hThread);
  Process process;
  process.handle_ = info.hProcess;
  process.id_ = info.dwProcessId;
  return process;
}

Process::Process(Process&& other) noexcept : handle_(other.handle_), id_(other.id_) {
  other.handle_ = nullptr;
  other.id_ = 0;
}

Process& Process::operator=(Process&& other) noexcept {
  if (this != &other) {
    Close();
    handle_ = other.handle_;
    id_ = other.id_;
    other.handle_ = nullptr;
    other.id_ = 0;
  }
  return *this;
}

Process::~Process() { Close(); }

void Process::Close() {
  if (!handle_) return;
  Terminate();
  CloseHandle(handle_);
  handle_ = nullptr;
}

bool Process::Running() const { return handle_ && WaitForSingleObject(handle_, 0) == WAIT_TIMEOUT; }

std::optional<DWORD> Process::WaitForExit(DWORD timeoutMs) {
  if (!handle_) return std::nullopt;
  if (WaitForSingleObject(handle_, timeoutMs) != WAIT_OBJECT_0) return std::nullopt;
  DWORD code = 0;
  GetExitCodeProcess(handle_, &code);
  return code;
}

void Process::Terminate() {
  if (!Running()) return;
  TerminateProcess(handle_, 99);
  WaitForSingleObject(handle_, 10000);
}

namespace {

// The images of the job's running processes, less those from the system folder: Wine
// starts an explorer.exe of its own in the job on the way, and it stays.
std::optional<std::vector<std::string>> ProgramsIn(HANDLE job) {
  std::vector<ULONG_PTR> buffer(2 + 256);
  auto* list = reinterpret_cast<JOBOBJECT_BASIC_PROCESS_ID_LIST*>(buffer.data());
  if (!QueryInformationJobObject(job, JobObjectBasicProcessIdList, list,
                                 static_cast<DWORD>(buffer.size() * sizeof(ULONG_PTR)), nullptr))
    return std::nullopt;
  char system[MAX_PATH];
  UINT systemLength = GetSystemDirectoryA(system, MAX_PATH);
  std::vector<std::string> programs;
  for (DWORD i = 0; i < list->NumberOfProcessIdsInList; ++i) {
    HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION | SYNCHRONIZE, FALSE,
                                 static_cast<DWORD>(list->ProcessIdList[i]));
    if (!process) continue;  // ended meanwhile
    char image[MAX_PATH];
    DWORD size = MAX_PATH;
    bool running = WaitForSingleObject(process, 0) == WAIT_TIMEOUT;
    bool named = QueryFullProcessImageNameA(process, 0, image, &size);
    CloseHandle(process);
    if (!running) continue;
    if (named && CompareStringA(LOCALE_INVARIANT, NORM_IGNORECASE, image,
                                static_cast<int>(std::min<DWORD>(size, systemLength)), system,
                                static_cast<int>(systemLength)) == CSTR_EQUAL)
      continue;
    programs.push_back(named ? std::string(image, size) : "process " + std::to_string(i));
  }
  return programs;
}

}  // namespace

DWORD RunWithDescendants(const std::string& exe, const std::string& arguments, DWORD timeoutMs) {
  // A job holds the program and whatever it starts.
  HANDLE job = CreateJobObjectA(nullptr, nullptr);
  if (!job) throw DriverError(LastError("cannot create a job"));
  std::string program = WindowsPath(exe);
  std::string commandLine = "\"" + program + "\" " + arguments;
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info{};
  if (!CreateProcessA(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE,
                      CREATE_SUSPENDED, nullptr, nullptr, &startup, &info)) {
    CloseHandle(job);
    throw DriverError(LastError("cannot start " + program));
  }
  AssignProcessToJobObject(job, info.hProcess);
  ResumeThread(info.hThread);
  CloseHandle(info.hThread);
  ULONGLONG deadline = GetTickCount64() + timeoutMs;
  bool ended = WaitForSingleObject(info.hProcess, timeoutMs) == WAIT_OBJECT_0;
  std::string left = ended ? "" : program;
  while (ended) {
    auto programs = ProgramsIn(job);
    if (!programs) {
      left = "the job's processes cannot be listed";
      break;
    }
    if (programs->empty()) {
      left.clear();
      break;
    }
    left = programs->front();
    if (GetTickCount64() >= deadline) break;
    Pump(50);
  }
  DWORD code = 0;
  GetExitCodeProcess(info.hProcess, &code);
  CloseHandle(info.hProcess);
  if (!left.empty()) {
    TerminateJobObject(job, 99);
    CloseHandle(job);
    throw DriverError(program + " " + arguments + ": did not end with all it started (" + left +
                      ")");
  }
  CloseHandle(job);
  return code;
}

void Pump(DWORD ms) {
  ULONGLONG deadline = GetTickCount64() + ms;
  for (;;) {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
    ULONGLONG now = GetTickCount64();
    if (now >= deadline) return;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(deadline - now), QS_ALLINPUT);
  }
}

}  // namespace e2e
