#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <string>
#include <vector>

#include "base/utf.h"
#include "platform/process.h"

namespace thc::platform {

namespace {

bool isExecutableFile(const std::string& path) {
  struct stat info;
  return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) && ::access(path.c_str(), X_OK) == 0;
}

// The first folder of PATH that holds an executable `name`; "" when none.
std::string searchPath(const std::string& name) {
  const char* path = std::getenv("PATH");
  if (!path) return {};
  std::string_view rest = path;
  for (;;) {
    const size_t colon = rest.find(':');
    // An empty entry means the current folder.
    std::string candidate(colon == 0 || rest.empty() ? std::string_view(".") : rest.substr(0, colon));
    candidate.push_back('/');
    candidate.append(name);
    if (isExecutableFile(candidate)) return candidate;
    if (colon == std::string_view::npos) return {};
    rest.remove_prefix(colon + 1);
  }
}

// In the child between fork and exec only async-signal-safe calls are made:
// everything it needs is prepared before the fork.
[[noreturn]] void execChild(const char* program, char* const* argv, const char* directory, int output) {
  // With the parent's standard streams closed the pipe may have got one of
  // their numbers; moved above them, the dup2 calls below cannot clash.
  if (output <= 2) output = ::fcntl(output, F_DUPFD, 3);
  int input = ::open("/dev/null", O_RDONLY);
  if (output < 0 || input < 0) ::_exit(127);
  if (::dup2(input, 0) < 0 || ::dup2(output, 1) < 0 || ::dup2(output, 2) < 0) ::_exit(127);
  if (::chdir(directory) != 0) ::_exit(127);
  // An ignored signal stays ignored across exec; the compiler gets the
  // defaults a shell would give it.
  ::signal(SIGPIPE, SIG_DFL);
  ::signal(SIGXFSZ, SIG_DFL);
  ::execv(program, argv);
  ::_exit(127);
}

void readAll(int fd, OutputLines& lines) {
  char buffer[65536];
  for (;;) {
    ssize_t got = ::read(fd, buffer, sizeof buffer);
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) break;
    lines.add(std::string_view(buffer, static_cast<size_t>(got)));
  }
  lines.finish();
}

std::optional<int> waitFor(pid_t child) {
  int status = 0;
  while (::waitpid(child, &status, 0) < 0) {
    if (errno != EINTR) return std::nullopt;
  }
  if (!WIFEXITED(status)) return std::nullopt;
  return WEXITSTATUS(status);
}

}  // namespace

std::u16string findHelpCompiler(std::u16string_view program) {
  if (program.empty()) return fromUtf8(searchPath("chmcmd"));
  std::string name = toUtf8(program);
  if (name.find('/') == std::string::npos) return fromUtf8(searchPath(name));
  char* resolved = ::realpath(name.c_str(), nullptr);
  if (!resolved) return {};
  std::string path = resolved;
  std::free(resolved);
  return isExecutableFile(path) ? fromUtf8(path) : std::u16string();
}

std::optional<int> runProgram(std::u16string_view program, const std::vector<std::u16string>& arguments,
                              std::u16string_view directory, const LineHandler& onLine) {
  const std::string path = toUtf8(program);
  const std::string folder = toUtf8(directory);
  std::vector<std::string> words = {path};
  for (const std::u16string& argument : arguments) words.push_back(toUtf8(argument));
  std::vector<char*> argv;
  for (std::string& word : words) argv.push_back(word.data());
  argv.push_back(nullptr);

  int pipeEnds[2];
  if (::pipe2(pipeEnds, O_CLOEXEC) != 0) return std::nullopt;
  const pid_t child = ::fork();
  if (child == 0) execChild(path.c_str(), argv.data(), folder.c_str(), pipeEnds[1]);
  ::close(pipeEnds[1]);
  if (child < 0) {
    ::close(pipeEnds[0]);
    return std::nullopt;
  }
  OutputLines lines(onLine);
  readAll(pipeEnds[0], lines);
  ::close(pipeEnds[0]);
  std::optional<int> code = waitFor(child);
  // exec failed: the child could not run the program at all.
  if (code == 127) return std::nullopt;
  return code;
}

}  // namespace thc::platform
