// A temporary folder that is removed with everything in it at the end of a
// test.
#pragma once

#include <filesystem>
#include <string>

#include "support/run_program.h"

namespace thc::testing {

struct TempFolder {
  TempFolder() = default;
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;
  ~TempFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path, ignored);
  }
  std::string path = makeTempDirectory();
};

}  // namespace thc::testing
