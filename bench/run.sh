#!/usr/bin/env bash
# Builds the benchmarks in release mode, runs the checksum benchmark and prints how
# fast the checksum is against a plain read of the same memory (target: >= 0.8).
set -euo pipefail
cd "$(dirname "$0")/.."

cmake --preset bench >/dev/null
cmake --build --preset bench --target checksum_bench -j2

out="build/bench/checksum_bench.csv"
build/bench/bench/checksum_bench --benchmark_repetitions="${REPETITIONS:-3}" \
  --benchmark_report_aggregates_only=true \
  --benchmark_out="$out" --benchmark_out_format=csv "$@"

# Compare the medians of the bytes-per-second column (the file starts with a few lines
# about the machine before the header).
awk -F, '
  $1 == "name" { for (i = 1; i <= NF; i++) if ($i == "bytes_per_second") col = i; next }
  !col { next }
  /_median"?,/ { name = $1; gsub(/"/, "", name); sub(/_median$/, "", name); rate[name] = $col }
  END {
    plain = rate["BM_PlainPass"]
    if (plain == "" || plain == 0) { print "no plain pass result"; exit 1 }
    for (n in rate) if (n != "BM_PlainPass")
      printf "%-18s %7.2f GB/s   ratio to plain pass %.2f\n", n, rate[n] / 1e9, rate[n] / plain
    printf "%-18s %7.2f GB/s\n", "BM_PlainPass", plain / 1e9
  }' "$out"
