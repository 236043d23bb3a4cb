#pragma once

#include <gtest/gtest.h>

#include <string>

#include "support/blob.h"

namespace zr3test {

// Compares a saved file with the file a test built: every byte outside identifier fields
// equal, and identifiers renamed consistently (one to one, 0 only for 0).
::testing::AssertionResult SameModuloIds(const Blob& built, const std::string& saved);

}  // namespace zr3test
