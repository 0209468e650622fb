// Texts that the system gives in UTF-8 (paths, autostart entries) as they are kept in
// the settings store, sealed. A text the code page holds is kept as its code-page bytes,
// exactly as the 8-bit calls always gave it, so that values stored before stay valid;
// any other text is kept as its UTF-8 bytes, so that it keeps its identity.
#pragma once

#include <string>

#include "platform/registry.h"

// The bytes to seal for a UTF-8 text.
std::string StoredForm(platform::Registry& registry, const std::string& utf8);

// The UTF-8 text of unsealed stored bytes. The bytes are read as UTF-8 only where
// StoredForm would have written them so: valid UTF-8 that the code page cannot hold.
std::string Utf8OfStored(platform::Registry& registry, const std::string& stored);

// The code-page form of a UTF-8 text for the event log, "?" where it has no character.
std::string ShownForm(platform::Registry& registry, const std::string& utf8);
