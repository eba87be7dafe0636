// Memory for the line geometry, in large pages where the system has them
// (POSIX). The embedded line's geometry, about 2 MB, then fits in one page
// and costs one page fault instead of some five hundred, each of which is
// dear on a virtual machine. Windows grants large pages only to accounts
// with the right to lock memory, which a driver's account lacks: there the
// geometry comes from the heap.
#pragma once

#include <cstddef>
#include <memory_resource>

namespace scenario {

// Hands out the memory of one large reserved region, in order, and takes it
// back for reuse once everything handed out has come back; what does not
// fit in the region comes from the heap. The region is only reserved: a
// page of it costs memory once it is written.
class LargePageMemory final : public std::pmr::memory_resource {
  public:
    LargePageMemory() = default;
    ~LargePageMemory() override;
    LargePageMemory(const LargePageMemory&) = delete;
    LargePageMemory& operator=(const LargePageMemory&) = delete;

  private:
    void* do_allocate(std::size_t bytes, std::size_t alignment) override;
    void do_deallocate(void* p, std::size_t bytes, std::size_t alignment) override;
    bool do_is_equal(const std::pmr::memory_resource& other) const noexcept override {
        return this == &other;
    }
    bool reserve();
    bool in_region(const void* p) const;

    unsigned char* region_ = nullptr;  // aligned to a large page
    void* mapping_ = nullptr;          // what the system handed out, to give back
    std::size_t mapping_bytes_ = 0;
    bool reserve_failed_ = false;
    std::size_t used_ = 0;  // bytes handed out from the start of the region
    std::size_t live_ = 0;  // blocks of the region not yet given back
};

}  // namespace scenario
