#include "AllocationCounter.h"

#include <atomic>
#include <cstdlib>
#include <new>

namespace {
// operator new has no context to hand a counter through; this one count is the benchmark's only
// process-wide value.
std::atomic<unsigned long> allocations{0};
} // namespace

unsigned long allocationCount() {
    return allocations.load(std::memory_order_relaxed);
}

// The array, nothrow and sized forms of the standard library all come through these two.
void* operator new(std::size_t size) {
    allocations.fetch_add(1, std::memory_order_relaxed);
    if (void* memory = std::malloc(size == 0 ? 1 : size)) {
        return memory;
    }
    throw std::bad_alloc();
}

void operator delete(void* memory) noexcept {
    std::free(memory);
}

void operator delete(void* memory, std::size_t /*size*/) noexcept {
    std::free(memory);
}
