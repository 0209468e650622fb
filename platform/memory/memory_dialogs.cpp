#include "platform/memory/memory_dialogs.h"

#include <algorithm>
#include <stdexcept>
#include <utility>

#include "platform/memory/memory_form.h"

namespace platform {

namespace {

const char* TitleOf(MessageKind kind) {
  switch (kind) {
    case MessageKind::Error: return "Error";
    case MessageKind::Information: return "Information";
    case MessageKind::Confirmation: return "Confirm";
  }
  return "";
}

bool Fits(MessageKind kind, MessageAnswer answer) {
  const bool confirm = kind == MessageKind::Confirmation;
  return confirm ? answer != MessageAnswer::Ok : answer == MessageAnswer::Ok;
}

}  // namespace

void MemoryDialogs::ScriptMessage(MessageKind kind, const std::string& text, MessageAnswer answer,
                                  Action whileOpen) {
  if (!Fits(kind, answer)) throw std::invalid_argument("that box has no such button");
  messageScripts_.push_back({kind, text, answer, std::move(whileOpen)});
}

void MemoryDialogs::ScriptMessageOfKind(MessageKind kind, MessageAnswer answer, Action whileOpen) {
  if (!Fits(kind, answer)) throw std::invalid_argument("that box has no such button");
  messageScripts_.push_back({kind, std::nullopt, answer, std::move(whileOpen)});
}

void MemoryDialogs::ScriptAnyMessage(MessageAnswer answer, Action whileOpen) {
  messageScripts_.push_back({std::nullopt, std::nullopt, answer, std::move(whileOpen)});
}

void MemoryDialogs::ScriptInput(const std::string& title, std::optional<std::string> answer) {
  inputScripts_.push_back({title, std::move(answer)});
}

void MemoryDialogs::ScriptAnyInput(std::optional<std::string> answer) {
  inputScripts_.push_back({std::nullopt, std::move(answer)});
}

void MemoryDialogs::ScriptOpenDialog(std::optional<std::string> chosenPath) {
  openScripts_.push_back(std::move(chosenPath));
}

void MemoryDialogs::ScriptModal(ModalHandler handler) {
  modalScripts_.push_back({std::nullopt, std::move(handler)});
}

void MemoryDialogs::ScriptModal(const std::string& caption, ModalHandler handler) {
  modalScripts_.push_back({caption, std::move(handler)});
}

int MemoryDialogs::UnusedScripts() const {
  return static_cast<int>(messageScripts_.size() + inputScripts_.size() + openScripts_.size() +
                          modalScripts_.size());
}

std::vector<std::string> MemoryDialogs::MessageTexts() const {
  std::vector<std::string> texts;
  for (const auto& b : boxes_) texts.push_back(b.text);
  return texts;
}

MessageAnswer MemoryDialogs::ShowBox(MessageKind kind, const std::string& text) {
  MessageBoxRecord record;
  record.atMs = ui_.clock.nowMs();
  record.kind = kind;
  record.title = TitleOf(kind);
  record.text = text;
  record.buttons = kind == MessageKind::Confirmation ? std::vector<std::string>{"&Yes", "&No"}
                                                     : std::vector<std::string>{"OK"};
  auto it = std::find_if(messageScripts_.begin(), messageScripts_.end(), [&](const auto& s) {
    return (!s.kind || *s.kind == kind) && (!s.text || *s.text == text) && Fits(kind, s.answer);
  });
  Action whileOpen;
  if (it == messageScripts_.end()) {
    record.answer = kind == MessageKind::Confirmation ? MessageAnswer::No : MessageAnswer::Ok;
    record.unexpected = true;
    unexpected_.push_back(std::string("message ") + record.title + ": " + text);
  } else {
    record.answer = it->answer;
    whileOpen = std::move(it->whileOpen);
    messageScripts_.erase(it);
  }
  const MessageAnswer answer = record.answer;
  boxes_.push_back(std::move(record));
  if (whileOpen) {
    OpenBox open(ui_);
    whileOpen();
  }
  return answer;
}

std::string MemoryDialogs::ShowInput(const std::string& title, const std::string& prompt,
                                     const std::string& text) {
  InputBoxRecord record{ui_.clock.nowMs(), title, prompt, text, text, false, false};
  auto it = std::find_if(inputScripts_.begin(), inputScripts_.end(),
                         [&](const auto& s) { return !s.title || *s.title == title; });
  if (it == inputScripts_.end()) {
    record.cancelled = true;
    record.unexpected = true;
    unexpected_.push_back("input " + title + ": " + prompt);
  } else {
    record.cancelled = !it->answer;
    if (it->answer) record.result = *it->answer;
    inputScripts_.erase(it);
  }
  inputs_.push_back(record);
  return record.result;
}

std::string MemoryDialogs::ShowOpen(const OpenDialogSpec& spec) {
  OpenDialogRecord record{ui_.clock.nowMs(), spec, spec.fileName, false, false};
  if (openScripts_.empty()) {
    record.cancelled = true;
    record.unexpected = true;
    unexpected_.push_back("open " + spec.title);
  } else {
    record.cancelled = !openScripts_.front();
    if (openScripts_.front()) record.result = *openScripts_.front();
    openScripts_.pop_front();
  }
  opens_.push_back(record);
  return record.result;
}

void MemoryDialogs::RunModal(MemoryForm& form) {
  const std::string caption = form.Caption();
  auto it = std::find_if(modalScripts_.begin(), modalScripts_.end(),
                         [&](const auto& s) { return !s.caption || *s.caption == caption; });
  if (it == modalScripts_.end()) {
    unexpected_.push_back("modal " + caption);
    form.Close();
    ui_.Record(form, FormEvent::ClosedUnscripted);
    return;
  }
  ModalHandler handler = std::move(it->handler);
  modalScripts_.erase(it);
  handler(form);
  if (form.Showing()) {
    form.Close();
    ui_.Record(form, FormEvent::ClosedAfterScript);
  }
}

}  // namespace platform
