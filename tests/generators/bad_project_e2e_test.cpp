// Help projects that cannot be compiled, through the real program: each
// ends with exit 1 and a line that names the file at fault and the
// problem, writes nothing (an earlier help file of the same name stays as
// it was) and reads nothing outside the project's folder.
#include <fcntl.h>
#include <sys/stat.h>

#include <gtest/gtest.h>

#include <filesystem>

#include "generators/help_readers.h"
#include "helpproject/temp_folder.h"
#include "support/run_program.h"

namespace thc::testing::generators {
namespace {

namespace fs = std::filesystem;

constexpr timespec kLongAgo{946684800, 0};  // 2000-01-01

timespec accessTime(const std::string& path) {
  struct stat info {};
  ::stat(path.c_str(), &info);
  return info.st_atim;
}

void setLongAgo(const std::string& path) {
  const timespec times[2] = {kLongAgo, {0, UTIME_OMIT}};
  ::utimensat(AT_FDCWD, path.c_str(), times, 0);
}

// Whether reading a file shows in its access time here (not on a file
// system mounted without access times).
bool readsShow(const std::string& folder) {
  const std::string probe = folder + "/probe";
  writeFile(probe, "probe");
  setLongAgo(probe);
  readFile(probe);
  const bool shown = accessTime(probe).tv_sec != kLongAgo.tv_sec;
  fs::remove(probe);
  return shown;
}

struct Row {
  const char* what;
  // Files of the project's folder (p.hhp among them); a name ending in "/"
  // is a folder, one ending in "|" a named pipe.
  std::vector<std::pair<std::string, std::string>> files;
  // A link in the folder to the file outside (to the folder above when the
  // name ends in "/"), or nullptr.
  const char* link;
  std::vector<std::string> named;  // what the line of the problem says, each
};

// The start of a PNG file, with "[FILES]" in it.
constexpr char kJunk[] = "\x89PNG\r\n\x1a\n\0\0\0\rIHDR\x01\xff[FILES]\n";
const std::string kPage = "<html><head><title>A</title></head><body>a</body></html>";
const std::string kOptions = "[OPTIONS]\r\nCompiled file=p.chm\r\nTitle=Bad\r\n";

const Row kRows[] = {
    {"binary junk", {{"p.hhp", std::string(kJunk, sizeof kJunk - 1)}}, nullptr, {"p.hhp"}},
    {"no [FILES]", {{"p.hhp", kOptions}, {"a.html", kPage}}, nullptr, {"p.hhp", "[FILES]"}},
    {"contents whose lists never close",
     {{"p.hhp", kOptions + "Contents file=toc.hhc\r\n[FILES]\r\na.html\r\n"},
      {"a.html", kPage},
      {"toc.hhc", "<html><body><ul><li><object type=\"text/sitemap\"><param name=\"Local\" value=\"a.html\">"
                  "</object><ul><li><object type=\"text/sitemap\"><param name=\"Local\" value=\"a.html\"></object>\n"}},
     nullptr,
     {"toc.hhc", "close"}},
    {"[MAP] include cycle",
     {{"p.hhp", kOptions + "[FILES]\r\na.html\r\n[ALIAS]\r\nIDH_A=a.html\r\n[MAP]\r\n#include a.h\r\n"},
      {"a.html", kPage},
      {"a.h", "#define IDH_A 1\n#include \"b.h\"\n"},
      {"b.h", "#include <a.h>\n"}},
     nullptr,
     {"b.h", "a.h", "cycle"}},
    {"a listed file missing", {{"p.hhp", kOptions + "[FILES]\r\na.html\r\ngone.html\r\n"}, {"a.html", kPage}},
     nullptr, {"gone.html", "does not exist"}},
    {"a listed folder", {{"p.hhp", kOptions + "[FILES]\r\nsub\r\n"}, {"sub/", ""}}, nullptr, {"sub", "folder"}},
    {"a listed file above the folder", {{"p.hhp", kOptions + "[FILES]\r\n..\\secret.html\r\n"}}, nullptr,
     {"secret.html", "outside"}},
    {"a listed link to a file outside", {{"p.hhp", kOptions + "[FILES]\r\nlink.html\r\n"}}, "link.html",
     {"link.html", "outside"}},
    {"a listed file behind a link to the folder above", {{"p.hhp", kOptions + "[FILES]\r\nup\\secret.html\r\n"}},
     "up/", {"secret.html", "outside"}},
    {"a listed named pipe", {{"p.hhp", kOptions + "[FILES]\r\npipe.html\r\n"}, {"pipe.html|", ""}}, nullptr,
     {"pipe.html", "not a file"}},
    {"a header above the folder",
     {{"p.hhp", kOptions + "[FILES]\r\na.html\r\n[MAP]\r\n#include ..\\secret.h\r\n"}, {"a.html", kPage}},
     nullptr,
     {"secret.h", "outside"}},
    {"contents above the folder",
     {{"p.hhp", kOptions + "Contents file=../secret.hhc\r\n[FILES]\r\na.html\r\n"}, {"a.html", kPage}}, nullptr,
     {"secret.hhc", "outside"}},
    {"a help file in another folder",
     {{"p.hhp", "[OPTIONS]\r\nCompiled file=..\\p.chm\r\n[FILES]\r\na.html\r\n"}, {"a.html", kPage}}, nullptr,
     {"p.hhp", "p.chm"}},
};

TEST(BadHelpProject, EachFailsWithALineNamingItAndLeavesEverythingAsItWas) {
  for (const Row& row : kRows) {
    SCOPED_TRACE(row.what);
    TempFolder root;
    const std::string folder = root.path + "/project";
    fs::create_directories(folder);
    const std::vector<std::string> secrets = {root.path + "/secret.html", root.path + "/secret.h",
                                              root.path + "/secret.hhc"};
    for (const std::string& secret : secrets) writeFile(secret, "#define IDH_A 2\n<ul>\n");
    for (const auto& [name, content] : row.files) {
      if (name.ends_with("/")) {
        fs::create_directories(folder + "/" + name);
      } else if (name.ends_with("|")) {
        ::mkfifo((folder + "/" + name.substr(0, name.size() - 1)).c_str(), 0600);
      } else {
        writeFile(folder + "/" + name, content);
      }
    }
    const std::string link = row.link ? row.link : "";
    if (link.ends_with("/")) {
      fs::create_directory_symlink(root.path, folder + "/" + link.substr(0, link.size() - 1));
    } else if (row.link) {
      fs::create_symlink(secrets[0], folder + "/" + link);
    }
    writeFile(folder + "/p.chm", "an earlier help file");
    const std::map<std::string, std::string> before = filesBelow(root.path);
    for (const std::string& secret : secrets) setLongAgo(secret);

    const ProgramRun run = runProgram({"--compile", folder + "/p.hhp"});
    EXPECT_EQ(run.exitCode, 1) << run.output;
    const bool named = std::any_of(run.lines.begin(), run.lines.end(), [&](const std::string& line) {
      return std::all_of(row.named.begin(), row.named.end(),
                         [&](const std::string& word) { return line.find(word) != std::string::npos; });
    });
    EXPECT_TRUE(named) << run.output;
    if (readsShow(root.path)) {
      for (const std::string& secret : secrets) {
        EXPECT_EQ(accessTime(secret).tv_sec, kLongAgo.tv_sec) << secret << " was read";
      }
    }
    EXPECT_TRUE(filesBelow(root.path) == before) << "files changed";
  }
}

}  // namespace
}  // namespace thc::testing::generators
