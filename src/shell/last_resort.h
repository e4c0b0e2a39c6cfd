// The last resort: when an operation fails in a way the editor cannot survive
// (an exception nobody caught, a call to std::terminate), every modified text
// is written to a rescue file before the process ends, and the user is told where.
#pragma once
#include <string>
#include <vector>

namespace vintorel {

class workspace;

// Writes every modified text but the console to its rescue file; one line
// "NAME -> RESCUE" (or "NAME: lost" when none could be written) per text.
std::vector<std::string> rescue_modified_texts(workspace& work);

// From now on std::terminate rescues the texts of `work` (and prints where to
// standard error) before the process ends. Null takes the handler back.
void install_last_resort(workspace* work);

}  // namespace vintorel
