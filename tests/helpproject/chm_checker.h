// Compiles an output folder with a real HTML Help compiler (chmcmd) and
// inspects the compiled file with a reader of our own, so the generated
// project, contents and index files are proven usable by a real client.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace thc::testing {

// True when chmcmd and chmls are on the PATH.
bool chmToolsInstalled();

// One stored name of a compiled help file's directory.
struct ChmEntry {
  uint64_t section = 0;
  uint64_t offset = 0;
  uint64_t length = 0;
};

// The directory of a compiled help file, read from its bytes. None when the
// file is not a well-formed compiled help file.
struct ChmArchive {
  std::map<std::string, ChmEntry> entries;  // "/index.html" -> entry
  uint64_t contentOffset = 0;               // start of the uncompressed section
};
std::optional<ChmArchive> readChmArchive(const std::string& bytes, std::string& problem);

// The string records of the #SYSTEM file (code -> text), from section 0.
std::map<int, std::string> readSystemStrings(const std::string& bytes, const ChmArchive& archive);

// One entry of a sitemap file (contents or index): its nesting depth, its
// Name values and its Local values, entities resolved.
struct SitemapEntry {
  int depth = 0;
  std::vector<std::string> names;
  std::vector<std::string> locals;
};
std::vector<SitemapEntry> readSitemap(const std::string& text);

// Lines of a sitemap file written by us whose param lines are not exactly
// <param name="..." value="..."> with a value free of '"', '<' and '>'.
std::vector<std::string> malformedSitemapLines(const std::string& text, const std::string& file);

struct ChmCheck {
  std::vector<std::string> problems;  // empty when the folder compiled cleanly
  std::string compilerOutput;
  std::string chmPath;  // where it was compiled; the folder is removed afterwards
  // Read back from the compiled file: the contents as its binary form gives
  // them, the index file stored in it, and the #SYSTEM strings.
  std::string contents;
  std::string index;
  std::map<int, std::string> system;
};

// Copies `outputFolder` into a fresh folder, compiles document.hhp there with
// chmcmd --no-html-scan and checks: a clean compile, the ITSF signature,
// every page of [FILES] stored, the contents and index compiled in, title and
// default topic in #SYSTEM, the compiled contents and index equal to the
// files, the index file stored as written, and every link target of both a
// stored page.
ChmCheck compileAndCheck(const std::string& outputFolder);

}  // namespace thc::testing
