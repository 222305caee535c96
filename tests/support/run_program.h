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
  // RLIMIT_FSIZE in bytes (0: none): a full disk. The program runs with the
  // default dispositions of SIGXFSZ and SIGPIPE, as from a shell.
  unsigned long long fileSizeLimit = 0;
  // Wall-clock limit in seconds (0: none); the child is killed by SIGALRM and
  // exitCode becomes 128 + SIGALRM.
  unsigned timeoutSeconds = 0;
  // RLIMIT_DATA in bytes (0: none): the program's heap. An allocation past it
  // fails, which ends the program with std::bad_alloc.
  unsigned long long dataLimit = 0;
  // Standard output is a pipe whose reader is gone, as after "| head -1".
  bool closedOutput = false;
  // Standard input is an endless line of zero bytes (/dev/zero) instead of
  // `input`.
  bool endlessInput = false;
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

// Runs another program, found on PATH, with standard input empty: what it
// printed on each stream and how it ended (127: it could not be started).
ProgramRun runTool(const std::vector<std::string>& argv);

// The program started in the background with standard input at its end and
// standard output on a pipe that the test reads only when it wants to: a
// program that writes more than the pipe holds waits until it is read.
class BackgroundRun {
 public:
  BackgroundRun(const std::vector<std::string>& arguments, const std::vector<std::string>& environment);
  ~BackgroundRun();
  BackgroundRun(const BackgroundRun&) = delete;
  BackgroundRun& operator=(const BackgroundRun&) = delete;
  // Reads standard output up to a line that starts with `start`; false when
  // the output ends first.
  bool readUntil(const std::string& start);
  // Ends the program with SIGKILL; true when it was still running.
  bool kill();
  // Reads standard output to its end and waits for the exit code.
  int finish();

 private:
  bool reap(bool wait);
  int pid_ = -1;
  int output_ = -1;
  int status_ = 0;
  bool reaped_ = false;
  std::string pending_;
};

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
