#include "scan/patcher_check.h"

#include <cstddef>
#include <memory>
#include <optional>
#include <string>

#include "game_client/contract.h"
#include "platform/ascii_fold.h"
#include "platform/text_reader.h"
#include "scan/game_paths.h"

namespace {

const std::string& ExpectedLine() {
  static const std::string Line = std::string("site=") + game_client::OfficialPatchSite;
  return Line;
}

// Passes the file through but drops the bytes of a line beyond `cap`, so that a file
// without line ends cannot grow one line without bound. A cap of two more than the
// expected length keeps every too-long line too long, even counting the line feed
// that follows a carriage return, so the verdict is unchanged.
class LineCappedFile : public platform::File {
 public:
  LineCappedFile(platform::File& inner, std::size_t cap) : inner_(inner), cap_(cap) {}

  std::optional<std::uint64_t> Size() override { return inner_.Size(); }
  bool Close() override { return inner_.Close(); }

  std::optional<std::size_t> Read(void* buffer, std::size_t count) override {
    char* bytes = static_cast<char*>(buffer);
    while (true) {
      const auto n = inner_.Read(buffer, count);
      if (!n || *n == 0) return n;
      std::size_t kept = 0;
      for (std::size_t i = 0; i < *n; ++i) {
        const char c = bytes[i];
        if (c == '\r' || c == '\x1a') {
          run_ = 0;
        } else if (run_ < cap_) {
          ++run_;
        } else {
          continue;
        }
        bytes[kept++] = c;
      }
      // Zero would read as the end of the file.
      if (kept > 0) return kept;
    }
  }

 private:
  platform::File& inner_;
  std::size_t cap_;
  std::size_t run_ = 0;  // bytes kept since the last carriage return
};

bool NamesOfficialSite(platform::Files& files, const std::string& path) {
  // The patcher may hold the file open, even for writing, while we read it.
  auto file = files.Open(path, platform::FileAccess::Read, platform::FileShare::ReadWrite);
  if (!file) return false;
  LineCappedFile capped(*file, ExpectedLine().size() + 2);
  platform::TextLineReader reader(capped);
  bool found = false;
  std::string line;
  // Read on after a match: a read failure later still makes the verdict modified.
  while (reader.Next(line))
    if (!found && IsOfficialSiteLine(line)) found = true;
  const bool closed = file->Close();
  return found && !reader.failed() && closed;
}

}  // namespace

bool IsOfficialSiteLine(const std::string& line) {
  return platform::EqualsFolded(line, ExpectedLine());
}

void CheckPatcherConfig(platform::Services& services, EventLog& log) {
  const std::string path = GameDirectory(GamePath(services)) + game_client::PatcherConfigName;
  if (NamesOfficialSite(services.files, path)) {
    log.Append("Autopatch: ftp.ini OK");
  } else {
    log.Append("Autopatch: ftp.ini modified!");
    log.TurnRed();
  }
}
