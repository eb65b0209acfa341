// Throughput of the save codec against its bit-serial reference and against
// zlib's Huffman-only deflate and inflate on the same data, in MB/s of
// original bytes. After the runs it prints the ratios the codec is held to:
// decode at least 2x inflate, encode at least 2x Huffman-only deflate, and on
// inputs of 1 MB and more decode at least 10x the bit-serial reference (the
// 50 KB save body is held to the zlib targets only). Exits 0 when every
// target holds, 1 when one is missed.
#include <benchmark/benchmark.h>
#include <zlib.h>

#include <cstdio>
#include <cstdlib>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "codec/huffman_decoder.h"
#include "codec/huffman_encoder.h"
#include "codec/reference_codec.h"

namespace {

using ws::codec::Bytes;

// The smallest input held to the 10x target against the bit-serial decoder.
constexpr std::size_t kReferenceTargetMinSize = std::size_t{1} << 20;

// Mostly zeros, with records of 20 to 3400 bytes that recur with small
// variations: little-endian words of small constants, CP932 names and ASCII
// text, as the area, town and character records of a save body are.
Bytes saveBodyLike(std::size_t size) {
  std::mt19937 random(1);
  std::vector<Bytes> templates;
  for (int t = 0; t < 12; ++t) {
    Bytes record(20 + random() % 3381, 0);
    for (std::size_t i = 0; i + 4 <= record.size(); i += 4 + random() % 12) {
      switch (random() % 4) {
        case 0:  // a small constant
          record[i] = static_cast<std::uint8_t>(random() % 16);
          break;
        case 1:  // a katakana name
          for (std::size_t k = 0; k + 1 < 4; k += 2) {
            record[i + k] = 0x83;
            record[i + k + 1] = static_cast<std::uint8_t>(0x40 + random() % 0x56);
          }
          break;
        case 2:  // ASCII text
          for (std::size_t k = 0; k < 4; ++k) {
            record[i + k] = static_cast<std::uint8_t>('a' + random() % 26);
          }
          break;
        default:  // a position, doubled
          record[i] = static_cast<std::uint8_t>((random() % 256) * 2);
          record[i + 1] = static_cast<std::uint8_t>(random() % 2);
          break;
      }
    }
    templates.push_back(record);
  }
  Bytes body;
  while (body.size() < size) {
    body.resize(body.size() + random() % 2000, 0);
    Bytes record = templates[random() % templates.size()];
    record[random() % record.size()] = static_cast<std::uint8_t>(random() % 8);
    body.insert(body.end(), record.begin(), record.end());
  }
  body.resize(size);
  return body;
}

Bytes uniformRandom(std::size_t size) {
  std::mt19937 random(2);
  Bytes bytes(size);
  for (auto& b : bytes)
    b = static_cast<std::uint8_t>(random());
  return bytes;
}

// Words drawn with Zipf-like weights: English-like letter statistics.
Bytes skewedText(std::size_t size) {
  static const char* const kWords[] = {
      "the",    "of",    "and",   "to",     "a",       "in",     "is",    "that",  "for",
      "it",     "as",    "was",   "with",   "be",      "by",     "on",    "not",   "he",
      "this",   "are",   "or",    "his",    "from",    "at",     "which", "but",   "have",
      "an",     "had",   "they",  "you",    "were",    "their",  "one",   "all",   "we",
      "town",   "guard", "field", "gate",   "priest",  "shop",   "world", "north", "river",
      "dragon", "sword", "quest", "castle", "village", "keeper", "Link",  "Gate",  "\n"};
  constexpr std::size_t kWordCount = sizeof kWords / sizeof kWords[0];
  std::vector<double> weights;
  for (std::size_t i = 0; i < kWordCount; ++i)
    weights.push_back(1.0 / static_cast<double>(i + 1));
  std::mt19937 random(3);
  std::discrete_distribution<std::size_t> pick(weights.begin(), weights.end());
  Bytes text;
  while (text.size() < size) {
    const std::string word = kWords[pick(random)];
    text.insert(text.end(), word.begin(), word.end());
    text.push_back(random() % 11 == 0 ? '.' : ' ');
  }
  text.resize(size);
  return text;
}

struct Dataset {
  std::string name;
  Bytes data;
  Bytes stream;    // ours
  Bytes deflated;  // zlib, raw deflate, Huffman only
};

Bytes deflateHuffmanOnly(z_stream& z, const Bytes& data) {
  Bytes out(deflateBound(&z, static_cast<uLong>(data.size())));
  deflateReset(&z);
  z.next_in = const_cast<Bytef*>(data.data());
  z.avail_in = static_cast<uInt>(data.size());
  z.next_out = out.data();
  z.avail_out = static_cast<uInt>(out.size());
  if (deflate(&z, Z_FINISH) != Z_STREAM_END) std::abort();
  out.resize(z.total_out);
  return out;
}

void inflateRaw(z_stream& z, const Bytes& deflated, Bytes& out) {
  inflateReset(&z);
  z.next_in = const_cast<Bytef*>(deflated.data());
  z.avail_in = static_cast<uInt>(deflated.size());
  z.next_out = out.data();
  z.avail_out = static_cast<uInt>(out.size());
  if (inflate(&z, Z_FINISH) != Z_STREAM_END) std::abort();
}

struct Zlib {
  z_stream deflater{};
  z_stream inflater{};
  Zlib() {
    if (deflateInit2(&deflater, Z_DEFAULT_COMPRESSION, Z_DEFLATED, -15, 8, Z_HUFFMAN_ONLY) !=
            Z_OK ||
        inflateInit2(&inflater, -15) != Z_OK) {
      std::abort();
    }
  }
  ~Zlib() {
    deflateEnd(&deflater);
    inflateEnd(&inflater);
  }
};

Zlib& zlib() {
  static Zlib instance;
  return instance;
}

std::vector<Dataset>& datasets() {
  static std::vector<Dataset> all = [] {
    std::vector<Dataset> list = {{"save_body_50k", saveBodyLike(50 * 1024), {}, {}},
                                 {"save_body_1m", saveBodyLike(1 << 20), {}, {}},
                                 {"random_1m", uniformRandom(1 << 20), {}, {}},
                                 {"skewed_text_1m", skewedText(1 << 20), {}, {}}};
    for (Dataset& d : list) {
      d.stream = ws::codec::encodeStream(d.data);
      d.deflated = deflateHuffmanOnly(zlib().deflater, d.data);
      // Every contender must give the data back before it is timed.
      auto decoded = ws::codec::decodeStream(d.stream);
      auto reference = ws::codec::reference::decodeStream(d.stream);
      Bytes inflated(d.data.size());
      inflateRaw(zlib().inflater, d.deflated, inflated);
      if (!decoded || *decoded != d.data || !reference || *reference != d.data ||
          inflated != d.data || *ws::codec::reference::encodeStream(d.data) != d.stream) {
        std::fprintf(stderr, "round trip failed on %s\n", d.name.c_str());
        std::abort();
      }
    }
    return list;
  }();
  return all;
}

void setBytes(benchmark::State& state, const Dataset& d) {
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                          static_cast<std::int64_t>(d.data.size()));
}

