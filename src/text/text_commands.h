// The commands of the text model by name, as command dispatch runs them on the
// current text: the motions, editing, undo, block and string-stack commands,
// search and replace. Dispatch, the golden files and the random runs all use
// this one table.
#pragma once
#include <span>
#include <string_view>

#include "platform/byte_string.h"
#include "text/edit_context.h"
#include "text/text_document.h"

namespace vintorel {

// `argument` is the text insert_string inserts; the other commands ignore it.
using text_command_function = void (*)(text_document& document, edit_context& context,
                                       const byte_string& argument);

struct text_command {
  const char* name;  // the command's name in the command table
  text_command_function run;
};

std::span<const text_command> text_commands();
// The command called `name`; null when the text model has none of that name.
const text_command* find_text_command(std::string_view name);

}  // namespace vintorel
