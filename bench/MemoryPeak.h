// SPDX-License-Identifier: MIT
// The memory a piece of work takes, two ways, both exact:
// - resident: the growth of the process's resident set, from the kernel's high-water mark
//   (VmHWM in /proc/self/status, reset through /proc/self/clear_refs after the allocator
//   has given its free memory back), to the page. This is the memory the machine gives;
//   allocated pages that are never written (simdjson sizes its buffers for the worst case)
//   are not in it.
// - heap: vqbench puts its own malloc, free, realloc, calloc and the aligned allocations in
//   front of glibc's (the documented way of replacing malloc), which count the usable size
//   of every block handed out and taken back while a window is open, written or not.
//   Outside a window they only pass the call on, so timings pay a test of one flag per call.
#pragma once

#include <cstdint>

namespace Bench {

struct HeapFigures
{
    std::int64_t peak = 0; // most bytes in use above the level at the start of the window
    std::int64_t end = 0; // bytes in use at its end above that level (may be negative)
};

// False when the counting allocator is not in this build (AddressSanitizer brings its own
// malloc); the window then reports nothing.
bool heapCounting();

void openHeapWindow();
HeapFigures closeHeapWindow();

template<typename Work> HeapFigures heapOf(Work &&work)
{
    openHeapWindow();
    work();
    return closeHeapWindow();
}

// Resident bytes: the most above the level at the start, -1 where /proc cannot tell.
std::int64_t openResidentWindow(); // the level at the start, or -1
std::int64_t closeResidentWindow(std::int64_t start);

template<typename Work> std::int64_t residentPeakOf(Work &&work)
{
    const std::int64_t start = openResidentWindow();
    work();
    return closeResidentWindow(start);
}

} // namespace Bench
