// Opening the stored skin package: LZH decoding plus the archive parse, as
// the player does once at start-up. The baseline copies the same number of
// bytes with memcpy, so the ratio says how far decoding is from a plain copy.
#include "skin/LZH.h"
#include "skin/SkinReader.h"

#include <benchmark/benchmark.h>

#include <cstring>
#include <fstream>
#include <iterator>
#include <vector>

namespace {

const std::vector<uint8_t>& StoredPackage()
{
  static const std::vector<uint8_t> bytes = [] {
    std::ifstream in(PLAYER_STORED_SKIN, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }();
  return bytes;
}

void BM_CopyBaseline(benchmark::State& state)
{
  skin::TSkinReader reader;
  if (!reader.Open(StoredPackage())) {
    state.SkipWithError("stored skin package missing or unreadable");
    return;
  }
  const std::vector<uint8_t> source(size_t(reader.UnpackedSize()), 1);
  std::vector<uint8_t> target(source.size());
  for (auto _ : state) {
    std::memcpy(target.data(), source.data(), source.size());
    benchmark::DoNotOptimize(target.data());
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(source.size()));
}
BENCHMARK(BM_CopyBaseline);

void BM_OpenStoredPackage(benchmark::State& state)
{
  const std::vector<uint8_t>& package = StoredPackage();
  int64_t unpacked = 0;
  for (auto _ : state) {
    skin::TSkinReader reader;
    if (!reader.Open(package)) {
      state.SkipWithError("stored skin package missing or unreadable");
      return;
    }
    unpacked = reader.UnpackedSize();
    benchmark::DoNotOptimize(reader.Data().data());
  }
  state.SetBytesProcessed(int64_t(state.iterations()) * unpacked);
}
BENCHMARK(BM_OpenStoredPackage)->Unit(benchmark::kMillisecond);

void BM_DecodeOnly(benchmark::State& state)
{
  const std::vector<uint8_t>& package = StoredPackage();
  skin::TSkinReader probe;
  if (!probe.Open(package)) {
    state.SkipWithError("stored skin package missing or unreadable");
    return;
  }
  const auto stream = std::span<const uint8_t>(package).subspan(4);
  for (auto _ : state)
    benchmark::DoNotOptimize(skin::TLZH::DecodeBuffer(stream, probe.UnpackedSize()).data());
  state.SetBytesProcessed(int64_t(state.iterations()) * probe.UnpackedSize());
}
BENCHMARK(BM_DecodeOnly)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
