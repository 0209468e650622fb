// The cost of one utility password prompt's check under Wine: the verifier's derivation
// (PBKDF2-HMAC-SHA256, 600,000 rounds), its check value and the lock key's box, as the
// login dialog runs them; beside it the system's own PBKDF2 of the same rounds, which
// the program does not use because of it. Medians of <runs> runs; target below 500 ms.
// It reports and never fails because the machine is slow.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "core/secret_box.h"
#include "lock/password_verifier.h"
#include "platform/sha256.h"
#include "platform/win32/win32_machine.h"

namespace {

double Seconds() {
  LARGE_INTEGER now, frequency;
  QueryPerformanceCounter(&now);
  QueryPerformanceFrequency(&frequency);
  return static_cast<double>(now.QuadPart) / static_cast<double>(frequency.QuadPart);
}

template <typename Work>
double MedianMs(int runs, Work work) {
  std::vector<double> times;
  for (int i = 0; i < runs; ++i) {
    const double start = Seconds();
    work();
    times.push_back((Seconds() - start) * 1000);
  }
  std::sort(times.begin(), times.end());
  return times[times.size() / 2];
}

using Open = LONG(WINAPI*)(void**, LPCWSTR, LPCWSTR, ULONG);
using Derive = LONG(WINAPI*)(void*, PUCHAR, ULONG, PUCHAR, ULONG, ULONGLONG, PUCHAR, ULONG, ULONG);

}  // namespace

int main(int argc, char** argv) {
  const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
  platform::win32::Win32Machine machine;
  platform::Services services = machine.services();
  const BoxKey key = BoxKey::Drawn(services.random);
  const std::string verifier = SealedVerifier(services, "Secret", key);
  bool accepted = true;
  const double check = MedianMs(runs, [&] {
    accepted = accepted && CheckPassword(services.volume, verifier, "Secret", "Secret").accepted;
  });

  double system = -1;
  HMODULE bcrypt = LoadLibraryExW(L"bcrypt.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
  auto open = reinterpret_cast<Open>(
      reinterpret_cast<void*>(GetProcAddress(bcrypt, "BCryptOpenAlgorithmProvider")));
  auto derive = reinterpret_cast<Derive>(
      reinterpret_cast<void*>(GetProcAddress(bcrypt, "BCryptDeriveKeyPBKDF2")));
  void* algorithm = nullptr;
  if (open && derive && open(&algorithm, L"SHA256", nullptr, 0x8) == 0) {
    std::string password = "Secret", salt(16, 's');
    unsigned char out[32];
    system = MedianMs(runs, [&] {
      derive(algorithm, reinterpret_cast<PUCHAR>(password.data()), 6,
             reinterpret_cast<PUCHAR>(salt.data()), 16, PasswordRounds, out, 32, 0);
    });
  }
  std::printf("prompt check (%u rounds, %s): %.0f ms, median of %d (target below 500 ms)%s\n",
              PasswordRounds,
              platform::Sha256UsesCpuInstructions() ? "SHA instructions" : "plain code", check,
              runs, accepted ? "" : " -- NOT ACCEPTED");
  std::printf("system's PBKDF2 of the same rounds: %.0f ms\n", system);
  return accepted ? 0 : 1;
}
