#include "support/run_program.h"

#include <dirent.h>
#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

extern char** environ;

namespace thc::testing {

std::string sourceDirectory() { return TARNELTHC_SOURCE_DIR; }

std::string makeTempDirectory() {
  const char* base = std::getenv("TMPDIR");
  std::string pattern = std::string(base && *base ? base : "/tmp") + "/thc-test-XXXXXX";
  std::vector<char> buffer(pattern.begin(), pattern.end());
  buffer.push_back('\0');
  if (!mkdtemp(buffer.data())) throw std::runtime_error("mkdtemp failed");
  return buffer.data();
}

void writeFile(const std::string& path, const std::string& content) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << content;
}

std::string readFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream content;
  content << in.rdbuf();
  return content.str();
}

bool fileExists(const std::string& path) {
  struct stat info;
  return ::stat(path.c_str(), &info) == 0;
}

std::vector<std::string> listDirectory(const std::string& path) {
  std::vector<std::string> names;
  DIR* dir = ::opendir(path.c_str());
  if (!dir) return names;
  while (dirent* entry = ::readdir(dir)) {
    std::string name = entry->d_name;
    if (name != "." && name != "..") names.push_back(name);
  }
  ::closedir(dir);
  std::sort(names.begin(), names.end());
  return names;
}

std::vector<std::string> bannerLines(const std::string& first) {
  return {"TarnelTools Help Compiler V0.5",
          "Compiles XML library documentation into HTML Help projects",
          "",
          "This app uses code based on the expat XML parser (https://libexpat.github.io/)",
          "",
          "Analyzing file " + first};
}

ProgramRun runProgram(const std::vector<std::string>& arguments, const std::string& input,
                      const std::string& workingDirectory,
                      const std::vector<std::string>& environment) {
  return runProgram(arguments, input, workingDirectory, environment, RunLimits{});
}

namespace {

// Ours without TARNELTHC_OUTPUT, plus the extra NAME=value entries; an extra
// one replaces ours of the same name (getenv would find the first of two).
std::vector<std::string> childEnvironment(const std::vector<std::string>& extra) {
  auto given = [&](const std::string& variable) {
    for (const auto& entry : extra) {
      if (entry.compare(0, entry.find('=') + 1, variable, 0, variable.find('=') + 1) == 0) return true;
    }
    return false;
  };
  std::vector<std::string> env;
  for (char** e = environ; *e; ++e) {
    if (std::strncmp(*e, "TARNELTHC_OUTPUT=", 17) != 0 && !given(*e)) env.emplace_back(*e);
  }
  env.insert(env.end(), extra.begin(), extra.end());
  return env;
}

// In the child: the signal dispositions a user's shell gives a program
// (ignored ones would survive execve and hide what the program does about
// them), then the program itself.
[[noreturn]] void execProgram(const std::vector<std::string>& arguments, std::vector<std::string> env) {
  ::signal(SIGPIPE, SIG_DFL);
  ::signal(SIGXFSZ, SIG_DFL);
  std::vector<std::string> argv = {TARNELTHC_BINARY};
  argv.insert(argv.end(), arguments.begin(), arguments.end());
  std::vector<char*> cargv, cenv;
  for (auto& a : argv) cargv.push_back(a.data());
  cargv.push_back(nullptr);
  for (auto& e : env) cenv.push_back(e.data());
  cenv.push_back(nullptr);
  ::execve(cargv[0], cargv.data(), cenv.data());
  ::_exit(127);
}

}  // namespace

