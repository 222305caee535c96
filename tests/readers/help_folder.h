// What a help file compiled from an output folder must give back, taken
// from the folder's own files: document.hhp read in the code page of its
// language, as help compilers and viewers read it.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace thc::testing {

struct HelpFolder {
  std::string codePage;  // iconv's name of the language's code page, "CP1252"
  // "Title=" and "Default topic=" as their bytes, "Language=" as a number.
  std::string title;
  std::string defaultTopic;
  std::uint32_t lcid = 0;
  // The stored names of the contents and the index files, "/toc.hhc".
  std::string contentsName;
  std::string indexName;
  // Every file the folder holds for the help file (the files of [FILES],
  // the contents, the index and the images) by its stored name.
  std::map<std::string, std::string> storedFiles;
  // Lines of [FILES] that name no file of the folder, read in the code page.
  std::vector<std::string> missingFiles;
};

// None when the folder holds no document.hhp of a known language.
std::optional<HelpFolder> readHelpFolder(const std::string& folder);

// One entry of a contents or index file: its first name (the keyword of
// an index entry) and the pages it leads to (without "#anchor"), in UTF-8.
struct SitemapEntry {
  std::string name;
  std::vector<std::string> pages;
};
// None when the bytes are not text of the code page.
std::optional<std::vector<SitemapEntry>> readSitemap(const std::string& bytes, const std::string& codePage);

// UTF-8 text in a code page and back; none when a character does not fit.
std::optional<std::string> inCodePage(const std::string& utf8, const std::string& codePage);
std::optional<std::string> fromCodePage(const std::string& bytes, const std::string& codePage);

// UTF-8 text in a code page with "?" for each character it lacks.
std::string withQuestionMarks(const std::string& utf8, const std::string& codePage);

// The <title> of a page written in UTF-8, its references resolved, and the
// markup of its body.
std::string pageTitle(const std::string& page);
std::string bodyText(const std::string& page);

}  // namespace thc::testing
