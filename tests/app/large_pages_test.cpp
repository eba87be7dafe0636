// The builder's memory for the line geometry: blocks in order from one
// region, given back for reuse once all of them have come back, the heap
// for what does not fit.
#include "app/large_pages.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>

namespace scenario {
namespace {

bool aligned(const void* p, std::size_t to) {
    return reinterpret_cast<std::uintptr_t>(p) % to == 0;
}

TEST(LargePageMemory, HandsOutBlocksInOrderAndReusesThemWhenAllAreBack) {
    LargePageMemory memory;
    std::pmr::memory_resource& r = memory;
    // The columns of the embedded line: tags, then x and y.
    void* tag = r.allocate(216002, 2);
    void* x = r.allocate(864008, 8);
    void* y = r.allocate(864008, 8);
    EXPECT_TRUE(aligned(tag, std::size_t{2} << 20));  // the region starts on a large page
    EXPECT_TRUE(aligned(x, 64));
    EXPECT_GE(static_cast<char*>(x), static_cast<char*>(tag) + 216002);
    EXPECT_GE(static_cast<char*>(y), static_cast<char*>(x) + 864008);
    std::memset(tag, 1, 216002);
    std::memset(x, 2, 864008);
    std::memset(y, 3, 864008);
    EXPECT_EQ(static_cast<unsigned char*>(x)[864007], 2);

    r.deallocate(x, 864008, 8);
    void* after = r.allocate(64, 8);
    EXPECT_GT(after, y);  // one block is still out: nothing is reused yet
    r.deallocate(after, 64, 8);
    r.deallocate(tag, 216002, 2);
    r.deallocate(y, 864008, 8);
    EXPECT_EQ(r.allocate(100, 8), tag);  // all back: the region starts over
}

TEST(LargePageMemory, WhatDoesNotFitComesFromTheHeap) {
    LargePageMemory memory;
    std::pmr::memory_resource& r = memory;
    void* first = r.allocate(24u << 20, 8);
    void* second = r.allocate(24u << 20, 8);  // the region holds 32 MiB
    ASSERT_NE(second, nullptr);
    EXPECT_TRUE(second < first || second >= static_cast<char*>(first) + (32u << 20));
    std::memset(second, 0, 24u << 20);
    r.deallocate(second, 24u << 20, 8);
    r.deallocate(first, 24u << 20, 8);
    EXPECT_FALSE(r.is_equal(*std::pmr::new_delete_resource()));
}

}  // namespace
}  // namespace scenario
