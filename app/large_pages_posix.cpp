#include <sys/mman.h>

#include <cstdint>

#include "app/large_pages.h"

namespace scenario {

namespace {

// The large page of x86-64 and of most 64-bit systems with 4 KiB pages.
constexpr std::size_t kLargePage = std::size_t{2} << 20;
// Room for the geometry of the longest line, 1007001 rows of a tag and two
// doubles (18 MB), with room to spare.
constexpr std::size_t kRegionBytes = std::size_t{32} << 20;
// Blocks start on a cache line.
constexpr std::size_t kBlockAlignment = 64;

std::size_t round_up(std::size_t n, std::size_t to) {
    return (n + to - 1) / to * to;
}

}  // namespace

LargePageMemory::~LargePageMemory() {
    if (mapping_ != nullptr) ::munmap(mapping_, mapping_bytes_);
}

// Reserves the region on first use, on a large-page boundary, and asks for
// large pages there. Where the system has none the region is plain memory.
bool LargePageMemory::reserve() {
    if (region_ != nullptr) return true;
    if (reserve_failed_) return false;
    mapping_bytes_ = kRegionBytes + kLargePage;
    void* mapping = ::mmap(nullptr, mapping_bytes_, PROT_READ | PROT_WRITE,
                           MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE, -1, 0);
    if (mapping == MAP_FAILED) {
        reserve_failed_ = true;
        return false;
    }
    mapping_ = mapping;
    const auto start = reinterpret_cast<std::uintptr_t>(mapping);
    region_ = static_cast<unsigned char*>(mapping) + (round_up(start, kLargePage) - start);
    ::madvise(region_, kRegionBytes, MADV_HUGEPAGE);
    return true;
}

bool LargePageMemory::in_region(const void* p) const {
    const auto* at = static_cast<const unsigned char*>(p);
    return region_ != nullptr && at >= region_ && at < region_ + kRegionBytes;
}

void* LargePageMemory::do_allocate(std::size_t bytes, std::size_t alignment) {
    const std::size_t at =
        round_up(used_, alignment > kBlockAlignment ? alignment : kBlockAlignment);
    if (!reserve() || at > kRegionBytes || bytes > kRegionBytes - at) {
        return std::pmr::new_delete_resource()->allocate(bytes, alignment);
    }
    used_ = at + bytes;
    ++live_;
    return region_ + at;
}

void LargePageMemory::do_deallocate(void* p, std::size_t bytes, std::size_t alignment) {
    if (!in_region(p)) {
        std::pmr::new_delete_resource()->deallocate(p, bytes, alignment);
        return;
    }
    if (--live_ == 0) used_ = 0;
}

}  // namespace scenario
