// The allocator of the line geometry's columns. Two things set it apart
// from std::allocator:
//   - a column sized with resize() gets its rows without a value (as
//     `new double[n]` would): the line compiler gives every row its value
//     exactly once, so filling a million rows with zeros first would only
//     write the memory twice;
//   - the memory comes from a resource chosen by whoever makes the model:
//     the builder hands one that backs the geometry with large pages.
// Rows created with a value (push_back, assign, insert) get that value, as
// usual. A column is moved, copied and swapped together with its resource.
#pragma once

#include <cstddef>
#include <memory_resource>
#include <new>
#include <type_traits>
#include <utility>

namespace scenario {

template <typename T>
class RowAllocator {
  public:
    using value_type = T;
    using propagate_on_container_copy_assignment = std::true_type;
    using propagate_on_container_move_assignment = std::true_type;
    using propagate_on_container_swap = std::true_type;

    RowAllocator() noexcept = default;
    explicit RowAllocator(std::pmr::memory_resource* resource) noexcept : resource_(resource) {}
    template <typename U>
    RowAllocator(const RowAllocator<U>& other) noexcept : resource_(other.resource()) {}

    T* allocate(std::size_t n) {
        return static_cast<T*>(resource_->allocate(n * sizeof(T), alignof(T)));
    }
    void deallocate(T* p, std::size_t n) noexcept {
        resource_->deallocate(p, n * sizeof(T), alignof(T));
    }

    // A row made without a value is left without one.
    template <typename U>
    void construct(U* p) noexcept(std::is_nothrow_default_constructible_v<U>) {
        ::new (static_cast<void*>(p)) U;
    }
    template <typename U, typename... Args>
    void construct(U* p, Args&&... args) {
        ::new (static_cast<void*>(p)) U(std::forward<Args>(args)...);
    }

    std::pmr::memory_resource* resource() const noexcept { return resource_; }

    template <typename U>
    bool operator==(const RowAllocator<U>& other) const noexcept {
        return resource_->is_equal(*other.resource());
    }

  private:
    std::pmr::memory_resource* resource_ = std::pmr::new_delete_resource();
};

}  // namespace scenario
