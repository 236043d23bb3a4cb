#pragma once

#include <cstddef>

namespace zr3test {

// Measures the heap memory the code under test holds at its peak. The test binary replaces
// the global operator new and delete to keep the count; measuring costs nothing when off.
class AllocationMeter {
 public:
  AllocationMeter();
  ~AllocationMeter();
  AllocationMeter(const AllocationMeter&) = delete;
  AllocationMeter& operator=(const AllocationMeter&) = delete;

  // The most bytes held at once since the meter started, counted from its start.
  std::size_t PeakBytes() const;
};

}  // namespace zr3test
