#include "platform/memory/memory_process.h"

#include "platform/unicode.h"

#include "platform/memory/memory_files.h"

namespace platform {

namespace {
constexpr std::size_t MaxPath = 260;
}  // namespace

namespace {

// "C:\..." : a path the shell looks up as a file rather than a URL or a program name.
bool IsDrivePath(const std::string& file) {
  return file.size() >= 3 && file[1] == ':' && (file[2] == '\\' || file[2] == '/');
}

}  // namespace

bool MemoryProcess::SetPriorityClass(PriorityClass priority) {
  PriorityRecord r;
  r.atMs = clock_.nowMs();
  r.messagesBefore = desktop_.messages().size();
  r.processClass = priority;
  r.result = !failPriorities_;
  if (r.result) class_ = priority;
  priorities_.push_back(r);
  return r.result;
}

bool MemoryProcess::SetThreadPriority(ThreadPriority priority) {
  PriorityRecord r;
  r.atMs = clock_.nowMs();
  r.messagesBefore = desktop_.messages().size();
  r.isProcessClass = false;
  r.thread = priority;
  r.result = !failPriorities_;
  if (r.result) thread_ = priority;
  priorities_.push_back(r);
  return r.result;
}

std::intptr_t MemoryShell::Open(WindowHandle owner, const std::string& file,
                                const std::string& parameters, const std::string& directory,
                                int showCommand) {
  ShellRecord r{clock_.nowMs(), owner, file, parameters, directory, showCommand, Success, false};
  if (!failures_.empty()) {
    r.result = failures_.front();
    failures_.pop_front();
  } else if (file.empty() || (files_ && IsDrivePath(file) && !files_->Exists(file)) ||
             Utf16FromUtf8(file).size() >= MaxPath) {
    // As the system's shell, which takes no longer path even for a file that is there.
    r.result = FileNotFound;
  } else {
    for (ShellProgram* program : programs_) {
      if (!program->Handles(file)) continue;
      r.started = true;
      program->Start(r);
      break;
    }
  }
  calls_.push_back(r);
  return r.result;
}

}  // namespace platform
