#include "core/dcp_hash.h"

void TDCP_hash::Wipe() { started_ = false; }

void TDCP_hash::AddText(const std::string& text) {
  CheckStarted();
  AddBytes(text.data(), text.size());
}

void TDCP_hash::CheckStarted() const {
  if (!started_) throw EDCP_hash("Hash not initialized");
}
