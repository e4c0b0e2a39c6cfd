// A second start's hand-over to the running editor, with the user told when
// the running editor does not answer.
#pragma once
#include "shell/handover.h"

namespace vintorel {

// Hands the command line over on a worker thread. When it has not finished
// after limits.notice_ms, a box (string 42) asks whether to start alone; it
// closes by itself when the hand-over ends meanwhile. Returns `cancelled` when
// the user chose to start alone.
handover_result hand_over_with_notice(const handover_input& input, const handover_limits& limits);

}  // namespace vintorel
