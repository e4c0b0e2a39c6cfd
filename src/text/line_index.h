// The line index of a text: one entry per line, each either a reference to a
// line's bytes in the open file or an in-memory line in the internal form.
//
// File lines are contiguous when the index is built, so their boundaries live in
// one table of start offsets (`file_starts`, one 64-bit offset per file line plus
// the end); an entry only names the file line it refers to, or owns an in-memory
// record. That keeps the index at 16 bytes per line. Entries are never rewritten
// to point elsewhere in the file: a line is either the file's bytes or replaced.
#pragma once
#include <cstddef>
#include <cstdint>
#include <memory>

#include "platform/byte_string.h"

namespace vintorel {

constexpr std::uint64_t in_memory = UINT64_MAX;

// One line as the text model sees it. For a file line `text` is unused.
struct line_record {
  std::uint64_t offset = in_memory;  // first byte in the file, or in_memory
  std::uint32_t length = 0;          // file bytes (line end included), or text bytes
  byte_string text;                  // internal form of an in-memory line
};

// A growable array of 64-bit words in pages of its own. It grows and shrinks
// with mremap, so building an index of millions of lines never copies it and
// never keeps a spare half after shrink_to_fit. Even a small array takes a page.
class word_array {
 public:
  word_array() = default;
  word_array(const word_array&) = delete;
  word_array& operator=(const word_array&) = delete;
  ~word_array() { clear(); }

  std::size_t size() const { return size_; }
  bool empty() const { return size_ == 0; }
  std::uint64_t operator[](std::size_t i) const { return data_[i]; }
  std::uint64_t& operator[](std::size_t i) { return data_[i]; }
  std::uint64_t back() const { return data_[size_ - 1]; }
  const std::uint64_t* begin() const { return data_; }
  const std::uint64_t* end() const { return data_ + size_; }

  bool push_back(std::uint64_t word) {
    if (size_ == capacity_ && !grow(size_ + 1)) return false;
    data_[size_++] = word;
    return true;
  }
  void pop_back() { --size_; }
  bool insert(std::size_t at, std::uint64_t word);  // false when memory runs out
  void erase(std::size_t at, std::size_t count = 1);  // words [at, at + count)
  void clear();          // gives the pages back
  void shrink_to_fit();  // gives back whole pages beyond the size
  std::size_t capacity_bytes() const { return mapped_; }

 private:
  bool grow(std::size_t needed);
  std::uint64_t* data_ = nullptr;
  std::size_t size_ = 0;
  std::size_t capacity_ = 0;  // words
  std::size_t mapped_ = 0;    // bytes
};

class line_index {
 public:
  line_index() = default;
  line_index(const line_index&) = delete;
  line_index& operator=(const line_index&) = delete;
  ~line_index();

  std::int32_t size() const;
  bool empty() const { return size() == 0; }
  void clear();

  // Building: file lines are appended in file order, each starting where the
  // previous one ended; `start` is the first line's offset.
  void begin_file_lines(std::uint64_t start);
  bool append_file_line(std::uint32_t length);  // false when memory runs out
  bool append_memory_line(byte_string text);
  // Gives back the spare capacity left by growing; called once building is done.
  void compact();

  bool is_in_memory(std::int32_t index) const;
  std::uint64_t offset(std::int32_t index) const;  // in_memory for memory lines
  std::uint32_t length(std::int32_t index) const;
  const byte_string& text(std::int32_t index) const;  // memory lines only

  // Editing keeps the order of every other entry.
  bool insert(std::int32_t index, byte_string text);
  bool insert(std::int32_t index, std::unique_ptr<line_record> record);
  void erase(std::int32_t index);
  // Removes `count` entries from `first` (as many as there are) with one move
  // of the entries behind them, however many lines go.
  void erase(std::int32_t first, std::int32_t count);
  // Puts `record` in place of entry `index` (releasing the old one); needs no
  // allocation, so it cannot fail for a valid index and record.
  bool replace(std::int32_t index, std::unique_ptr<line_record> record);

  // Structural invariants (entries valid, file lines in range, memory lengths
  // equal to their texts); for tests.
  bool check() const;
  // Bytes of index memory (entries and start table), for the benchmark report.
  std::size_t memory_bytes() const;

 private:
  // Each entry is a tagged word: odd = (file line number << 1) | 1, even = a
  // pointer to an owned line_record (records are at least 8-byte aligned).
  word_array entries_;
  word_array file_starts_;  // file line k spans [k], [k+1]
  std::size_t records_ = 0;  // pointer entries, so releasing them can stop early
};

}  // namespace vintorel
