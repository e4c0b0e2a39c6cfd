// The large Shift_JIS CRLF file the benchmarks read: at least 256 MiB (or
// $VINTOREL_BENCH_MIB MiB, for the 1 GiB figures), lines of 40 to 160 bytes
// (100 on average), generated once in $TMPDIR (else /tmp) and reused by later
// runs.
#pragma once
#include <sys/stat.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>

namespace bench_support {

inline std::uint64_t wanted_mib() {
  const char* mib = std::getenv("VINTOREL_BENCH_MIB");
  std::uint64_t n = mib ? std::strtoull(mib, nullptr, 10) : 0;
  return n > 0 ? n : 256;
}

inline const std::uint64_t wanted_size = wanted_mib() << 20;

inline std::string bench_path(bool utf8 = false) {
  const char* base = std::getenv("TMPDIR");
  std::string size = std::to_string(wanted_mib()) + "m.txt";
  return std::string(base && *base ? base : "/tmp") +
         (utf8 ? "/vintorel_bench_utf8_crlf_" : "/vintorel_bench_sjis_crlf_") + size;
}

inline std::uint64_t size_of(const std::string& path) {
  struct stat status;
  return stat(path.c_str(), &status) == 0 ? static_cast<std::uint64_t>(status.st_size) : 0;
}

// Lines of kanji, kana and ASCII words, in Shift_JIS or in UTF-8.
inline bool generate(const std::string& path, bool utf8) {
  static const char* const sjis_words[] = {
      "\x93\xFA\x96\x7B\x8C\xEA",  // 日本語
      "\x82\xCC",                  // の
      "\x83\x65\x83\x4C\x83\x58\x83\x67",  // テキスト
      "\x95\xD2\x8F\x57",          // 編集
      "\x8A\xBF\x8E\x9A",          // 漢字
      "\x82\xC6",                  // と
      "\xB6\xC0\xB6\xC5",          // ｶﾀｶﾅ
      "\x81\x41",                  // 、
      "\x81\x42",                  // 。
      "file", "line", " ", " ", "0123", "\t"};
  static const char* const utf8_words[] = {"日本語", "の", "テキスト", "編集", "漢字", "と", "ｶﾀｶﾅ", "、", "。",
                                           "file", "line", " ",  " ",        "0123", "\t"};
  static_assert(sizeof sjis_words == sizeof utf8_words);
  const char* const* words = utf8 ? utf8_words : sjis_words;
  const std::size_t word_count = sizeof sjis_words / sizeof sjis_words[0];
  std::string temporary = path + ".part";
  std::FILE* out = std::fopen(temporary.c_str(), "wb");
  if (!out) return false;
  std::mt19937 random(42);
  std::string line;
  std::uint64_t written = 0;
  bool ok = true;
  while (ok && written < wanted_size) {
    line.clear();
    std::size_t target = 40 + random() % 121;
    while (line.size() < target) line += words[random() % word_count];
    line += "\r\n";
    ok = std::fwrite(line.data(), 1, line.size(), out) == line.size();
    written += line.size();
  }
  ok = std::fclose(out) == 0 && ok;
  return ok && std::rename(temporary.c_str(), path.c_str()) == 0;
}

inline std::string make_bench_file(bool utf8) {
  std::string p = bench_path(utf8);
  if (size_of(p) < wanted_size && !generate(p, utf8)) {
    std::fprintf(stderr, "cannot write %s\n", p.c_str());
    std::exit(1);
  }
  return p;
}

inline const std::string& bench_file() {
  static const std::string path = make_bench_file(false);
  return path;
}

// The same kind of text in UTF-8.
inline const std::string& bench_file_utf8() {
  static const std::string path = make_bench_file(true);
  return path;
}

}  // namespace bench_support
