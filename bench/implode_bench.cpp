// Implode codec benchmarks, memory to memory: decode throughput (output bytes per second) of
// Explode and of the reference decoder next to memcpy of the same size, and encode throughput
// with the ratio (packed / original) for each literal mode and dictionary size, on the text
// and ELF corpora.
#include <benchmark/benchmark.h>

#include <cstring>
#include <map>
#include <utility>
#include <vector>

#include "archive/implode/explode.h"
#include "archive/implode/implode.h"
#include "bench_corpus.h"
#include "reference_explode.h"

namespace {

using qxi::ImplodeLiterals;
using Bytes = std::vector<uint8_t>;

const Bytes& Corpus(int which) {
  return which == 0 ? qxi::bench::TextCorpus() : qxi::bench::ElfCorpus();
}

// Packed corpus per (corpus, mode, dictionary), encoded once.
const Bytes& Packed(int which, int coded, unsigned dictionary) {
  static std::map<std::tuple<int, int, unsigned>, Bytes> cache;
  auto key = std::make_tuple(which, coded, dictionary);
  auto it = cache.find(key);
  if (it == cache.end()) {
    Bytes out;
    const Bytes& data = Corpus(which);
    qxi::Implode(data.data(), data.size(),
                 qxi::ImplodeOptions{coded ? ImplodeLiterals::kCoded : ImplodeLiterals::kBinary,
                                     dictionary},
                 &out);
    it = cache.emplace(key, std::move(out)).first;
  }
  return it->second;
}

struct MemoryIo {
  const Bytes* input;
  size_t read_pos;
  uint8_t* output;
  size_t write_pos;
};

unsigned ReadMemory(char* buffer, unsigned* size, void* param) {
  MemoryIo& io = *static_cast<MemoryIo*>(param);
  const size_t n = std::min<size_t>(*size, io.input->size() - io.read_pos);
  std::memcpy(buffer, io.input->data() + io.read_pos, n);
  io.read_pos += n;
  return static_cast<unsigned>(n);
}

void WriteMemory(char* buffer, unsigned* size, void* param) {
  MemoryIo& io = *static_cast<MemoryIo*>(param);
  std::memcpy(io.output + io.write_pos, buffer, *size);
  io.write_pos += *size;
}

using Decoder = unsigned (*)(qxi::ExplodeReadFunction, qxi::ExplodeWriteFunction, char*, void*);

// Args: corpus (0 text, 1 ELF), literal mode (0 binary, 1 coded), dictionary size. The work
// area is as large as the larger of the two decoders needs.
void BM_Decode(benchmark::State& state, Decoder decode) {
  const int which = static_cast<int>(state.range(0));
  const Bytes& original = Corpus(which);
  const Bytes& packed = Packed(which, static_cast<int>(state.range(1)),
                               static_cast<unsigned>(state.range(2)));
  Bytes output(original.size());
  std::vector<unsigned> work(qxi::bench::kReferenceWorkAreaSize / sizeof(unsigned));
  for (auto _ : state) {
    MemoryIo io{&packed, 0, output.data(), 0};
    const unsigned result =
        decode(ReadMemory, WriteMemory, reinterpret_cast<char*>(work.data()), &io);
    if (result != qxi::kExplodeOk || io.write_pos != original.size()) {
      state.SkipWithError("decoded output differs");
      break;
    }
    benchmark::DoNotOptimize(output.data());
  }
  if (output != original) state.SkipWithError("decoded output differs");
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * original.size()));
  state.counters["ratio"] = static_cast<double>(packed.size()) / original.size();
}

// The reference: copying the same number of bytes.
void BM_Memcpy(benchmark::State& state) {
  const Bytes& original = Corpus(static_cast<int>(state.range(0)));
  Bytes output(original.size());
  for (auto _ : state) {
    std::memcpy(output.data(), original.data(), original.size());
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * original.size()));
}

// Args as BM_Decode's, plus the effort (0 normal, 1 best) when given.
void BM_Encode(benchmark::State& state) {
  const int which = static_cast<int>(state.range(0));
  const Bytes& original = Corpus(which);
  const qxi::ImplodeOptions options{
      state.range(1) ? ImplodeLiterals::kCoded : ImplodeLiterals::kBinary,
      static_cast<unsigned>(state.range(2)),
      state.range(3) ? qxi::ImplodeEffort::kBest : qxi::ImplodeEffort::kNormal};
  Bytes out;
  for (auto _ : state) {
    out.clear();
    qxi::Implode(original.data(), original.size(), options, &out);
    benchmark::DoNotOptimize(out.data());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * original.size()));
  state.counters["ratio"] = static_cast<double>(out.size()) / original.size();
}

void AllSettings(benchmark::internal::Benchmark* b) {
  b->ArgNames({"corpus", "coded", "dict", "best"});
  for (int which : {0, 1}) {
    for (int coded : {0, 1}) {
      for (int dictionary : {1024, 2048, 4096}) b->Args({which, coded, dictionary, 0});
    }
  }
}

// The best effort, at the largest dictionary only.
void BestEffort(benchmark::internal::Benchmark* b) {
  b->ArgNames({"corpus", "coded", "dict", "best"});
  for (int which : {0, 1}) {
    for (int coded : {0, 1}) b->Args({which, coded, 4096, 1});
  }
}

BENCHMARK(BM_Memcpy)->ArgName("corpus")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Decode, explode, qxi::Explode)->Apply(AllSettings)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Decode, reference, qxi::bench::ReferenceExplode)
    ->Apply(AllSettings)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Encode)->Apply(AllSettings)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Encode)->Apply(BestEffort)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
