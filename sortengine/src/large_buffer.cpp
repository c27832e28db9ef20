#include "large_buffer.h"

#include <sys/mman.h>

#include <cstdlib>

namespace sorvel::large_memory {
namespace {

constexpr std::size_t kHugePage = std::size_t{2} << 20;
constexpr std::size_t kMapThreshold = std::size_t{256} << 10;

std::size_t mapped_length(std::size_t bytes) {
    return (bytes + kHugePage - 1) & ~(kHugePage - 1);
}

#if defined(__SANITIZE_ADDRESS__)
constexpr bool kUseMappings = false;  // keep the heap checks on every block
#else
constexpr bool kUseMappings = true;
#endif

}  // namespace

void* allocate(std::size_t bytes) {
    if (!kUseMappings || bytes < kMapThreshold) return std::malloc(bytes);
    const std::size_t length = mapped_length(bytes);
    // Over-map by one huge page, then trim both ends to an aligned block.
    void* raw = ::mmap(nullptr, length + kHugePage, PROT_READ | PROT_WRITE,
                       MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE, -1, 0);
    if (raw == MAP_FAILED) return nullptr;
    const auto start = reinterpret_cast<std::uintptr_t>(raw);
    const std::uintptr_t aligned = (start + kHugePage - 1) & ~(kHugePage - 1);
    const std::size_t head = aligned - start;
    if (head > 0) ::munmap(raw, head);
    const std::size_t tail = kHugePage - head;
    if (tail > 0) ::munmap(reinterpret_cast<void*>(aligned + length), tail);
    void* block = reinterpret_cast<void*>(aligned);
#ifdef MADV_HUGEPAGE
    ::madvise(block, length, MADV_HUGEPAGE);  // a hint; plain pages serve too
#endif
    return block;
}

void release(void* block, std::size_t bytes) {
    if (!kUseMappings || bytes < kMapThreshold) {
        std::free(block);
        return;
    }
    ::munmap(block, mapped_length(bytes));
}

}  // namespace sorvel::large_memory
