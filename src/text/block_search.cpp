// Searching runs of lines, by whole file pieces where the file's bytes are the
// lines' internal form.
#include "text/block_search.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <new>
#include <vector>

namespace vintorel {

namespace {

constexpr std::size_t npos = std::string_view::npos;
// Bytes read and searched at a time: whole cache blocks, read past the cache.
constexpr std::size_t piece_size = 4 * block_file::block_size;

// Only where a file line's bytes are its internal form up to its line end
// (Shift_JIS: fetching changes nothing but the line end) and the pattern's
// bytes must match exactly can a byte search of the file find every match.
bool blocks_usable(const text_document& document, const search_pattern& pattern) {
  return pattern.usable && !pattern.ignore_case && document.file_charset == shift_jis && is_open(document.file);
}

bool is_file_line(const text_document& document, std::int32_t line) {
  return !document.lines.is_in_memory(line) && document.lines.offset(line) != in_memory;
}

// The line of the run [low, high] whose bytes hold file offset `at`.
std::int32_t line_at(const text_document& document, std::int32_t low, std::int32_t high, std::uint64_t at) {
  while (low < high) {
    std::int32_t middle = low + (high - low + 1) / 2;
    if (document.lines.offset(middle) <= at) low = middle;
    else high = middle - 1;
  }
  return low;
}

struct piece_reader {
  std::unique_ptr<char[]> buffer;
  std::size_t capacity = 0;

