// SPDX-License-Identifier: MIT
// The resident high-water mark, and the counting allocator in front of glibc's. Counting every thread's blocks while a
// window is open: bytes in use are the usable sizes of the blocks allocated minus those
// freed since it opened, so blocks from before the window that are freed inside it lower
// the level, as they do in the process.
#include "MemoryPeak.h"

#include <atomic>
#include <cerrno>
#include <cstddef>
#include <cstdio>
#include <cstring>
#include <malloc.h>

#if defined(__SANITIZE_ADDRESS__)
#define VQ_BENCH_NO_HEAP_COUNTING
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define VQ_BENCH_NO_HEAP_COUNTING
#endif
#endif

namespace {
std::atomic<bool> counting { false };
std::atomic<std::int64_t> inUse { 0 };
std::atomic<std::int64_t> peak { 0 };
} // namespace

namespace Bench {

#ifdef VQ_BENCH_NO_HEAP_COUNTING
bool heapCounting()
{
    return false;
}
#else
bool heapCounting()
{
    return true;
}
#endif

void openHeapWindow()
{
    inUse.store(0);
    peak.store(0);
    counting.store(true);
}

HeapFigures closeHeapWindow()
{
    counting.store(false);
    return { peak.load(), inUse.load() };
}

namespace {

// A "Vm...:   123 kB" line of /proc/self/status in bytes, or -1. Read with the C library
// alone, so that reading allocates nothing the window would see.
std::int64_t statusBytes(const char *key)
{
    std::FILE *file = std::fopen("/proc/self/status", "re");
    if (!file)
        return -1;
    char line[256];
    std::int64_t bytes = -1;
    const size_t length = std::strlen(key);
    while (std::fgets(line, sizeof line, file)) {
        long long kilobytes = 0;
        if (std::strncmp(line, key, length) == 0 && line[length] == ':'
            && std::sscanf(line + length + 1, "%lld", &kilobytes) == 1) {
            bytes = std::int64_t(kilobytes) * 1024;
            break;
        }
    }
    std::fclose(file);
    return bytes;
}

} // namespace

std::int64_t openResidentWindow()
{
    malloc_trim(0); // free memory the allocator kept would hide the growth
    std::FILE *file = std::fopen("/proc/self/clear_refs", "we");
    if (!file)
        return -1;
    const bool reset = std::fputs("5", file) >= 0; // 5: the high-water mark starts again from now
    if (std::fclose(file) != 0 || !reset)
        return -1;
    return statusBytes("VmRSS");
}

std::int64_t closeResidentWindow(std::int64_t start)
{
    const std::int64_t high = statusBytes("VmHWM");
    return start < 0 || high < 0 ? -1 : high - start;
}

} // namespace Bench

#ifndef VQ_BENCH_NO_HEAP_COUNTING

extern "C" {
void *__libc_malloc(size_t size);
void __libc_free(void *block);
void *__libc_realloc(void *block, size_t size);
void *__libc_calloc(size_t count, size_t size);
void *__libc_memalign(size_t alignment, size_t size);
void *__libc_valloc(size_t size);
void *__libc_pvalloc(size_t size);
}

namespace {

inline void allocated(void *block)
{
    if (!block || !counting.load(std::memory_order_relaxed))
        return;
    const std::int64_t now = inUse.fetch_add(std::int64_t(malloc_usable_size(block)), std::memory_order_relaxed)
        + std::int64_t(malloc_usable_size(block));
    std::int64_t high = peak.load(std::memory_order_relaxed);
    while (now > high && !peak.compare_exchange_weak(high, now, std::memory_order_relaxed)) { }
}

inline void freeing(void *block)
{
    if (block && counting.load(std::memory_order_relaxed))
        inUse.fetch_sub(std::int64_t(malloc_usable_size(block)), std::memory_order_relaxed);
}

} // namespace

extern "C" {

void *malloc(size_t size) __THROW
{
    void *block = __libc_malloc(size);
    allocated(block);
    return block;
}

void free(void *block) __THROW
{
    freeing(block);
    __libc_free(block);
}

void *calloc(size_t count, size_t size) __THROW
{
    void *block = __libc_calloc(count, size);
    allocated(block);
    return block;
}

void *realloc(void *block, size_t size) __THROW
{
    // Counted as a free of the old block and an allocation of the new one; a failed
    // realloc leaves the old block in use.
    const bool on = counting.load(std::memory_order_relaxed);
    const std::int64_t before = on && block ? std::int64_t(malloc_usable_size(block)) : 0;
    void *moved = __libc_realloc(block, size);
    if (!on || (!moved && size != 0))
        return moved;
    inUse.fetch_sub(before, std::memory_order_relaxed);
    allocated(moved);
    return moved;
}

void *memalign(size_t alignment, size_t size) __THROW
{
    void *block = __libc_memalign(alignment, size);
    allocated(block);
    return block;
}

void *aligned_alloc(size_t alignment, size_t size) __THROW
{
    return memalign(alignment, size);
}

int posix_memalign(void **result, size_t alignment, size_t size) __THROW
{
    if (alignment % sizeof(void *) != 0 || (alignment & (alignment - 1)) != 0)
        return EINVAL;
    void *block = memalign(alignment, size);
    if (!block)
        return ENOMEM;
    *result = block;
    return 0;
}

void *valloc(size_t size) __THROW
{
    void *block = __libc_valloc(size);
    allocated(block);
    return block;
}

void *pvalloc(size_t size) __THROW
{
    void *block = __libc_pvalloc(size);
    allocated(block);
    return block;
}

} // extern "C"

#endif
