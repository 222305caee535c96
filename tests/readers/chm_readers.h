// The help file as the readers that Debian packages see it: CHMLib (its C
// API and its tools), libmspack, 7-Zip, Free Pascal's chmls and python3-chm.
// Each reader is asked for everything it can give; the tests judge that
// against the folder the help file was compiled from.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace thc::testing {

// The help file's system data as a reader shows it: the bytes it gives,
// in the help's code page.
struct SystemData {
  std::string title;
  std::uint32_t lcid = 0;
  std::string defaultTopic;  // without a leading "/"
  // The stored names of the contents and the index it leads to, "/toc.hhc".
  std::string contentsFile;
  std::string indexFile;
};

// One result of a full-text search: the topic's title and its page.
struct SearchHit {
  std::string title;
  std::string url;
};

// What one reader gave back from a help file.
struct ReaderView {
  explicit ReaderView(std::string name) : reader(std::move(name)) {}
  std::string reader;
  // What the reader said was wrong: warnings, errors, a failed run.
  std::vector<std::string> complaints;
  // Every stored file under "/" the reader lists, with the bytes it read
  // ("/index.html" -> bytes).
  std::map<std::string, std::string> files;
  // Where the reader shows them.
  std::optional<SystemData> system;
  std::optional<std::map<std::string, std::vector<SearchHit>>> search;  // by the word searched
};

// The C APIs, linked into the tests.
ReaderView readWithChmLib(const std::string& chm);
ReaderView readWithLibmspack(const std::string& chm);

// The programs; `scratch` is an empty folder they may extract into.
ReaderView readWithChmLibTools(const std::string& chm, const std::string& scratch);
ReaderView readWithSevenZip(const std::string& chm, const std::string& scratch);
ReaderView readWithChmls(const std::string& chm, const std::string& scratch);
// Searches each of `words` (bytes in the help's code page) as well.
ReaderView readWithPythonChm(const std::string& chm, const std::string& scratch,
                             const std::vector<std::string>& words);

}  // namespace thc::testing