ProgramRun runProgram(const std::vector<std::string>& arguments, const std::string& input,
                      const std::string& workingDirectory,
                      const std::vector<std::string>& environment, const RunLimits& limits) {
  std::string dir = makeTempDirectory();
  std::string inPath = dir + "/stdin", outPath = dir + "/stdout", errPath = dir + "/stderr";
  writeFile(inPath, input);
  std::vector<std::string> env = childEnvironment(environment);

  auto started = std::chrono::steady_clock::now();
  pid_t pid = ::fork();
  if (pid == 0) {
    if (limits.fileSizeLimit > 0) {
      struct rlimit limit = {limits.fileSizeLimit, limits.fileSizeLimit};
      if (::setrlimit(RLIMIT_FSIZE, &limit) != 0) ::_exit(125);
    }
    if (limits.dataLimit > 0) {
      struct rlimit limit = {limits.dataLimit, limits.dataLimit};
      if (::setrlimit(RLIMIT_DATA, &limit) != 0) ::_exit(125);
    }
    // A pending alarm survives execve as well.
    if (limits.timeoutSeconds > 0) ::alarm(limits.timeoutSeconds);
    int in = ::open(limits.endlessInput ? "/dev/zero" : inPath.c_str(), O_RDONLY);
    int out = ::open(outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    int err = ::open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    ::dup2(in, 0);
    ::dup2(out, 1);
    ::dup2(err, 2);
    if (limits.closedOutput) {
      int ends[2];
      if (::pipe(ends) != 0) ::_exit(125);
      ::close(ends[0]);
      ::dup2(ends[1], 1);
    }
    if (!workingDirectory.empty() && ::chdir(workingDirectory.c_str()) != 0) ::_exit(126);
    execProgram(arguments, std::move(env));
  }
  ProgramRun run;
  int status = 0;
  struct rusage usage {};
  while (::wait4(pid, &status, 0, &usage) < 0 && errno == EINTR) {
  }
  run.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
  run.maxResidentKilobytes = usage.ru_maxrss;
  run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  run.timedOut = WIFSIGNALED(status) && WTERMSIG(status) == SIGALRM;
  run.output = readFile(outPath);
  run.errors = readFile(errPath);
  std::string line;
  for (char c : run.output) {
    if (c == '\n') {
      run.lines.push_back(line);
      line.clear();
    } else {
      line.push_back(c);
    }
  }
  if (!line.empty()) run.lines.push_back(line);
  ::unlink(inPath.c_str());
  ::unlink(outPath.c_str());
  ::unlink(errPath.c_str());
  ::rmdir(dir.c_str());
  return run;
}

ProgramRun runTool(const std::vector<std::string>& argv) {
  const std::string dir = makeTempDirectory();
  const std::string outPath = dir + "/stdout", errPath = dir + "/stderr";
  posix_spawn_file_actions_t actions;
  ::posix_spawn_file_actions_init(&actions);
  ::posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
  ::posix_spawn_file_actions_addopen(&actions, 1, outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  ::posix_spawn_file_actions_addopen(&actions, 2, errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  std::vector<std::string> arguments = argv;
  std::vector<char*> cargv;
  for (auto& a : arguments) cargv.push_back(a.data());
  cargv.push_back(nullptr);
  pid_t pid = -1;
  ProgramRun run;
  int status = 0;
  if (::posix_spawnp(&pid, cargv[0], &actions, nullptr, cargv.data(), environ) == 0) {
    while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  } else {
    run.exitCode = 127;
  }
  ::posix_spawn_file_actions_destroy(&actions);
  run.output = readFile(outPath);
  run.errors = readFile(errPath);
  std::filesystem::remove_all(dir);
  return run;
}

BackgroundRun::BackgroundRun(const std::vector<std::string>& arguments,
                             const std::vector<std::string>& environment) {
  std::vector<std::string> env = childEnvironment(environment);
  int ends[2];
  if (::pipe(ends) != 0) throw std::runtime_error("pipe failed");
  pid_ = ::fork();
  if (pid_ == 0) {
    int in = ::open("/dev/null", O_RDONLY);
    ::dup2(in, 0);
    ::dup2(ends[1], 1);
    ::close(ends[0]);
    execProgram(arguments, std::move(env));
  }
  ::close(ends[1]);
  output_ = ends[0];
}

BackgroundRun::~BackgroundRun() {
  kill();
  ::close(output_);
}

bool BackgroundRun::readUntil(const std::string& start) {
  char buffer[4096];
  for (;;) {
    for (size_t end; (end = pending_.find('\n')) != std::string::npos;) {
      const bool found = pending_.compare(0, start.size(), start) == 0;
      pending_.erase(0, end + 1);
      if (found) return true;
    }
    ssize_t got = ::read(output_, buffer, sizeof buffer);
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) return false;
    pending_.append(buffer, static_cast<size_t>(got));
  }
}

bool BackgroundRun::reap(bool wait) {
  if (reaped_) return true;
  pid_t done;
  while ((done = ::waitpid(pid_, &status_, wait ? 0 : WNOHANG)) < 0 && errno == EINTR) {
  }
  reaped_ = done == pid_;
  return reaped_;
}

bool BackgroundRun::kill() {
  if (reap(false)) return false;
  ::kill(pid_, SIGKILL);
  reap(true);
  return true;
}

int BackgroundRun::finish() {
  while (readUntil("\x01never")) {
  }
  reap(true);
  return WIFEXITED(status_) ? WEXITSTATUS(status_) : 128 + WTERMSIG(status_);
}

}  // namespace thc::testing
