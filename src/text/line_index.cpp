// The line index: tagged entries over a shared table of file line starts.
#include "text/line_index.h"

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

}  // namespace

line_index::~line_index() { clear(); }

std::int32_t line_index::size() const { return static_cast<std::int32_t>(entries_.size()); }

void line_index::clear() {
  for (std::uint64_t entry : entries_)
    if (!is_file_entry(entry)) delete record_of(entry);
  // Swapping with empty vectors gives the memory back, not just the elements.
  std::vector<std::uint64_t>().swap(entries_);
  std::vector<std::uint64_t>().swap(file_starts_);
}

void line_index::begin_file_lines(std::uint64_t start) {
  if (file_starts_.empty()) {
    try {
      file_starts_.push_back(start);
    } catch (const std::bad_alloc&) {
    }
  }
}

bool line_index::append_file_line(std::uint32_t length) {
  if (file_starts_.empty() || entries_.size() >= static_cast<std::size_t>(max_lines) - 1) return false;
  std::uint64_t line = file_starts_.size() - 1;
  try {
    file_starts_.push_back(file_starts_.back() + length);
  } catch (const std::bad_alloc&) {
    return false;
  }
  try {
    entries_.push_back(file_entry(line));
  } catch (const std::bad_alloc&) {
    file_starts_.pop_back();
    return false;
  }
  return true;
}

bool line_index::append_memory_line(byte_string text) { return insert(size(), std::move(text)); }

void line_index::compact() {
  try {
    entries_.shrink_to_fit();
    file_starts_.shrink_to_fit();
  } catch (const std::bad_alloc&) {
    // Keeping the spare capacity is harmless.
  }
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
  try {
    entries_.insert(entries_.begin() + index, record_entry(record.get()));
  } catch (const std::bad_alloc&) {
    return false;
  }
  record.release();
  return true;
}

bool line_index::replace(std::int32_t index, std::unique_ptr<line_record> record) {
  if (!record || index < 0 || index >= size()) return false;
  std::uint64_t& entry = entries_[static_cast<std::size_t>(index)];
  if (!is_file_entry(entry)) delete record_of(entry);
  entry = record_entry(record.release());
  return true;
}

void line_index::erase(std::int32_t index) {
  if (index < 0 || index >= size()) return;
  std::uint64_t entry = entries_[static_cast<std::size_t>(index)];
  if (!is_file_entry(entry)) delete record_of(entry);
  entries_.erase(entries_.begin() + index);
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
      if (record->offset == in_memory && record->length != record->text.size()) return false;
    }
  }
  return true;
}

std::size_t line_index::memory_bytes() const {
  std::size_t bytes = (entries_.capacity() + file_starts_.capacity()) * sizeof(std::uint64_t);
  for (std::uint64_t entry : entries_)
    if (!is_file_entry(entry)) bytes += sizeof(line_record) + record_of(entry)->text.capacity();
  return bytes;
}

}  // namespace vintorel