  bool ready(std::size_t overlap) {
    if (buffer) return true;
    capacity = piece_size + overlap;
    buffer.reset(new (std::nothrow) char[capacity]);
    return buffer != nullptr;
  }
};

enum class run_result { found, none, unreadable };

// Forward over the run [low, high]: the first line with a match.
run_result forward_in_run(text_document& document, const search_pattern& pattern, std::int32_t low,
                          std::int32_t high, piece_reader& reader, byte_string& fetched, line_match& match) {
  const std::size_t n = pattern.n;
  const std::uint64_t end = document.lines.offset(high) + document.lines.length(high);
  std::uint64_t from = document.lines.offset(low);  // no match starts before this
  std::uint64_t read_to = from;                       // bytes before this were read
  std::size_t kept = 0;  // bytes from read_to - kept on are in the buffer
  std::int32_t line = low;
  while (read_to < end) {
    if (from > read_to) {
      read_to = from;
      kept = 0;
    }
    // Pieces end on block boundaries, so the cache reads whole blocks.
    std::uint64_t piece_end = std::min(end, (read_to / block_file::block_size) * block_file::block_size + piece_size);
    std::size_t want = static_cast<std::size_t>(piece_end - read_to);
    if (!read_at(document.file, read_to, reader.buffer.get() + kept, want)) return run_result::unreadable;
    const char* window = reader.buffer.get();
    const std::size_t size = kept + want;
    const std::uint64_t window_start = read_to - kept;
    std::size_t at = static_cast<std::size_t>(from - window_start);
    while (at + n <= size) {
      const void* hit = memmem(window + at, size - at, pattern.bytes.data(), n);
      if (!hit) break;
      std::uint64_t offset = window_start + static_cast<std::size_t>(static_cast<const char*>(hit) - window);
      line = line_at(document, line, high, offset);
      if (!document.fetch_line(line, fetched)) return run_result::unreadable;
      std::size_t found = first_match_in_line(fetched, 0, pattern);
      if (found != npos) {
        match = {line, found};
        return run_result::found;
      }
      // The line holds no match: the search goes on behind it.
      from = document.lines.offset(line) + document.lines.length(line);
      if (from >= piece_end) break;
      at = static_cast<std::size_t>(from - window_start);
    }
    read_to = piece_end;
    from = std::max(from, piece_end - std::min<std::uint64_t>(n - 1, piece_end - window_start));
    // The last n - 1 bytes may begin a match that ends in the next piece.
    kept = from < piece_end ? static_cast<std::size_t>(piece_end - from) : 0;
    std::memmove(reader.buffer.get(), window + (size - kept), kept);
  }
  return run_result::none;
}

// Backward over the run [low, high]: the last line with a match.
run_result backward_in_run(text_document& document, const search_pattern& pattern, std::int32_t low,
                           std::int32_t high, piece_reader& reader, byte_string& fetched,
                           std::vector<std::uint64_t>& hits, line_match& match) {
  const std::size_t n = pattern.n;
  const std::uint64_t start = document.lines.offset(low);
  // No match starts at or after `before`; every byte behind it was searched.
  std::uint64_t before = document.lines.offset(high) + document.lines.length(high);
  // The bytes from `before` on that a match starting before it may reach into
  // (at most n - 1), kept from the piece read before; none where `before` is a
  // line start, since no match reaches across a line end.
  byte_string tail;
  std::int32_t line = high;
  while (before > start) {
    // The whole blocks that end with the one holding the byte before `before`.
    std::uint64_t last_block = ((before - 1) / block_file::block_size) * block_file::block_size;
    std::uint64_t piece_start = last_block >= piece_size - block_file::block_size
                                    ? last_block - (piece_size - block_file::block_size)
                                    : 0;
    piece_start = std::max(start, piece_start);
    std::size_t body = static_cast<std::size_t>(before - piece_start);
    if (!read_at(document.file, piece_start, reader.buffer.get(), body)) return run_result::unreadable;
    std::memcpy(reader.buffer.get() + body, tail.data(), tail.size());
    const char* window = reader.buffer.get();
    const std::size_t size = body + tail.size();
    hits.clear();
    for (std::size_t at = 0; at + n <= size;) {
      const void* hit = memmem(window + at, size - at, pattern.bytes.data(), n);
      if (!hit) break;
      std::size_t found = static_cast<std::size_t>(static_cast<const char*>(hit) - window);
      if (found >= body) break;
      hits.push_back(piece_start + found);
      at = found + 1;
    }
    bool at_line_start = false;
    while (!hits.empty()) {
      std::uint64_t offset = hits.back();
      line = line_at(document, low, line, offset);
      if (!document.fetch_line(line, fetched)) return run_result::unreadable;
      std::size_t found = last_match_in_line(fetched, content_end(fetched), pattern);
      if (found != npos) {
        match = {line, found};
        return run_result::found;
      }
      // Every hit in this line is judged: the search goes on before it.
      std::uint64_t line_start = document.lines.offset(line);
      while (!hits.empty() && hits.back() >= line_start) hits.pop_back();
      before = line_start;
      at_line_start = true;
    }
    if (before > piece_start || !at_line_start) {
      tail.assign(window, std::min(n - 1, size));
      before = piece_start;
    } else {
      tail.clear();
    }
  }
  return run_result::none;
}

}  // namespace

std::size_t first_match_in_line(std::string_view line, std::size_t from, const search_pattern& pattern) {
  if (from >= line.size()) return npos;
  match_scanner scanner(line, pattern);
  std::size_t found = scanner.next(from, line.size(), line.size());
  // Internal lines end in their terminator; a match behind a stray CR inside
  // a line would be beyond what the line shows.
  if (found == npos || found + pattern.n > content_end(line)) return npos;
  return found;
}

std::size_t last_match_in_line(std::string_view line, std::size_t limit, const search_pattern& pattern) {
  std::size_t end = content_end(line);
  limit = std::min(limit, end);
  // The match nearest before the limit wins, so the line is walked left to
  // right keeping the last match that starts before it.
  match_scanner scanner(line, pattern);
  std::size_t last = npos;
  for (std::size_t at = scanner.next(0, limit, end); at != npos; at = scanner.next(at + 1, limit, end)) last = at;
  return last;
}

line_match first_match_in_lines(text_document& document, const search_pattern& pattern, std::int32_t first,
                                std::int32_t end, bool by_blocks) {
  line_match match;
  if (!pattern.usable) return match;
  by_blocks = by_blocks && blocks_usable(document, pattern);
  byte_string fetched;
  piece_reader reader;
  end = std::min(end, document.line_count());
  for (std::int32_t line = std::max(first, 0); line < end; ++line) {
    if (by_blocks && is_file_line(document, line) && reader.ready(pattern.n)) {
      std::int32_t last = document.lines.file_run_up(line, end);
      // A piece that cannot be read any more is searched line by line, which
      // passes over the lines that cannot be fetched.
      run_result result = forward_in_run(document, pattern, line, last, reader, fetched, match);
      if (result == run_result::found) return match;
      if (result == run_result::none) {
        line = last;
        continue;
      }
      match = {};
      for (; line <= last; ++line) {
        if (!document.fetch_line(line, fetched)) continue;
        std::size_t found = first_match_in_line(fetched, 0, pattern);
        if (found != npos) return {line, found};
      }
      line = last;
      continue;
    }
    // A line that cannot be read holds no match.
    if (!document.fetch_line(line, fetched)) continue;
    std::size_t found = first_match_in_line(fetched, 0, pattern);
    if (found != npos) return {line, found};
  }
  return match;
}

line_match last_match_in_lines(text_document& document, const search_pattern& pattern, std::int32_t last,
                               std::int32_t first, bool by_blocks) {
  line_match match;
  if (!pattern.usable) return match;
  by_blocks = by_blocks && blocks_usable(document, pattern);
  byte_string fetched;
  piece_reader reader;
  std::vector<std::uint64_t> hits;
  first = std::max(first, 0);
  for (std::int32_t line = std::min(last, document.line_count() - 1); line >= first; --line) {
    if (by_blocks && is_file_line(document, line) && reader.ready(pattern.n)) {
      std::int32_t low = document.lines.file_run_down(line, first);
      run_result result;
      try {
        result = backward_in_run(document, pattern, low, line, reader, fetched, hits, match);
      } catch (const std::bad_alloc&) {
        result = run_result::unreadable;
      }
      if (result == run_result::found) return match;
      if (result == run_result::none) {
        line = low;
        continue;
      }
      match = {};
      for (; line >= low; --line) {
        if (!document.fetch_line(line, fetched)) continue;
        std::size_t found = last_match_in_line(fetched, npos, pattern);
        if (found != npos) return {line, found};
      }
      line = low;
      continue;
    }
    if (!document.fetch_line(line, fetched)) continue;
    std::size_t found = last_match_in_line(fetched, npos, pattern);
    if (found != npos) return {line, found};
  }
  return match;
}

}  // namespace vintorel
