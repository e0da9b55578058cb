#include <benchmark/benchmark.h>

#include <cstdint>
#include <string>

#include "storage/Scrambler.h"

namespace {

constexpr std::size_t kPlainBytes = 1 << 20;
constexpr std::uint16_t kKey = 857;

// Text-like bytes, as settings files hold.
std::string PlainBytes() {
  std::string plain(kPlainBytes, '\0');
  std::uint32_t x = 12345;
  for (char& c : plain) {
    x = x * 1103515245U + 12345U;
    c = static_cast<char>(32 + (x >> 16) % 95);
  }
  return plain;
}

// Bytes processed count the plain bytes (1 MB) in both directions.
void BM_ScrambleBlock(benchmark::State& state) {
  const std::string plain = PlainBytes();
  for (auto _ : state) {
    std::string scrambled = pelorin::ScrambleBlock(plain, kKey);
    benchmark::DoNotOptimize(scrambled.data());
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                          static_cast<std::int64_t>(kPlainBytes));
}
BENCHMARK(BM_ScrambleBlock);

void BM_UnscrambleBlock(benchmark::State& state) {
  const std::string scrambled = pelorin::ScrambleBlock(PlainBytes(), kKey);
  for (auto _ : state) {
    auto plain = pelorin::UnscrambleBlock(scrambled, kKey);
    if (!plain) {
      state.SkipWithError("the scrambled block was rejected");
      break;
    }
    benchmark::DoNotOptimize(plain->data());
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                          static_cast<std::int64_t>(kPlainBytes));
}
BENCHMARK(BM_UnscrambleBlock);

}  // namespace

BENCHMARK_MAIN();
