// The traced launcher's marks: the counter at the end of each phase, kept in
// memory and written, once the window has been painted and again once the
// game's process is created, to the file that the benchmark names in
// KELVARO_TRACE_FILE: one line per phase, its counter, a tab and its name. The players' exe reads
// no such variable: it links the mark that does nothing.
#include <windows.h>

#include <cstdio>
#include <cstring>

#include "trace.h"

namespace kelvaro::trace {

namespace {

constexpr char kLastPhases[][24] = {"first paint", "game process created"};

struct Mark {
    LONGLONG counter;
    const char* phase;
};
Mark marks[64];
int markCount = 0;

void WriteMarks() {
    char path[MAX_PATH];
    const DWORD length = GetEnvironmentVariableA("KELVARO_TRACE_FILE", path, sizeof path);
    if (length == 0 || length >= sizeof path) return;
    std::FILE* file = std::fopen(path, "w");
    if (file == nullptr) return;
    for (int i = 0; i < markCount; ++i) {
        std::fprintf(file, "%lld\t%s\n", marks[i].counter, marks[i].phase);
    }
    std::fclose(file);
}

}  // namespace

void PhaseEnd(const char* phase) {
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    if (markCount < static_cast<int>(sizeof marks / sizeof marks[0])) {
        marks[markCount++] = {now.QuadPart, phase};
    }
    for (const char* last : kLastPhases)
        if (std::strcmp(phase, last) == 0) WriteMarks();
}

}  // namespace kelvaro::trace