void registerAll() {
  for (const Dataset& d : datasets()) {
    benchmark::RegisterBenchmark(("encode/" + d.name + "/fast").c_str(), [&d](benchmark::State& s) {
      for (auto _ : s)
        benchmark::DoNotOptimize(ws::codec::encodeStream(d.data));
      setBytes(s, d);
    });
    benchmark::RegisterBenchmark(
        ("encode/" + d.name + "/reference").c_str(), [&d](benchmark::State& s) {
          for (auto _ : s) {
            benchmark::DoNotOptimize(ws::codec::reference::encodeStream(d.data));
          }
          setBytes(s, d);
        });
    benchmark::RegisterBenchmark(("encode/" + d.name + "/zlib").c_str(), [&d](benchmark::State& s) {
      for (auto _ : s)
        benchmark::DoNotOptimize(deflateHuffmanOnly(zlib().deflater, d.data));
      setBytes(s, d);
    });
    benchmark::RegisterBenchmark(("decode/" + d.name + "/fast").c_str(), [&d](benchmark::State& s) {
      for (auto _ : s)
        benchmark::DoNotOptimize(ws::codec::decodeStream(d.stream));
      setBytes(s, d);
    });
    benchmark::RegisterBenchmark(
        ("decode/" + d.name + "/reference").c_str(), [&d](benchmark::State& s) {
          for (auto _ : s) {
            benchmark::DoNotOptimize(ws::codec::reference::decodeStream(d.stream));
          }
          setBytes(s, d);
        });
    benchmark::RegisterBenchmark(("decode/" + d.name + "/zlib").c_str(), [&d](benchmark::State& s) {
      for (auto _ : s) {
        // The output buffer is made per call, as decodeStream makes its own.
        Bytes out(d.data.size());
        inflateRaw(zlib().inflater, d.deflated, out);
        benchmark::DoNotOptimize(out.data());
      }
      setBytes(s, d);
    });
  }
}

