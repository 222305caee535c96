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
  long maxResidentKilobytes = 0;   // peak memory of the child
  double seconds = 0;              // wall-clock time of the child
  bool timedOut = false;           // killed by the time limit
};

// Limits set in the child before the program starts.
struct RunLimits {
  // RLIMIT_FSIZE in bytes (0: none). SIGXFSZ is ignored, so writes past the
  // limit fail with EFBIG instead of killing the program: a full disk.
  unsigned long long fileSizeLimit = 0;
  // Wall-clock limit in seconds (0: none); the child is killed by SIGALRM and
  // exitCode becomes 128 + SIGALRM.
  unsigned timeoutSeconds = 0;
  // RLIMIT_DATA in bytes (0: none): the program's heap. An allocation past it
  // fails, which ends the program with std::bad_alloc.
  unsigned long long dataLimit = 0;
};

// Runs the binary with the arguments after the program name, `input` on
// standard input, in `workingDirectory` ("" keeps ours), with extra
// environment variables NAME=value, each replacing ours of that name.
// TARNELTHC_OUTPUT is removed from the environment unless given here.
ProgramRun runProgram(const std::vector<std::string>& arguments, const std::string& input = "",
                      const std::string& workingDirectory = "",
                      const std::vector<std::string>& environment = {});
ProgramRun runProgram(const std::vector<std::string>& arguments, const std::string& input,
                      const std::string& workingDirectory,
                      const std::vector<std::string>& environment, const RunLimits& limits);

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
