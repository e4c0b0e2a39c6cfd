// The line index of a text: one entry per line, each either a reference to a
// line's bytes in the open file or an in-memory line in the internal form.
//
// File lines are contiguous when the index is built, so their boundaries live in
// one table of start offsets, one per file line plus the end. Starts only grow
// and no line reaches 4 GiB, so the table keeps the low 32 bits of each start;
// the high bits are counted from the few file lines where the low bits wrapped
// around. An entry is 32 bits: it names the file line it refers to, or the slot
// of an in-memory record. That keeps an unedited index at 8 bytes per line.
// Entries are never rewritten to point elsewhere in the file: a line is either
// the file's bytes or replaced.
#pragma once
#include <cstddef>
#include <cstdint>
#include <memory>
#include <utility>

#include "platform/byte_string.h"

namespace vintorel {

constexpr std::uint64_t in_memory = UINT64_MAX;

// One line as the text model sees it. For a file line `text` is unused.
struct line_record {
  std::uint64_t offset = in_memory;  // first byte in the file, or in_memory
  std::uint32_t length = 0;          // file bytes (line end included), or text bytes
  byte_string text;                  // internal form of an in-memory line
};

// A growable array of plain words in pages of its own. It grows and shrinks
// with mremap, so building an index of millions of lines never copies it and
// never keeps a spare half after shrink_to_fit. Even a small array takes a page.
template <typename T>
class page_array {
 public:
  page_array() = default;
  page_array(const page_array&) = delete;
  page_array& operator=(const page_array&) = delete;
  ~page_array() { clear(); }

  std::size_t size() const { return size_; }
  bool empty() const { return size_ == 0; }
  T operator[](std::size_t i) const { return data_[i]; }
  T& operator[](std::size_t i) { return data_[i]; }
  T back() const { return data_[size_ - 1]; }
  const T* begin() const { return data_; }
  const T* end() const { return data_ + size_; }

  bool reserve(std::size_t words) { return words <= capacity_ || grow(words); }
  bool has_room() const { return size_ < capacity_; }
  void push_within(T word) { data_[size_++] = word; }  // only when has_room()
  // Words written straight behind the last one: after reserve(size() + n),
  // up to n words go to spare(), then extend(n) takes them in.
  T* spare() { return data_ + size_; }
  void extend(std::size_t count) { size_ += count; }
  bool push_back(T word) {
    if (size_ == capacity_ && !grow(size_ + 1)) return false;
    data_[size_++] = word;
    return true;
  }
  void pop_back() { --size_; }
  bool insert(std::size_t at, T word);  // false when memory runs out
  void erase(std::size_t at, std::size_t count = 1);  // words [at, at + count)
  void clear();          // gives the pages back
  void shrink_to_fit();  // gives back whole pages beyond the size
  std::size_t capacity_bytes() const { return mapped_; }
  void swap(page_array& other) {
    std::swap(data_, other.data_);
    std::swap(size_, other.size_);
    std::swap(capacity_, other.capacity_);
    std::swap(mapped_, other.mapped_);
  }

 private:
  bool grow(std::size_t needed);
  T* data_ = nullptr;
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
  void swap(line_index& other);  // exchanges the whole contents

