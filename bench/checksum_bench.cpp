// The checksum's inner loop beside a plain read of the same memory: the checksum
// should run at close to the speed at which the bytes can be read at all.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstring>
#include <random>
#include <vector>

#include "core/file_checksum.h"

namespace {

constexpr std::size_t BufferSize = std::size_t{256} << 20;
constexpr std::size_t FileBlock = std::size_t{1} << 20;

// Built once and shared by every benchmark of the run. The odd size makes the
// accumulator handle a pending byte at the end, as it would for a real file.
const std::vector<unsigned char>& Buffer() {
  static const std::vector<unsigned char> buffer = [] {
    std::vector<unsigned char> b(BufferSize + 1);
    std::mt19937_64 random(20240601);
    for (std::size_t i = 0; i + 8 <= b.size(); i += 8) {
      const std::uint64_t word = random();
      std::memcpy(b.data() + i, &word, 8);
    }
    return b;
  }();
  return buffer;
}

// The reference: the cheapest loop that still touches every byte.
void BM_PlainPass(benchmark::State& state) {
  const auto& buffer = Buffer();
  for (auto _ : state) {
    std::uint64_t total = 0;
    for (std::size_t i = 0; i + 8 <= buffer.size(); i += 8) {
      std::uint64_t word;
      std::memcpy(&word, buffer.data() + i, 8);
      total += word;
    }
    benchmark::DoNotOptimize(total);
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * buffer.size()));
}

void BM_ChecksumWhole(benchmark::State& state) {
  const auto& buffer = Buffer();
  for (auto _ : state) {
    ChecksumAccumulator sum;
    sum.Add(buffer.data(), buffer.size());
    benchmark::DoNotOptimize(sum.Value());
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * buffer.size()));
}

// As a file is fed: in blocks, each but the first starting one byte off a pair so
// that the pending-byte path runs at every block boundary.
void BM_ChecksumBlocks(benchmark::State& state) {
  const auto& buffer = Buffer();
  for (auto _ : state) {
    ChecksumAccumulator sum;
    sum.Add(buffer.data(), FileBlock + 1);
    for (std::size_t at = FileBlock + 1; at < buffer.size(); at += FileBlock)
      sum.Add(buffer.data() + at, std::min(FileBlock, buffer.size() - at));
    benchmark::DoNotOptimize(sum.Value());
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * buffer.size()));
}

}  // namespace

BENCHMARK(BM_PlainPass)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ChecksumWhole)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ChecksumBlocks)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
