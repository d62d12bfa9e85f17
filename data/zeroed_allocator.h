#pragma once
// An allocator for arrays of numbers that start as zeros and may never be written: memory comes
// zeroed from calloc (for large arrays straight from the system, so pages nobody touches cost
// nothing), value-initialising an element writes nothing, and an element that goes away is set
// back to zero, so that the memory past an array's end is always zero.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <new>
#include <type_traits>
#include <utility>

namespace ore {

template <class T>
class ZeroedAllocator {
  static_assert(std::is_arithmetic_v<T>, "zero bytes must be the value 0");

 public:
  using value_type = T;

  ZeroedAllocator() = default;
  template <class U>
  ZeroedAllocator(const ZeroedAllocator<U>&) {}

  T* allocate(std::size_t n) {
    if (n > SIZE_MAX / sizeof(T)) throw std::bad_alloc();
    void* p = std::calloc(n ? n : 1, sizeof(T));
    if (!p) throw std::bad_alloc();
    return static_cast<T*>(p);
  }
  void deallocate(T* p, std::size_t) { std::free(p); }

  // The memory is zero already.
  template <class U>
  void construct(U*) {}
  template <class U, class... Args>
  void construct(U* p, Args&&... args) {
    ::new (static_cast<void*>(p)) U(std::forward<Args>(args)...);
  }
  template <class U>
  void destroy(U* p) {
    *p = U();
  }

  friend bool operator==(const ZeroedAllocator&, const ZeroedAllocator&) { return true; }
};

}  // namespace ore
