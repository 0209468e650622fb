// The stand-in client's transcript: an append-only text file beside mir.exe that tests read.
// Line format: standin/transcript_format.h.
#pragma once

#include <string>
#include <string_view>

namespace standin {

class Transcript {
 public:
  explicit Transcript(std::string path);  // UTF-8
  ~Transcript();
  Transcript(const Transcript&) = delete;
  Transcript& operator=(const Transcript&) = delete;

  // Appends "<kind> <now> <fields>"; fields are words and transcript::Quote()d texts.
  // An urgent event reaches the file at once; others (the field texts, which come by the
  // thousand in a flood) are buffered and written every BatchSize events or on Flush().
  void Write(std::string_view kind, std::string_view fields, bool urgent);
  void Flush();
  bool HasPending() const { return !buffer_.empty(); }
  const std::string& path() const { return path_; }

  static constexpr int BatchSize = 256;

 private:
  std::string path_;
  std::string buffer_;
  int pending_ = 0;
};

// A text of the system's wide calls in UTF-8, as the transcript holds paths and texts.
std::string Utf8Of(const wchar_t* text);

// "mir-transcript.txt" in the folder of the running executable (a UTF-8 path: the folder
// may be named beyond the code page).
std::string TranscriptPathBesideExe();

}  // namespace standin