  // Building: file lines are appended in file order, each starting where the
  // previous one ended; `start` is the first line's offset.
  void begin_file_lines(std::uint64_t start);
  // Room for `count` more file lines, so that appending them does not grow the
  // tables step by step; false when memory runs out (appending may still work).
  bool reserve_file_lines(std::size_t count) {
    return entries_.reserve(entries_.size() + count) && start_lows_.reserve(start_lows_.size() + count + 1);
  }
  bool append_file_line(std::uint32_t length) {  // false when memory runs out
    // Most lines neither cross a 4 GiB boundary nor need the tables to grow.
    std::uint64_t end = last_start_ + length;
    if ((end >> 32) != (last_start_ >> 32) || !start_lows_.has_room() || !entries_.has_room() ||
        start_lows_.empty() || entries_.size() >= max_index_lines - 1)
      return append_file_line_slowly(length);
    entries_.push_within(static_cast<std::uint32_t>((start_lows_.size() - 1) << 1) | 1);
    start_lows_.push_within(static_cast<std::uint32_t>(end));
    last_start_ = end;
    return true;
  }
  // Appends file lines ending at file offsets base + ends[k], k < count (in
  // increasing order, the first line starting where the file lines so far
  // end); `longest` grows to the longest of them. One pass with no check per
  // line where no start crosses a 4 GiB boundary. False when a line would be
  // 4 GiB or longer, or memory runs out (some may have been appended then).
  bool append_file_line_ends(std::uint64_t base, const std::uint32_t* ends, std::size_t count, std::uint64_t& longest);
  // Appends, as the next file lines, lines of the same lengths as the file lines
  // [first, last] of `from`, which must follow each other in its file (see
  // file_run_up); `longest` grows to the longest of them. False when memory
  // runs out (some may have been appended then).
  bool append_file_lines_like(const line_index& from, std::int32_t first, std::int32_t last, std::uint64_t& longest);
  bool append_memory_line(byte_string text);
  // Where the file lines appended so far end.
  std::uint64_t file_lines_end() const { return last_start_; }
  // Gives back the spare capacity left by growing; called once building is done.
  void compact();

  bool is_in_memory(std::int32_t index) const;
  std::uint64_t offset(std::int32_t index) const;  // in_memory for memory lines
  std::uint32_t length(std::int32_t index) const;
  const byte_string& text(std::int32_t index) const;  // memory lines only

  // The last entry of [first, end) up to which every entry from `first` on is a
  // file line following the one before it in the file (first itself when it is
  // not a file line); and the first entry of [first, last] from which every
  // entry up to `last` is one.
  std::int32_t file_run_up(std::int32_t first, std::int32_t end) const;
  std::int32_t file_run_down(std::int32_t last, std::int32_t first) const;

  // Editing keeps the order of every other entry.
  bool insert(std::int32_t index, byte_string text);
  bool insert(std::int32_t index, std::unique_ptr<line_record> record);
  void erase(std::int32_t index);
  // Removes `count` entries from `first` (as many as there are) with one move
  // of the entries behind them, however many lines go.
  void erase(std::int32_t first, std::int32_t count);
  // Puts `record` in place of entry `index` (releasing the old one). Replacing a
  // file line takes a free record slot: after make_replaceable() succeeded, the
  // next replace needs no allocation, so it cannot fail for a valid index and
  // record (other replacements of file lines in between may use that slot up).
  bool replace(std::int32_t index, std::unique_ptr<line_record> record);
  bool make_replaceable();  // false when memory runs out

  // Structural invariants (entries valid, file lines in range, memory lengths
  // equal to their texts); for tests.
  bool check() const;
  // Bytes of index memory (entries, start table, record slots and records), for
  // the benchmark report.
  std::size_t memory_bytes() const;

 private:
  static constexpr std::size_t max_index_lines = 0x7FFFFFFF;
  bool append_file_line_slowly(std::uint32_t length);
  std::uint64_t file_start(std::uint64_t file_line) const;
  bool take_slot(std::uint32_t& slot);  // a free record slot; false when memory runs out
  void release_slot(std::uint32_t slot);  // deletes its record, never allocates

  // Each entry is a tagged word: odd = (file line number << 1) | 1, even =
  // record slot << 1.
  page_array<std::uint32_t> entries_;
  // Low 32 bits of the start of file line k (the end of line k - 1).
  page_array<std::uint32_t> start_lows_;
  // File lines whose start's high 32 bits are one more than their predecessor's,
  // in order; and the high bits of the first start.
  page_array<std::uint32_t> wraps_;
  std::uint32_t first_high_ = 0;
  std::uint64_t last_start_ = 0;  // the end of the file lines appended so far
  // Record slots: a pointer to an owned line_record (even), or a free slot
  // holding ((next free slot + 1) << 1) | 1, 1 ending the free list.
  page_array<std::uint64_t> slots_;
  std::uint64_t free_slot_ = 0;  // first free slot + 1, 0 for none
  std::size_t records_ = 0;  // slots in use
};

}  // namespace vintorel
