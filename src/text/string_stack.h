// The string stack that copy and paste work through: pushing a block or the
// cursor line (also copied to the clipboard), popping the top entry into the
// text, and the move variants that delete the source or drop the entry.
#pragma once
#include <cstddef>
#include <vector>

#include "platform/byte_string.h"
#include "text/edit_context.h"
#include "text/text_document.h"

namespace vintorel {

// Entry types: the first byte of every entry.
constexpr char characters_entry = 'C';  // characters; no line end at the end unless selected
constexpr char lines_entry = 'L';       // whole lines, each ending with CR LF

// One stack for the whole program; entries outlive the texts they came from.
struct string_stack {
  // Each entry is its type byte followed by text in the internal form.
  std::vector<byte_string> entries;
  std::size_t limit = 256;  // capacity in entries: the "buffer block" setting

  // A limit below 4 counts as 4.
  explicit string_stack(int limit = 256);

  bool empty() const { return entries.empty(); }
  std::size_t size() const { return entries.size(); }
  bool is_full() const { return entries.size() >= limit; }
  void clear() { entries.clear(); }
};

// push_string (move false) and push_delete_string (move true): the block, or
// the cursor line without one, goes onto the stack and to the clipboard. A full
// stack is cleared only when the user agrees.
void push_string(text_document& document, edit_context& context, bool move);
// The block as one entry; false (nothing pushed) when a line cannot be read or
// memory runs out.
bool push_block(text_document& document, edit_context& context);
// The cursor line as one entry; nothing is pushed for the empty last line.
bool push_line(text_document& document, edit_context& context);
// pop_string (remove false) and pop_delete_string (remove true): the top entry
// is inserted at the cursor, "L" entries above the cursor line.
void pop_string(text_document& document, edit_context& context, bool remove);

}  // namespace vintorel
