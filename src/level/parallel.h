#pragma once

#include <algorithm>
#include <cstddef>
#include <exception>
#include <system_error>
#include <thread>
#include <vector>

namespace zr3 {

// How many parts ParallelParts makes of count items: one per processor core when each part
// gets at least minimumPart items, otherwise one.
inline std::size_t PartCount(std::size_t count, std::size_t minimumPart) {
  const std::size_t cores = std::max(1u, std::thread::hardware_concurrency());
  const std::size_t parts = std::min(cores, count / std::max<std::size_t>(minimumPart, 1));
  return std::max<std::size_t>(parts, 1);
}

// Runs body(part, first, last) over [0, count) in PartCount(count, minimumPart) contiguous
// parts, numbered from 0 in order, each on its own thread when there are several (or on this
// thread when no thread can be started). The parts must share nothing but what they only read
// and what is their own by part number. Once every part has ended, the exception of the first
// part that threw is rethrown.
template <class Body>
void NumberedParts(std::size_t count, std::size_t minimumPart, const Body& body) {
  const std::size_t parts = PartCount(count, minimumPart);
  if (parts < 2) {
    body(std::size_t{0}, std::size_t{0}, count);
    return;
  }
  std::vector<std::exception_ptr> failures(parts);
  const auto run = [&](std::size_t part) {
    try {
      body(part, count * part / parts, count * (part + 1) / parts);
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

// Runs body(first, last) over the parts as NumberedParts does and gives each part's result,
// in part order. A part builds its result on its own and hands it over at its end: results
// filled in place side by side would share cache lines, and every write of one part would
// take them from the others.
template <class Result, class Body>
std::vector<Result> PartResults(std::size_t count, std::size_t minimumPart, const Body& body) {
  std::vector<Result> results(PartCount(count, minimumPart));
  NumberedParts(count, minimumPart, [&](std::size_t part, std::size_t first, std::size_t last) {
    results[part] = body(first, last);
  });
  return results;
}

// The same without part numbers: body(first, last).
template <class Body>
void ParallelParts(std::size_t count, std::size_t minimumPart, const Body& body) {
  NumberedParts(count, minimumPart,
                [&body](std::size_t, std::size_t first, std::size_t last) { body(first, last); });
}

}  // namespace zr3
