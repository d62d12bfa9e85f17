#pragma once
// An allocator for the few very large arrays (a million-row sheet's cells, the source-data grid):
// blocks from 2 MiB on are mapped on their own and offered transparent huge pages, so filling
// them costs a few dozen page faults instead of tens of thousands. Smaller blocks come from the
// ordinary heap.

#include <sys/mman.h>

#include <cstddef>
#include <cstdint>
#include <memory>
#include <new>

namespace ore {

template <class T>
class BlockAllocator {
 public:
  using value_type = T;

  BlockAllocator() = default;
  template <class U>
  BlockAllocator(const BlockAllocator<U>&) {}

  T* allocate(std::size_t n) {
    if (n > SIZE_MAX / sizeof(T)) throw std::bad_alloc();
    const std::size_t bytes = n * sizeof(T);
    if (bytes < kHuge) return std::allocator<T>().allocate(n);
    // Mapped with room to start on a huge-page boundary; the slack is given back at once.
    const std::size_t size = rounded(bytes);
    void* p =
        ::mmap(nullptr, size + kHuge, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (p == MAP_FAILED) throw std::bad_alloc();
    const auto at = reinterpret_cast<std::uintptr_t>(p);
    const std::uintptr_t aligned = (at + kHuge - 1) & ~(std::uintptr_t{kHuge} - 1);
    if (aligned > at) ::munmap(p, aligned - at);
    if (aligned + size < at + size + kHuge)
      ::munmap(reinterpret_cast<void*>(aligned + size), at + size + kHuge - aligned - size);
    ::madvise(reinterpret_cast<void*>(aligned), size, MADV_HUGEPAGE);
    return reinterpret_cast<T*>(aligned);
  }

  void deallocate(T* p, std::size_t n) {
    const std::size_t bytes = n * sizeof(T);
    if (bytes < kHuge)
      std::allocator<T>().deallocate(p, n);
    else
      ::munmap(p, rounded(bytes));
  }

  friend bool operator==(const BlockAllocator&, const BlockAllocator&) { return true; }

 private:
  static constexpr std::size_t kHuge = std::size_t{2} << 20;
  static std::size_t rounded(std::size_t bytes) { return (bytes + kHuge - 1) & ~(kHuge - 1); }
};

}  // namespace ore
