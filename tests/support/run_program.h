// Runs the real tarnelthc binary for end-to-end tests.
#pragma once

#include <string>
#include <utility>
#include <vector>

namespace thc::testing {

struct ProgramRun {
  int exitCode = -1;
  std::vector<std::string> lines;  // standard output, split at "\n"
  std::string output;              // standard output as written
  std::string errors;              // standard error
};

// Runs the binary with the arguments after the program name, `input` on
// standard input, in `workingDirectory` ("" keeps ours), with extra
// environment variables NAME=value. TARNELTHC_OUTPUT is removed from the
// environment unless given here.
ProgramRun runProgram(const std::vector<std::string>& arguments, const std::string& input = "",
                      const std::string& workingDirectory = "",
                      const std::vector<std::string>& environment = {});

// The banner lines and "Analyzing file " + first, as the program prints them.
std::vector<std::string> bannerLines(const std::string& first);

// A fresh empty directory under the system's temporary folder.
std::string makeTempDirectory();

void writeFile(const std::string& path, const std::string& content);
std::string readFile(const std::string& path);
bool fileExists(const std::string& path);
// The names in a directory, sorted.
std::vector<std::string> listDirectory(const std::string& path);

std::string sourceDirectory();

}  // namespace thc::testing
