// The line index: 32-bit tagged entries over a shared table of file line starts
// and a table of record slots.
#include "text/line_index.h"

#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <limits>
#include <new>
#include <vector>

namespace vintorel {

namespace {

constexpr std::int32_t max_lines = std::numeric_limits<std::int32_t>::max();
static_assert(static_cast<std::size_t>(max_lines) == 0x7FFFFFFF);

bool is_file_entry(std::uint32_t entry) { return (entry & 1) != 0; }
std::uint64_t file_line_of(std::uint32_t entry) { return entry >> 1; }
std::uint32_t file_entry(std::uint64_t line) { return static_cast<std::uint32_t>(line << 1) | 1; }
std::uint32_t slot_of(std::uint32_t entry) { return entry >> 1; }
std::uint32_t slot_entry(std::uint32_t slot) { return slot << 1; }

bool is_free_slot(std::uint64_t word) { return (word & 1) != 0; }
line_record* record_in(std::uint64_t word) {
  return reinterpret_cast<line_record*>(static_cast<std::uintptr_t>(word));
}
std::uint64_t record_word(line_record* record) {
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

// Arrays past small_array are kept in large pages where the kernel has them:
// one fault (and, in a virtual machine, one mapping by the host) per 2 MiB
// instead of per 4 KiB. Filling fresh 4 KiB pages one by one is otherwise
// slower than writing the index entries into them.
constexpr std::size_t large_page = std::size_t{2} << 20;
constexpr std::size_t small_array = std::size_t{64} << 10;

// A range of `bytes` (a multiple of large_page) aligned to large_page, mapped
// without access so that the array can be placed over it; nullptr when there is none.
void* aligned_range(std::size_t bytes) {
  const std::size_t span = bytes + large_page;
  void* raw = mmap(nullptr, span, PROT_NONE, MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE, -1, 0);
  if (raw == MAP_FAILED) return nullptr;
  const auto start = reinterpret_cast<std::uintptr_t>(raw);
  const std::uintptr_t aligned = (start + large_page - 1) & ~static_cast<std::uintptr_t>(large_page - 1);
  if (aligned > start) munmap(raw, aligned - start);
  const std::uintptr_t tail = start + span - (aligned + bytes);
  if (tail > 0) munmap(reinterpret_cast<void*>(aligned + bytes), tail);
  return reinterpret_cast<void*>(aligned);
}

// The new pages [from, bytes) of `place` made present in one call: touching
// them one by one as the array fills costs a fault each. Where the kernel
// cannot, they fault in.
void populate(void* place, std::size_t from, std::size_t bytes) {
#ifdef MADV_POPULATE_WRITE
  madvise(static_cast<char*>(place) + from, bytes - from, MADV_POPULATE_WRITE);
#else
  (void)place, (void)from, (void)bytes;
#endif
}

}  // namespace

template <typename T>
bool page_array<T>::grow(std::size_t needed) {
  if (needed > std::numeric_limits<std::size_t>::max() / (2 * sizeof(T))) return false;
  std::size_t bytes = round_to_pages(needed * sizeof(T));
  if (bytes < mapped_ * 2) bytes = mapped_ * 2;
  if (bytes > small_array) bytes = (bytes + large_page - 1) / large_page * large_page;
  void* range = bytes >= large_page ? aligned_range(bytes) : nullptr;
  if (range && mapped_ >= large_page) {
    // Whole large pages move with their page tables.
    // (On failure the range stays reserved: unmapping it could hit a mapping
    // another thread made there since.)
    void* place = mremap(data_, mapped_, bytes, MREMAP_MAYMOVE | MREMAP_FIXED, range);
    if (place == MAP_FAILED) return false;
#ifdef MADV_HUGEPAGE
    madvise(place, bytes, MADV_HUGEPAGE);
#endif
    populate(place, mapped_, bytes);
    data_ = static_cast<T*>(place);
  } else if (range) {
    // Small pages moved in would keep their first large page from forming:
    // the few words are copied instead.
    void* place = mmap(range, bytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS | MAP_FIXED, -1, 0);
    if (place == MAP_FAILED) return false;
#ifdef MADV_HUGEPAGE
    madvise(place, bytes, MADV_HUGEPAGE);
#endif
    populate(place, 0, bytes);
    if (data_) {
      std::memcpy(place, data_, size_ * sizeof(T));
      munmap(data_, mapped_);
    }
    data_ = static_cast<T*>(place);
  } else {
    void* place = data_ ? mremap(data_, mapped_, bytes, MREMAP_MAYMOVE)
                        : mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (place == MAP_FAILED) return false;
    populate(place, mapped_, bytes);
    data_ = static_cast<T*>(place);
  }
  mapped_ = bytes;
  capacity_ = bytes / sizeof(T);
  return true;
}

template <typename T>
bool page_array<T>::insert(std::size_t at, T word) {
  if (size_ == capacity_ && !grow(size_ + 1)) return false;
  std::memmove(data_ + at + 1, data_ + at, (size_ - at) * sizeof(T));
  data_[at] = word;
  ++size_;
  return true;
}

template <typename T>
void page_array<T>::erase(std::size_t at, std::size_t count) {
  std::memmove(data_ + at, data_ + at + count, (size_ - at - count) * sizeof(T));
  size_ -= count;
}

template <typename T>
void page_array<T>::clear() {
  if (data_) munmap(data_, mapped_);
  data_ = nullptr;
  size_ = capacity_ = mapped_ = 0;
}

template <typename T>
void page_array<T>::shrink_to_fit() {
  if (size_ == 0) {
    clear();
    return;
  }
  std::size_t bytes = round_to_pages(size_ * sizeof(T));
  if (bytes >= mapped_) return;
  // Shrinking a mapping in place cannot fail for lack of memory.
  void* place = mremap(data_, mapped_, bytes, 0);
  if (place == MAP_FAILED) return;
  mapped_ = bytes;
  capacity_ = bytes / sizeof(T);
}

template class page_array<std::uint32_t>;
template class page_array<std::uint64_t>;

line_index::~line_index() { clear(); }

std::int32_t line_index::size() const { return static_cast<std::int32_t>(entries_.size()); }

void line_index::clear() {
  // Only the slots are walked: an unedited index of millions of lines has one
  // record, its last line.
  for (std::size_t i = 0; i < slots_.size(); ++i)
    if (!is_free_slot(slots_[i])) delete record_in(slots_[i]);
  slots_.clear();
  free_slot_ = 0;
  records_ = 0;
  entries_.clear();
  start_lows_.clear();
  wraps_.clear();
  first_high_ = 0;
  last_start_ = 0;
}

void line_index::swap(line_index& other) {
  entries_.swap(other.entries_);
  start_lows_.swap(other.start_lows_);
  wraps_.swap(other.wraps_);
  slots_.swap(other.slots_);
  std::swap(first_high_, other.first_high_);
  std::swap(last_start_, other.last_start_);
  std::swap(free_slot_, other.free_slot_);
  std::swap(records_, other.records_);
}

std::uint64_t line_index::file_start(std::uint64_t file_line) const {
  // The wraps before or at this line each added 2^32.
  auto behind = std::upper_bound(wraps_.begin(), wraps_.end(), static_cast<std::uint32_t>(file_line));
  std::uint64_t high = first_high_ + static_cast<std::uint64_t>(behind - wraps_.begin());
  return high << 32 | start_lows_[static_cast<std::size_t>(file_line)];
}

void line_index::begin_file_lines(std::uint64_t start) {
  if (!start_lows_.empty()) return;
  if (!start_lows_.push_back(static_cast<std::uint32_t>(start))) return;
  first_high_ = static_cast<std::uint32_t>(start >> 32);
  last_start_ = start;
}

bool line_index::append_file_line_slowly(std::uint32_t length) {
  if (start_lows_.empty() || entries_.size() >= static_cast<std::size_t>(max_lines) - 1) return false;
  std::uint64_t line = start_lows_.size() - 1;
  std::uint64_t end = last_start_ + length;
  bool wrapped = (end >> 32) != (last_start_ >> 32);
  if (wrapped && !wraps_.push_back(static_cast<std::uint32_t>(line + 1))) return false;
  if (!start_lows_.push_back(static_cast<std::uint32_t>(end))) {
    if (wrapped) wraps_.pop_back();
    return false;
  }
  if (!entries_.push_back(file_entry(line))) {
    start_lows_.pop_back();
    if (wrapped) wraps_.pop_back();
    return false;
  }
  last_start_ = end;
  return true;
}

bool line_index::append_file_line_ends(std::uint64_t base, const std::uint32_t* ends, std::size_t count,
                                       std::uint64_t& longest) {
  if (count == 0) return true;
  constexpr std::uint64_t widest = std::numeric_limits<std::uint32_t>::max();
  const std::uint64_t last_end = base + ends[count - 1];
  if (start_lows_.empty() || (last_end >> 32) != (last_start_ >> 32) ||
      entries_.size() + count >= max_index_lines - 1 || !reserve_file_lines(count)) {
    // A wrap of the low start bits, a full or empty table: line by line.
    std::uint64_t start = last_start_;
    for (std::size_t k = 0; k < count; ++k) {
      const std::uint64_t end = base + ends[k];
      if (end - start > widest) return false;
      if (end - start > longest) longest = end - start;
      if (!append_file_line(static_cast<std::uint32_t>(end - start))) return false;
      start = end;
    }
    return true;
  }
  // Only the first line can be long: the others lie within the list's span.
  if (base + ends[0] - last_start_ > widest) return false;
  // The low 32 bits of every end share the high bits of the last start, so
  // the lengths are exact in 32 bits.
  std::uint32_t* entry = entries_.spare();
  std::uint32_t* start_low = start_lows_.spare();
  const auto first_line = static_cast<std::uint32_t>(start_lows_.size() - 1);
  const auto low_base = static_cast<std::uint32_t>(base);
  auto previous = static_cast<std::uint32_t>(last_start_);
  std::uint32_t longest_here = 0;
  for (std::size_t k = 0; k < count; ++k) {
    const std::uint32_t end = low_base + ends[k];
    entry[k] = file_entry(first_line + k);
    start_low[k] = end;
    longest_here = std::max(longest_here, end - previous);
    previous = end;
  }
  entries_.extend(count);
  start_lows_.extend(count);
  last_start_ = last_end;
  if (longest_here > longest) longest = longest_here;
  return true;
}

bool line_index::append_file_lines_like(const line_index& from, std::int32_t first, std::int32_t last,
                                        std::uint64_t& longest) {
  if (first < 0 || last >= from.size() || first > last) return first > last;
  std::size_t line = static_cast<std::size_t>(file_line_of(from.entries_[static_cast<std::size_t>(first)]));
  const std::size_t end = line + static_cast<std::size_t>(last - first) + 1;
  for (; line < end; ++line) {
    std::uint32_t length = from.start_lows_[line + 1] - from.start_lows_[line];
    if (length > longest) longest = length;
    if (!append_file_line(length)) return false;
  }
  return true;
}

bool line_index::append_memory_line(byte_string text) { return insert(size(), std::move(text)); }

void line_index::compact() {
  entries_.shrink_to_fit();
  start_lows_.shrink_to_fit();
  wraps_.shrink_to_fit();
}

bool line_index::take_slot(std::uint32_t& slot) {
  if (free_slot_ == 0) {
    if (slots_.size() >= static_cast<std::size_t>(max_lines) || !slots_.push_back(1)) return false;
    free_slot_ = slots_.size();
  }
  slot = static_cast<std::uint32_t>(free_slot_ - 1);
  free_slot_ = slots_[slot] >> 1;
  return true;
}

void line_index::release_slot(std::uint32_t slot) {
  delete record_in(slots_[slot]);
  slots_[slot] = free_slot_ << 1 | 1;
  free_slot_ = static_cast<std::uint64_t>(slot) + 1;
  --records_;
}

bool line_index::make_replaceable() {
  if (free_slot_ != 0) return true;
  if (slots_.size() >= static_cast<std::size_t>(max_lines) || !slots_.push_back(1)) return false;
  free_slot_ = slots_.size();
  return true;
}

bool line_index::is_in_memory(std::int32_t index) const {
  if (index < 0 || index >= size()) return false;
  std::uint32_t entry = entries_[static_cast<std::size_t>(index)];
  return !is_file_entry(entry) && record_in(slots_[slot_of(entry)])->offset == in_memory;
}

std::uint64_t line_index::offset(std::int32_t index) const {
  if (index < 0 || index >= size()) return in_memory;
  std::uint32_t entry = entries_[static_cast<std::size_t>(index)];
  if (is_file_entry(entry)) return file_start(file_line_of(entry));
  return record_in(slots_[slot_of(entry)])->offset;
}

std::uint32_t line_index::length(std::int32_t index) const {
  if (index < 0 || index >= size()) return 0;
  std::uint32_t entry = entries_[static_cast<std::size_t>(index)];
  if (is_file_entry(entry)) {
    // The low words alone give the difference: no line reaches 4 GiB.
    std::size_t line = static_cast<std::size_t>(file_line_of(entry));
    return start_lows_[line + 1] - start_lows_[line];
  }
  return record_in(slots_[slot_of(entry)])->length;
}

const byte_string& line_index::text(std::int32_t index) const {
  if (index < 0 || index >= size()) return no_text();
  std::uint32_t entry = entries_[static_cast<std::size_t>(index)];
  if (is_file_entry(entry)) return no_text();
  return record_in(slots_[slot_of(entry)])->text;
}

std::int32_t line_index::file_run_up(std::int32_t first, std::int32_t end) const {
  if (first < 0 || first >= size() || !is_file_entry(entries_[static_cast<std::size_t>(first)])) return first;
  std::size_t last = static_cast<std::size_t>(first);
  std::size_t stop = static_cast<std::size_t>(std::min(end, size()));
  // The next file line's entry is two more than the one before it.
  while (last + 1 < stop && entries_[last + 1] == entries_[last] + 2) ++last;
  return static_cast<std::int32_t>(last);
}

std::int32_t line_index::file_run_down(std::int32_t last, std::int32_t first) const {
  if (last < 0 || last >= size() || !is_file_entry(entries_[static_cast<std::size_t>(last)])) return last;
  std::size_t at = static_cast<std::size_t>(last);
  std::size_t stop = static_cast<std::size_t>(std::max(first, 0));
  while (at > stop && entries_[at - 1] + 2 == entries_[at]) --at;
  return static_cast<std::int32_t>(at);
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
  std::uint32_t slot;
  if (!take_slot(slot)) return false;
  if (!entries_.insert(static_cast<std::size_t>(index), slot_entry(slot))) {
    // The slot goes back to the free list untouched.
    slots_[slot] = free_slot_ << 1 | 1;
    free_slot_ = static_cast<std::uint64_t>(slot) + 1;
    return false;
  }
  slots_[slot] = record_word(record.release());
  ++records_;
  return true;
}

bool line_index::replace(std::int32_t index, std::unique_ptr<line_record> record) {
  if (!record || index < 0 || index >= size()) return false;
  std::uint32_t& entry = entries_[static_cast<std::size_t>(index)];
  if (is_file_entry(entry)) {
    std::uint32_t slot;
    if (!take_slot(slot)) return false;
    slots_[slot] = record_word(record.release());
    ++records_;
    entry = slot_entry(slot);
    // Keeps a slot ready for the next replacement where memory allows.
    make_replaceable();
  } else {
    std::uint64_t& word = slots_[slot_of(entry)];
    delete record_in(word);
    word = record_word(record.release());
  }
  return true;
}

void line_index::erase(std::int32_t index) { erase(index, 1); }

void line_index::erase(std::int32_t first, std::int32_t count) {
  if (first < 0 || first >= size() || count <= 0) return;
  std::size_t from = static_cast<std::size_t>(first);
  std::size_t n = std::min(static_cast<std::size_t>(count), entries_.size() - from);
  for (std::size_t i = from; i < from + n && records_ > 0; ++i)
    if (!is_file_entry(entries_[i])) release_slot(slot_of(entries_[i]));
  entries_.erase(from, n);
}

bool line_index::check() const {
  if (entries_.size() > static_cast<std::size_t>(max_lines)) return false;
  // The wraps are in order and each names a file line whose low start bits
  // went down; no other line's did.
  for (std::size_t k = 0; k < wraps_.size(); ++k)
    if (wraps_[k] == 0 || wraps_[k] >= start_lows_.size() || (k > 0 && wraps_[k] <= wraps_[k - 1])) return false;
  std::size_t wrap = 0;
  for (std::size_t k = 1; k < start_lows_.size(); ++k) {
    bool wrapped = wrap < wraps_.size() && wraps_[wrap] == k;
    if (wrapped) ++wrap;
    if (wrapped != (start_lows_[k] < start_lows_[k - 1])) return false;
  }
  if (!start_lows_.empty() && file_start(start_lows_.size() - 1) != last_start_) return false;
  // File lines keep their file order, and each is referred to at most once;
  // each slot in use is referred to exactly once.
  std::vector<bool> slot_seen(slots_.size(), false);
  bool seen_file_line = false;
  std::uint64_t last_file_line = 0;
  std::size_t records = 0;
  for (std::uint32_t entry : entries_) {
    if (is_file_entry(entry)) {
      std::uint64_t line = file_line_of(entry);
      if (line + 1 >= start_lows_.size()) return false;
      if (seen_file_line && line <= last_file_line) return false;
      seen_file_line = true;
      last_file_line = line;
    } else {
      std::uint32_t slot = slot_of(entry);
      if (slot >= slots_.size() || is_free_slot(slots_[slot]) || slot_seen[slot]) return false;
      slot_seen[slot] = true;
      const line_record* record = record_in(slots_[slot]);
      if (!record) return false;
      ++records;
      if (record->offset == in_memory && record->length != record->text.size()) return false;
    }
  }
  if (records != records_) return false;
  // The free list holds exactly the slots not in use.
  std::size_t free = 0;
  for (std::uint64_t at = free_slot_; at != 0; at = slots_[static_cast<std::size_t>(at - 1)] >> 1) {
    if (at > slots_.size() || !is_free_slot(slots_[static_cast<std::size_t>(at - 1)]) || ++free > slots_.size())
      return false;
  }
  return free + records_ == slots_.size();
}

std::size_t line_index::memory_bytes() const {
  std::size_t bytes = entries_.capacity_bytes() + start_lows_.capacity_bytes() + wraps_.capacity_bytes() +
                      slots_.capacity_bytes();
  for (std::uint64_t word : slots_)
    if (!is_free_slot(word)) bytes += sizeof(line_record) + record_in(word)->text.capacity();
  return bytes;
}

}  // namespace vintorel
