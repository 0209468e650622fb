// The program's own process and the shell, in memory, each with a journal. The shell
// starts a simulated game client for a registered game executable.
#pragma once

#include <cstdint>
#include <deque>
#include <string>
#include <vector>

#include "platform/memory/memory_clock.h"
#include "platform/memory/memory_desktop.h"
#include "platform/process.h"

namespace platform {

class MemoryFiles;

struct PriorityRecord {
  std::int64_t atMs = 0;
  std::size_t messagesBefore = 0;  // desktop messages journalled before the change
  bool isProcessClass = true;      // else the thread's priority
  PriorityClass processClass = PriorityClass::Normal;
  ThreadPriority thread = ThreadPriority::Normal;
  bool result = true;
};

class MemoryProcess : public Process {
 public:
  static constexpr const char* DefaultExecutablePath = "C:\\Program Files\\Quenlar\\Quenlar.exe";
  static constexpr const char* DefaultTempDirectory = "C:\\Users\\Player\\AppData\\Local\\Temp\\";

  MemoryProcess(MemoryClock& clock, const MemoryDesktop& desktop)
      : clock_(clock), desktop_(desktop) {}

  std::string ExecutablePath() override { return path_; }
  std::string TempDirectory() override { return temp_; }
  bool SetPriorityClass(PriorityClass priority) override;
  bool SetThreadPriority(ThreadPriority priority) override;

  void SetExecutablePath(std::string path) { path_ = std::move(path); }
  void SetTempDirectory(std::string path) { temp_ = std::move(path); }
  // Priority changes fail from now on (they still are journalled).
  void FailPriorityChanges(bool fail) { failPriorities_ = fail; }
  PriorityClass processClass() const { return class_; }
  ThreadPriority threadPriority() const { return thread_; }
  const std::vector<PriorityRecord>& priorities() const { return priorities_; }

 private:
  MemoryClock& clock_;
  const MemoryDesktop& desktop_;
  std::string path_ = DefaultExecutablePath;
  std::string temp_ = DefaultTempDirectory;
  bool failPriorities_ = false;
  PriorityClass class_ = PriorityClass::Normal;
  ThreadPriority thread_ = ThreadPriority::Normal;
  std::vector<PriorityRecord> priorities_;
};

struct ShellRecord {
  std::int64_t atMs = 0;
  WindowHandle owner = 0;
  std::string file;
  std::string parameters;
  std::string directory;
  int showCommand = 0;
  std::intptr_t result = 0;
  bool started = false;  // a plugged-in program took it
};

// A program the in-memory shell can start: test support plugs one in (a simulated game
// client); the shell itself knows no program.
class ShellProgram {
 public:
  virtual ~ShellProgram() = default;
  virtual bool Handles(const std::string& file) const = 0;
  virtual void Start(const ShellRecord& launch) = 0;
};

class MemoryShell : public Shell {
 public:
  static constexpr std::intptr_t Success = 42;
  static constexpr std::intptr_t FileNotFound = 2;  // what the shell returns for no file

  // With `files`, an absolute path to a file that is not there fails with FileNotFound.
  MemoryShell(MemoryClock& clock, const MemoryFiles* files = nullptr)
      : clock_(clock), files_(files) {}

  // From now on a file `program` handles starts it; the program must outlive the shell's use.
  void Plug(ShellProgram& program) { programs_.push_back(&program); }

  std::intptr_t Open(WindowHandle owner, const std::string& file, const std::string& parameters,
                     const std::string& directory, int showCommand) override;

  // The next call returns `result` and opens nothing.
  void FailNext(std::intptr_t result) { failures_.push_back(result); }
  const std::vector<ShellRecord>& calls() const { return calls_; }

 private:
  MemoryClock& clock_;
  const MemoryFiles* files_;
  std::vector<ShellProgram*> programs_;
  std::deque<std::intptr_t> failures_;
  std::vector<ShellRecord> calls_;
};

}  // namespace platform
