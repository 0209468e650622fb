#include "standin/transcript.h"

#include <windows.h>

#include <cstdio>

namespace standin {

namespace {

std::string Now() {
  SYSTEMTIME t;
  GetLocalTime(&t);
  char text[32];
  std::snprintf(text, sizeof text, "%04u-%02u-%02uT%02u:%02u:%02u.%03u", t.wYear, t.wMonth, t.wDay,
                t.wHour, t.wMinute, t.wSecond, t.wMilliseconds);
  return text;
}

std::wstring WideOf(const std::string& utf8) {
  const int count = static_cast<int>(utf8.size());
  const int length = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), count, nullptr, 0);
  std::wstring wide(static_cast<size_t>(length > 0 ? length : 0), L'\0');
  if (length > 0) MultiByteToWideChar(CP_UTF8, 0, utf8.data(), count, wide.data(), length);
  return wide;
}

// A buffer that cannot be written (say the disk is gone) must not grow without bound.
constexpr size_t MaxBuffered = 8u << 20;

}  // namespace

Transcript::Transcript(std::string path) : path_(std::move(path)) {}

Transcript::~Transcript() { Flush(); }

void Transcript::Write(std::string_view kind, std::string_view fields, bool urgent) {
  buffer_ += kind;
  buffer_ += ' ';
  buffer_ += Now();
  if (!fields.empty()) {
    buffer_ += ' ';
    buffer_ += fields;
  }
  buffer_ += "\r\n";
  if (urgent || ++pending_ >= BatchSize) Flush();
}

void Transcript::Flush() {
  if (buffer_.empty()) return;
  // Opened per flush, shared for everything: readers may hold it open or delete it between
  // runs, and several clients may append to one file; each write is whole lines.
  HANDLE file = CreateFileW(WideOf(path_).c_str(), FILE_APPEND_DATA,
                            FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                            OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    if (buffer_.size() > MaxBuffered) buffer_.clear();
    return;  // kept for the next flush
  }
  DWORD written = 0;
  bool ok =
      WriteFile(file, buffer_.data(), static_cast<DWORD>(buffer_.size()), &written, nullptr) &&
      written == buffer_.size();
  CloseHandle(file);
  if (ok || buffer_.size() > MaxBuffered) {
    buffer_.clear();
    pending_ = 0;
  } else {
    buffer_.erase(0, written);  // what did reach the file must not be written twice
  }
}

std::string Utf8Of(const wchar_t* text) {
  const int length = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
  if (length <= 1) return {};
  std::string utf8(static_cast<size_t>(length), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text, -1, utf8.data(), length, nullptr, nullptr);
  utf8.resize(static_cast<size_t>(length - 1));
  return utf8;
}

std::string TranscriptPathBesideExe() {
  wchar_t path[MAX_PATH * 2] = L"";
  GetModuleFileNameW(nullptr, path, MAX_PATH * 2);
  std::string folder = Utf8Of(path);
  size_t slash = folder.find_last_of("\\/");
  folder.resize(slash == std::string::npos ? 0 : slash + 1);
  return folder + "mir-transcript.txt";
}

}  // namespace standin
