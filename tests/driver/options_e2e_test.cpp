// The command-line options through the real binary, one row a case: what
// each option does, the usage errors, the link check, confinement, the help
// file compiled in the same run and the paths that are not UTF-8.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <iostream>

#include "helpproject/temp_folder.h"
#include "support/run_program.h"

namespace thc::testing {
namespace {

// What a run must show. `lines` appear on standard output in this order,
// with other lines between them allowed.
struct Case {
  std::vector<std::string> arguments;
  std::string input;
  std::vector<std::string> environment;
  int exitCode = 0;
  std::vector<std::string> lines;
  std::vector<std::string> absentLines;
  std::string errors;             // standard error, exactly
  // The program's heap limit (0: none): a run that needs more fails.
  unsigned long long memoryLimit = 0;
  // Standard input is an endless line (/dev/zero) instead of `input`; the
  // run is ended after a minute should it read for ever.
  bool endlessInput = false;
  std::function<void(const ProgramRun&)> check = nullptr;  // the files, and more
};

Case start(std::vector<std::string> arguments, std::string input = "",
           std::vector<std::string> environment = {}) {
  Case c;
  c.arguments = std::move(arguments);
  c.input = std::move(input);
  c.environment = std::move(environment);
  return c;
}

// The folder of one row: a project in project/ and room around it.
struct Folder {
  TempFolder temp;
  std::string root = temp.path;
  std::string project = root + "/project";
  std::string out = root + "/out";
  Folder() { std::filesystem::create_directory(project); }
  // Writes project/NAME and returns its path.
  std::string file(const std::string& name, const std::string& content) const {
    writeFile(project + "/" + name, content);
    return project + "/" + name;
  }
  std::string tinyProject() const {
    return file("p.xml", "<doc title='T'><library name='L'><command name='C'>"
                         "<description>Draws.</description></command></library></doc>");
  }
  // A program on PATH that prints `say`, writes `writes` into the compiled
  // file in the current folder and ends with `code`: a help compiler that
  // can be told what to do.
  std::string fakeCompiler(const std::string& say, const std::string& writes, int code) const {
    const std::string bin = root + "/bin";
    std::filesystem::create_directory(bin);
    writeFile(bin + "/chmcmd", "#!/bin/sh\necho '" + say + "'\nprintf '" + writes + "' > T.chm\nexit " +
                                   std::to_string(code) + "\n");
    ::chmod((bin + "/chmcmd").c_str(), 0755);
    return "PATH=" + bin;
  }
};

struct Row {
  const char* what;
  std::function<Case(const Folder&)> make;
  bool needsChmcmd = false;
};

bool chmcmdInstalled() { return std::system("command -v chmcmd >/dev/null 2>&1") == 0; }

bool contains(const std::vector<std::string>& lines, const std::string& line) {
  return std::find(lines.begin(), lines.end(), line) != lines.end();
}

// The demo project, whose every link leads somewhere.
std::string demo() { return sourceDirectory() + "/examples/demo/demo.xml"; }

const std::string kReplaced = "\xEF\xBF\xBD";  // U+FFFD in UTF-8

const std::vector<Row> kRows = {
    {"-h and --help print the same usage text naming every option, and read nothing",
     [](const Folder&) {
       Case c = start({"--help"});
       c.check = [](const ProgramRun& run) {
         EXPECT_EQ(run.output, runProgram({"-h"}).output);
         for (const char* option : {"-h", "--help", "--version", "-o", "--output", "--no-wait", "--chm",
                                    "--hhc", "--check-links", "--confine", "--"}) {
           EXPECT_NE(run.output.find(option), std::string::npos) << option;
         }
         EXPECT_FALSE(contains(run.lines, "Press return to exit"));
       };
       return c;
     }},
    {"--version names the program and the parser",
     [](const Folder&) {
       Case c = start({"x", "--version"});
       c.check = [](const ProgramRun& run) {
         ASSERT_EQ(run.lines.size(), 2u);
         EXPECT_EQ(run.lines[0], bannerLines("")[0]);
         EXPECT_EQ(run.lines[1].rfind("expat ", 0), 0u);
         EXPECT_NE(run.lines[1].find_first_of("0123456789"), std::string::npos);
       };
       return c;
     }},
    {"an unknown option is a usage error",
     [](const Folder& f) {
       Case c = start({"x", f.tinyProject(), "--frobnicate"});
       c.exitCode = 2;
       c.errors = "Unknown option --frobnicate\nTry --help\n";
       c.check = [&f](const ProgramRun& run) {
         EXPECT_EQ(run.output, "");
         EXPECT_FALSE(fileExists(f.project + "/html"));
       };
       return c;
     }},
    {"an option without its value is a usage error",
     [](const Folder& f) {
       Case c = start({"x", f.tinyProject(), "--output"});
       c.exitCode = 2;
       c.errors = "Missing value for --output\n";
       return c;
     }},
    {"-o names the output folder ahead of TARNELTHC_OUTPUT",
     [](const Folder& f) {
       Case c = start({"x", f.tinyProject(), "-o", f.out}, "", {"TARNELTHC_OUTPUT=" + f.root + "/env"});
       c.lines = {"Creating HTML files at " + f.out + "/", "Completed"};
       c.check = [&f](const ProgramRun&) {
         EXPECT_TRUE(fileExists(f.out + "/index.html"));
         EXPECT_FALSE(fileExists(f.root + "/env"));
       };
       return c;
     }},
    {"--output=DIR with the project asked for: no folder prompt",
     [](const Folder& f) {
       Case c = start({"--output=" + f.out}, f.tinyProject() + "\n");
       c.lines = {"Select document project file: success", "Creating HTML files at " + f.out + "/"};
       return c;
     }},
    {"--no-wait ends without waiting, wherever it stands",
     [](const Folder& f) {
       Case c = start({"x", "--no-wait", f.tinyProject()});
       c.lines = {"Analyzing file x", "File ok", "Completed"};
       c.absentLines = {"Press return to exit"};
       return c;
     }},
    {"after -- every argument is plain",
     [](const Folder& f) {
       Case c = start({"--", "--no-wait", f.tinyProject()});
       c.lines = {"Analyzing file --no-wait", "File ok", "Press return to exit"};
       return c;
     }},
    {"a minus before a digit starts no option",
     [](const Folder& f) {
       Case c = start({"-5", f.tinyProject(), "--no-wait"});
       c.lines = {"Analyzing file -5", "File ok"};
       return c;
     }},
    {"--check-links reports a missing page, a missing anchor and names that differ only in case",
     [](const Folder& f) {
       const std::string project = f.file(
           "p.xml",
           "<doc title='T'><library name='L'><description><![CDATA["
           "<a href='Nowhere.html'>a</a> <a href='index.html#nowhere'>b</a> "
           "<a href='index.html#libraries'>c</a> <a href='http://example.com/'>d</a> "
           "<a href='#top'>e</a><a name='top'></a>]]></description>"
           "<command name='Plot'/><command name='plot'/></library></doc>");
       Case c = start({"x", project, "--check-links", "--no-wait"});
       c.exitCode = 1;
       c.lines = {"Checking links ...", "Broken link in L_index.html: Nowhere.html",
                  "Broken link in L_index.html: index.html#nowhere",
                  "Names differ only in case: L_f_Plot.html, L_f_plot.html", "Broken links found"};
       c.check = [](const ProgramRun& run) {
         EXPECT_EQ(std::count_if(run.lines.begin(), run.lines.end(),
                                 [](const std::string& l) { return l.rfind("Broken link in", 0) == 0; }),
                   2);
       };
       return c;
     }},
    {"--check-links finds every link of the demo leading somewhere",
     [](const Folder& f) {
       Case c = start({"x", demo(), "-o", f.out, "--check-links", "--no-wait"});
       c.lines = {"Copying Image Files to " + f.out + "/", "Completed", "Checking links ...", "done"};
       return c;
     }},
    {"--confine skips imports outside the project folder, also behind a link",
     [](const Folder& f) {
       writeFile(f.root + "/outside.xml", "<library name='Out'><command name='C'/></library>");
       ::symlink("../outside.xml", (f.project + "/link.xml").c_str());
       f.file("inner.xml", "<library name='In'><command name='C'/></library>");
       const std::string project = f.file(
           "p.xml", "<doc title='T'><import file='../outside.xml'/><import file='link.xml'/>"
                    "<import file='inner.xml'/></doc>");
       Case c = start({"x", project, "-o", f.out, "--confine", "--no-wait"});
       c.exitCode = 1;
       c.lines = {"Importing external file " + f.project + "/../outside.xml",
                  "Outside the project folder, file skipped",
                  "Importing external file " + f.project + "/link.xml",
                  "Outside the project folder, file skipped",
                  "Importing external file " + f.project + "/inner.xml", "success", "Completed"};
       c.check = [&f](const ProgramRun&) {
         EXPECT_TRUE(fileExists(f.out + "/In_index.html"));
         EXPECT_FALSE(fileExists(f.out + "/Out_index.html"));
       };
       return c;
     }},
    {"--confine fails the copy of an image outside the project folder",
     [](const Folder& f) {
       writeFile(f.root + "/pic.png", "picture");
       const std::string project =
           f.file("p.xml", "<doc title='T'><description>@image(../pic.png)</description></doc>");
       Case c = start({"x", project, "-o", f.out, "--confine", "--no-wait"});
       c.exitCode = 1;
       c.lines = {"Copying Image Files to " + f.out + "/",
                  "Unable to copy " + f.project + "/../pic.png to " + f.out + "/1.png", "Failed"};
       return c;
     }},
    {"without --confine imports and images outside the project folder are read",
     [](const Folder& f) {
       writeFile(f.root + "/outside.xml", "<library name='Out'><command name='C'/></library>");
       writeFile(f.root + "/pic.png", "picture");
       const std::string project = f.file("p.xml",
                                          "<doc title='T'><description>@image(../pic.png)</description>"
                                          "<import file='../outside.xml'/></doc>");
       Case c = start({"x", project, "-o", f.out, "--no-wait"});
       c.lines = {"Importing external file " + f.project + "/../outside.xml", "success", "Completed"};
       c.check = [&f](const ProgramRun&) { EXPECT_EQ(readFile(f.out + "/1.png"), "picture"); };
       return c;
     }},
    {"--chm needs no outside help compiler on PATH",
     [](const Folder& f) {
       Case c = start({"x", f.tinyProject(), "-o", f.out, "--chm", "--no-wait"}, "", {"PATH=" + f.root + "/nothing"});
       c.lines = {"Completed", "Compiling help file ...", "Help file " + f.out + "/T.chm"};
       c.check = [&f](const ProgramRun&) { EXPECT_EQ(readFile(f.out + "/T.chm").substr(0, 4), "ITSF"); };
       return c;
     }},
    {"--hhc names an outside help compiler that is not there",
     [](const Folder& f) {
       Case c = start({"x", f.tinyProject(), "--hhc", "chmcmd", "--no-wait"}, "", {"PATH=" + f.root + "/nothing"});
       c.exitCode = 1;
       c.lines = {"Completed", "Compiling help file ...", "No HTML Help compiler found"};
       return c;
     }},
    {"--hhc judges by the compiler's output, not its exit code 0",
     [](const Folder& f) {
       Case c = start({"x", f.tinyProject(), "-o", f.out, "--hhc", "chmcmd", "--no-wait"}, "",
              {f.fakeCompiler("Warning: File x.html does not exist", "ITSF", 0)});
       c.exitCode = 1;
       c.lines = {"Compiling help file ...", "Unable to compile help file",
                  "Warning: File x.html does not exist"};
       return c;
     }},
    {"--hhc judges by the written file, not the exit code 1",
     [](const Folder& f) {
       Case c = start({"x", f.tinyProject(), "-o", f.out, "--hhc", "chmcmd", "--no-wait"}, "",
              {f.fakeCompiler("Compile time: 0 minutes, 0 seconds", "ITSF", 1)});
       c.lines = {"Compiling help file ...", "Help file " + f.out + "/T.chm"};
       return c;
     }},
    {"--chm compiles nothing after a failed run",
     [](const Folder& f) {
       Case c = start({"x", f.project + "/missing.xml", "--chm", "--no-wait"});
       c.exitCode = 1;
       c.lines = {"Unable to open " + f.project + "/missing.xml"};
       c.absentLines = {"Compiling help file ..."};
       return c;
     }},
    {"--hhc chmcmd compiles the demo with chmcmd",
     [](const Folder& f) {
       Case c = start({"x", demo(), "-o", f.out, "--hhc", "chmcmd", "--check-links", "--no-wait"});
       c.lines = {"Checking links ...", "done", "Compiling help file ...",
                  "Help file " + f.out + "/TarnelKit.chm"};
       c.check = [&f](const ProgramRun&) { EXPECT_EQ(readFile(f.out + "/TarnelKit.chm").substr(0, 4), "ITSF"); };
       return c;
     },
     true},
    {"a project file argument that is not UTF-8 is refused",
     [](const Folder& f) {
       Case c = start({"x", f.project + "/p\xFF.xml"});
       c.exitCode = 1;
       c.lines = {"Analyzing file x", "Not a valid UTF-8 path: " + f.project + "/p" + kReplaced + ".xml"};
       c.absentLines = {"Press return to exit"};
       c.check = [&f](const ProgramRun&) { EXPECT_FALSE(fileExists(f.project + "/html")); };
       return c;
     }},
    {"a TARNELTHC_OUTPUT that is not UTF-8 is refused",
     [](const Folder& f) {
       Case c = start({"x", f.tinyProject()}, "", {"TARNELTHC_OUTPUT=" + f.root + "/o\xC3"});
       c.exitCode = 1;
       c.lines = {"Not a valid UTF-8 path: " + f.root + "/o" + kReplaced};
       c.check = [&f](const ProgramRun&) { EXPECT_EQ(listDirectory(f.root), std::vector<std::string>{"project"}); };
       return c;
     }},
    {"an --output that is not UTF-8 is refused",
     [](const Folder& f) {
       Case c = start({"x", f.tinyProject(), "--output", f.root + "/o\xE2\x82"});
       c.exitCode = 1;
       c.lines = {"Not a valid UTF-8 path: " + f.root + "/o" + kReplaced + kReplaced};
       c.check = [&f](const ProgramRun&) { EXPECT_EQ(listDirectory(f.root), std::vector<std::string>{"project"}); };
       return c;
     }},
    {"a prompt answer that is not UTF-8 is refused",
     [](const Folder& f) {
       Case c = start({}, f.project + "/\xFE.xml\n");
       c.exitCode = 1;
       c.lines = {"Select document project file: Not a valid UTF-8 path: " + f.project + "/" + kReplaced + ".xml"};
       return c;
     }},
    {"a prompt answer longer than 64 KiB counts as cancelled",
     [](const Folder& f) {
       Case c = start({"x"}, f.project + "/" + std::string(70000, 'a') + ".xml\n");
       c.exitCode = 1;
       c.errors = "Abort: Program aborted\n";
       return c;
     }},
    {"an endless line at the prompt is cancelled, in little memory",
     [](const Folder&) {
       Case c = start({});
       c.endlessInput = true;
       c.exitCode = 1;
       c.errors = "Abort: Program aborted\n";
       c.memoryLimit = 32 << 20;
       return c;
     }},
    {"an endless line at \"Press return to exit\" ends the read, in little memory",
     [](const Folder& f) {
       Case c = start({"x", f.tinyProject()});
       c.endlessInput = true;
       c.lines = {"Completed", "Press return to exit"};
       c.memoryLimit = 32 << 20;
       return c;
     }},
};

TEST(OptionsEndToEnd, EveryRow) {
  const bool chmcmd = chmcmdInstalled();
  for (const Row& row : kRows) {
    SCOPED_TRACE(row.what);
    if (row.needsChmcmd && !chmcmd) {
      std::cout << "[  SKIPPED ] " << row.what << ": chmcmd is not installed (package fp-utils)\n";
      continue;
    }
    Folder folder;
    const Case c = row.make(folder);
    RunLimits limits;
#ifndef __SANITIZE_ADDRESS__
    // The address sanitizer's shadow memory alone is beyond any such limit.
    limits.dataLimit = c.memoryLimit;
#endif
    limits.endlessInput = c.endlessInput;
    if (c.endlessInput) limits.timeoutSeconds = 60;
    ProgramRun run = runProgram(c.arguments, c.input, "", c.environment, limits);
    EXPECT_EQ(run.exitCode, c.exitCode) << run.output;
    EXPECT_EQ(run.errors, c.errors);
    auto at = run.lines.begin();
    for (const std::string& line : c.lines) {
      auto found = std::find(at, run.lines.end(), line);
      EXPECT_NE(found, run.lines.end()) << "missing or out of order: " << line << "\n" << run.output;
      if (found != run.lines.end()) at = found + 1;
    }
    for (const std::string& line : c.absentLines) {
      EXPECT_FALSE(contains(run.lines, line)) << line;
    }
    if (c.check) c.check(run);
  }
}

}  // namespace
}  // namespace thc::testing
