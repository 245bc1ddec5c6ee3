// Marks where each phase of the launcher's start-up, and of its "Start
// Generals", ends, for the benchmark's traced build of the launcher. The players' exe links
// trace.cpp, whose mark does nothing and vanishes when the program is optimised as a whole; the
// traced build links its own definition (bench/phase_trace.cpp) ahead of the
// library, which records the time of each mark.
#pragma once

namespace kelvaro::trace {

void PhaseEnd(const char* phase);

}  // namespace kelvaro::trace
