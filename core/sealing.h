// Sealed text: how secrets and integrity values are kept in the settings store.
//
// A text is sealed by enciphering its bytes with RC4 under the SHA-1 digest of the
// machine text followed by a fixed constant, and writing the result in Base64. Every
// call derives the key afresh and starts the key stream anew, so sealing is
// deterministic on one machine (callers compare sealed texts directly), and a text
// sealed on a machine with another volume serial unseals, without error, to other
// bytes of the same length. Texts are byte strings; any byte, zero included, is kept.
#pragma once

#include <string>

#include "platform/system.h"

// The volume serial of "C:\" as "HHHH-LLLL": high and low 16 bits, four upper-case
// hexadecimal digits each.
std::string MachineText(platform::Volume& volume);

// The empty text seals to the empty text, without asking the volume.
std::string SealText(platform::Volume& volume, const std::string& plain);
std::string UnsealText(platform::Volume& volume, const std::string& sealed);
