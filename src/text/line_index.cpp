// The line index: tagged entries over a shared table of file line starts.
#include "text/line_index.h"

#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <limits>
#include <new>

namespace vintorel {

namespace {

constexpr std::int32_t max_lines = std::numeric_limits<std::int32_t>::max();

bool is_file_entry(std::uint64_t entry) { return (entry & 1) != 0; }
std::uint64_t file_line_of(std::uint64_t entry) { return entry >> 1; }
std::uint64_t file_entry(std::uint64_t line) { return (line << 1) | 1; }
line_record* record_of(std::uint64_t entry) {
  return reinterpret_cast<line_record*>(static_cast<std::uintptr_t>(entry));
}
std::uint64_t record_entry(line_record* record) {
  return static_cast<std::uint64_t>(reinterpret_cast<std::uintptr_t>(record));
}

const byte_string& no_text() {
  static const byte_string empty;
  return empty;
}

std::size_t page_size() {
  static const std::size_t size = static_cast<std::size_t>(sysconf(_SC_PAGESIZE));
  return size;
}

std::size_t round_to_pages(std::size_t bytes) {
  std::size_t page = page_size();
  return (bytes + page - 1) / page * page;
}

}  // namespace

bool word_array::grow(std::size_t needed) {
  if (needed > std::numeric_limits<std::size_t>::max() / 16) return false;
  std::size_t bytes = round_to_pages(needed * sizeof(std::uint64_t));
  if (bytes < mapped_ * 2) bytes = mapped_ * 2;
  void* place = data_ ? mremap(data_, mapped_, bytes, MREMAP_MAYMOVE)
                      : mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (place == MAP_FAILED) return false;
  data_ = static_cast<std::uint64_t*>(place);
  mapped_ = bytes;
  capacity_ = bytes / sizeof(std::uint64_t);
  return true;
}

bool word_array::insert(std::size_t at, std::uint64_t word) {
  if (size_ == capacity_ && !grow(size_ + 1)) return false;
  std::memmove(data_ + at + 1, data_ + at, (size_ - at) * sizeof(std::uint64_t));
  data_[at] = word;
  ++size_;
  return true;
}

void word_array::erase(std::size_t at, std::size_t count) {
  std::memmove(data_ + at, data_ + at + count, (size_ - at - count) * sizeof(std::uint64_t));
  size_ -= count;
}

void word_array::clear() {
  if (data_) munmap(data_, mapped_);
  data_ = nullptr;
  size_ = capacity_ = mapped_ = 0;
}

void word_array::shrink_to_fit() {
  if (size_ == 0) {
    clear();
    return;
  }
  std::size_t bytes = round_to_pages(size_ * sizeof(std::uint64_t));
  if (bytes >= mapped_) return;
  // Shrinking a mapping in place cannot fail for lack of memory.
  void* place = mremap(data_, mapped_, bytes, 0);
  if (place == MAP_FAILED) return;
  mapped_ = bytes;
  capacity_ = bytes / sizeof(std::uint64_t);
}

line_index::~line_index() { clear(); }

std::int32_t line_index::size() const { return static_cast<std::int32_t>(entries_.size()); }

void line_index::clear() {
  // From the end, where the in-memory last line is; an unedited index of
  // millions of lines is released without walking all of it.
  for (std::size_t i = entries_.size(); i > 0 && records_ > 0; --i) {
    if (!is_file_entry(entries_[i - 1])) {
      delete record_of(entries_[i - 1]);
      --records_;
    }
  }
  records_ = 0;
  entries_.clear();
  file_starts_.clear();
}

void line_index::begin_file_lines(std::uint64_t start) {
  if (file_starts_.empty()) file_starts_.push_back(start);
}

bool line_index::append_file_line(std::uint32_t length) {
  if (file_starts_.empty() || entries_.size() >= static_cast<std::size_t>(max_lines) - 1) return false;
  std::uint64_t line = file_starts_.size() - 1;
  if (!file_starts_.push_back(file_starts_.back() + length)) return false;
  if (!entries_.push_back(file_entry(line))) {
    file_starts_.pop_back();
    return false;
  }
  return true;
}

bool line_index::append_memory_line(byte_string text) { return insert(size(), std::move(text)); }

void line_index::compact() {
  entries_.shrink_to_fit();
  file_starts_.shrink_to_fit();
}

bool line_index::is_in_memory(std::int32_t index) const {
  if (index < 0 || index >= size()) return false;
  std::uint64_t entry = entries_[static_cast<std::size_t>(index)];
  return !is_file_entry(entry) && record_of(entry)->offset == in_memory;
}

std::uint64_t line_index::offset(std::int32_t index) const {
  if (index < 0 || index >= size()) return in_memory;
  std::uint64_t entry = entries_[static_cast<std::size_t>(index)];
  if (is_file_entry(entry)) return file_starts_[file_line_of(entry)];
  return record_of(entry)->offset;
}

std::uint32_t line_index::length(std::int32_t index) const {
  if (index < 0 || index >= size()) return 0;
  std::uint64_t entry = entries_[static_cast<std::size_t>(index)];
  if (is_file_entry(entry)) {
    std::uint64_t line = file_line_of(entry);
    return static_cast<std::uint32_t>(file_starts_[line + 1] - file_starts_[line]);
  }
  return record_of(entry)->length;
}

const byte_string& line_index::text(std::int32_t index) const {
  if (index < 0 || index >= size()) return no_text();
  std::uint64_t entry = entries_[static_cast<std::size_t>(index)];
  if (is_file_entry(entry)) return no_text();
  return record_of(entry)->text;
}

bool line_index::insert(std::int32_t index, byte_string text) {
  if (text.size() > std::numeric_limits<std::uint32_t>::max()) return false;
  std::unique_ptr<line_record> record(new (std::nothrow) line_record);
  if (!record) return false;
  record->offset = in_memory;
  record->length = static_cast<std::uint32_t>(text.size());
  record->text = std::move(text);
  return insert(index, std::move(record));
}

bool line_index::insert(std::int32_t index, std::unique_ptr<line_record> record) {
  if (!record || index < 0 || index > size() || size() >= max_lines) return false;
  if (!entries_.insert(static_cast<std::size_t>(index), record_entry(record.get()))) return false;
  record.release();
  ++records_;
  return true;
}

bool line_index::replace(std::int32_t index, std::unique_ptr<line_record> record) {
  if (!record || index < 0 || index >= size()) return false;
  std::uint64_t& entry = entries_[static_cast<std::size_t>(index)];
  if (is_file_entry(entry)) {
    ++records_;
  } else {
    delete record_of(entry);
  }
  entry = record_entry(record.release());
  return true;
}

void line_index::erase(std::int32_t index) { erase(index, 1); }

void line_index::erase(std::int32_t first, std::int32_t count) {
  if (first < 0 || first >= size() || count <= 0) return;
  std::size_t from = static_cast<std::size_t>(first);
  std::size_t n = std::min(static_cast<std::size_t>(count), entries_.size() - from);
  for (std::size_t i = from; i < from + n && records_ > 0; ++i) {
    if (!is_file_entry(entries_[i])) {
      delete record_of(entries_[i]);
      --records_;
    }
  }
  entries_.erase(from, n);
}

bool line_index::check() const {
  if (entries_.size() > static_cast<std::size_t>(max_lines)) return false;
  for (std::size_t k = 1; k < file_starts_.size(); ++k) {
    if (file_starts_[k] < file_starts_[k - 1]) return false;
    if (file_starts_[k] - file_starts_[k - 1] > std::numeric_limits<std::uint32_t>::max()) return false;
  }
  // File lines keep their file order, and each is referred to at most once.
  bool seen_file_line = false;
  std::uint64_t last_file_line = 0;
  std::size_t records = 0;
  for (std::uint64_t entry : entries_) {
    if (is_file_entry(entry)) {
      std::uint64_t line = file_line_of(entry);
      if (line + 1 >= file_starts_.size()) return false;
      if (seen_file_line && line <= last_file_line) return false;
      seen_file_line = true;
      last_file_line = line;
    } else {
      const line_record* record = record_of(entry);
      if (!record) return false;
      ++records;
      if (record->offset == in_memory && record->length != record->text.size()) return false;
    }
  }
  return records == records_;
}

std::size_t line_index::memory_bytes() const {
  std::size_t bytes = entries_.capacity_bytes() + file_starts_.capacity_bytes();
  for (std::uint64_t entry : entries_)
    if (!is_file_entry(entry)) bytes += sizeof(line_record) + record_of(entry)->text.capacity();
  return bytes;
}

}  // namespace vintorel