// Keeps the console output and remembers each run's MB/s for the ratios.
class RatioReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& run : runs) {
      // With repetitions, the median stands for the benchmark: a shared
      // machine's hiccups move the mean.
      const bool single = run.run_type == Run::RT_Iteration && run.repetitions <= 1;
      const bool median = run.run_type == Run::RT_Aggregate && run.aggregate_name == "median";
      const auto rate = run.counters.find("bytes_per_second");
      if ((single || median) && rate != run.counters.end()) {
        mbPerSecond_[run.run_name.function_name] = rate->second.value / 1e6;
      }
    }
  }

  // Returns false when a target is missed.
  bool printRatios() const {
    bool allMet = true;
    int compared = 0;
    std::printf("\n%-16s %9s %9s %9s %8s | %9s %9s %9s %8s %8s\n", "data", "enc MB/s", "ref",
                "zlib", "vs zlib", "dec MB/s", "ref", "inflate", "vs infl", "vs ref");
    for (const Dataset& d : datasets()) {
      const double enc = rate("encode", d, "fast");
      const double encRef = rate("encode", d, "reference");
      const double encZlib = rate("encode", d, "zlib");
      const double dec = rate("decode", d, "fast");
      const double decRef = rate("decode", d, "reference");
      const double decZlib = rate("decode", d, "zlib");
      if (enc == 0 || encRef == 0 || encZlib == 0 || dec == 0 || decRef == 0 || decZlib == 0) {
        continue;  // filtered out
      }
      const double encVsZlib = enc / encZlib;
      const double decVsZlib = dec / decZlib;
      const double decVsRef = dec / decRef;
      // Data that deflate cannot shrink it stores raw, and inflate is then a
      // copy: no Huffman decoding is left to compare against.
      const bool stored = d.deflated.size() >= d.data.size();
      const bool heldToReference = d.data.size() >= kReferenceTargetMinSize;
      std::printf("%-16s %9.0f %9.0f %9.0f %7.2fx | %9.0f %9.0f %9.0f %7.2fx %7.1fx%s%s\n",
                  d.name.c_str(), enc, encRef, encZlib, encVsZlib, dec, decRef, decZlib, decVsZlib,
                  decVsRef, heldToReference ? "" : "  (below 1 MB: no target against ref)",
                  stored ? "  (zlib stored it raw: inflate is a copy)" : "");
      const bool met =
          encVsZlib >= 2 && (stored || decVsZlib >= 2) && (!heldToReference || decVsRef >= 10);
      if (!met) std::printf("%-16s misses a target\n", d.name.c_str());
      allMet = allMet && met;
      ++compared;
    }
    std::printf(
        "targets: encode >= 2x zlib Huffman-only deflate, decode >= 2x inflate, and from 1 MB "
        "decode >= 10x the bit-serial reference: %s\n",
        compared == 0 ? "not measured"
        : allMet      ? "met"
                      : "MISSED");
    return allMet;
  }

 private:
  double rate(const char* direction, const Dataset& d, const char* contender) const {
    const auto found = mbPerSecond_.find(std::string(direction) + "/" + d.name + "/" + contender);
    return found == mbPerSecond_.end() ? 0 : found->second;
  }

  std::map<std::string, double> mbPerSecond_;
};

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 2;
  registerAll();
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  const bool met = reporter.printRatios();
  benchmark::Shutdown();
  return met ? 0 : 1;
}
