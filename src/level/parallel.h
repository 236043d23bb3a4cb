#pragma once

#include <algorithm>
#include <cstddef>
#include <exception>
#include <system_error>
#include <thread>
#include <vector>

namespace zr3 {

// Runs body(first, last) over [0, count) in contiguous parts, one per processor core, when
// each part gets at least minimumPart items; otherwise, or when no thread can be started, in
// one call on this thread. The parts must share nothing but what they only read. Once every
// part has ended, the exception of the first part that threw is rethrown.
template <class Body>
void ParallelParts(std::size_t count, std::size_t minimumPart, const Body& body) {
  const std::size_t cores = std::max(1u, std::thread::hardware_concurrency());
  const std::size_t parts = std::min(cores, count / std::max<std::size_t>(minimumPart, 1));
  if (parts < 2) {
    body(std::size_t{0}, count);
    return;
  }
  std::vector<std::exception_ptr> failures(parts);
  const auto run = [&](std::size_t part) {
    try {
      body(count * part / parts, count * (part + 1) / parts);
    } catch (...) {
      failures[part] = std::current_exception();
    }
  };
  std::vector<std::thread> helpers;
  std::size_t started = 1;
  try {
    for (; started < parts; ++started) helpers.emplace_back(run, started);
  } catch (const std::system_error&) {
    // No more threads: this thread takes the parts that were not started.
  }
  run(0);
  for (std::size_t part = started; part < parts; ++part) run(part);
  for (std::thread& helper : helpers) helper.join();
  for (const std::exception_ptr& failure : failures) {
    if (failure) std::rethrow_exception(failure);
  }
}

}  // namespace zr3
