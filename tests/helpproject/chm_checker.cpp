#include "helpproject/chm_checker.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <regex>
#include <set>
#include <sstream>

#include "support/run_program.h"

namespace thc::testing {

namespace {

std::string shellQuote(const std::string& text) {
  std::string quoted = "'";
  for (char c : text) {
    if (c == '\'') {
      quoted += "'\\''";
    } else {
      quoted.push_back(c);
    }
  }
  return quoted + "'";
}

// Runs a shell command and returns what it printed on both streams.
std::string runCommand(const std::string& command) {
  std::string output;
  FILE* pipe = ::popen((command + " 2>&1").c_str(), "r");
  if (!pipe) return output;
  char buffer[4096];
  size_t got;
  while ((got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) output.append(buffer, got);
  ::pclose(pipe);
  return output;
}

std::vector<std::string> splitLines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  std::string line;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
  }
  return lines;
}

// Little-endian reads that fail instead of reading past the end.
struct ByteReader {
  const std::string& bytes;
  bool ok = true;

  uint64_t number(uint64_t at, int size) {
    if (at > bytes.size() || bytes.size() - at < static_cast<uint64_t>(size)) {
      ok = false;
      return 0;
    }
    uint64_t value = 0;
    for (int i = size - 1; i >= 0; --i) {
      value = (value << 8) | static_cast<unsigned char>(bytes[at + i]);
    }
    return value;
  }
  uint64_t dword(uint64_t at) { return number(at, 4); }
  uint64_t qword(uint64_t at) { return number(at, 8); }
  uint64_t word(uint64_t at) { return number(at, 2); }

  // The directory's variable-length numbers: 7 bits a byte, high bit set on
  // every byte but the last, most significant first.
  uint64_t encodedInteger(uint64_t& at, uint64_t end) {
    uint64_t value = 0;
    for (int i = 0; i < 10; ++i) {
      if (at >= end || at >= bytes.size()) break;
      unsigned char b = static_cast<unsigned char>(bytes[at++]);
      value = (value << 7) | (b & 0x7F);
      if (!(b & 0x80)) return value;
    }
    ok = false;
    return 0;
  }
};

bool readListingChunk(ByteReader& reader, uint64_t chunk, uint64_t chunkSize, ChmArchive& archive) {
  const std::string& bytes = reader.bytes;
  if (bytes.compare(chunk, 4, "PMGL") != 0) return true;  // index chunks hold no names
  uint64_t freeSpace = reader.dword(chunk + 4);
  if (!reader.ok || freeSpace > chunkSize - 20) return false;
  uint64_t end = chunk + chunkSize - freeSpace;
  uint64_t at = chunk + 20;
  while (at < end) {
    uint64_t nameLength = reader.encodedInteger(at, end);
    if (!reader.ok || nameLength > end - at) return false;
    std::string name = bytes.substr(at, nameLength);
    at += nameLength;
    ChmEntry entry;
    entry.section = reader.encodedInteger(at, end);
    entry.offset = reader.encodedInteger(at, end);
    entry.length = reader.encodedInteger(at, end);
    if (!reader.ok) return false;
    archive.entries[name] = entry;
  }
  return true;
}

std::string decodeEntities(const std::string& text) {
  static const std::pair<const char*, char> entities[] = {
      {"&quot;", '"'}, {"&lt;", '<'}, {"&gt;", '>'}, {"&amp;", '&'}};
  std::string out;
  for (size_t i = 0; i < text.size();) {
    bool replaced = false;
    for (const auto& [entity, c] : entities) {
      size_t length = std::char_traits<char>::length(entity);
      if (text.compare(i, length, entity) == 0) {
        out.push_back(c);
        i += length;
        replaced = true;
        break;
      }
    }
    if (!replaced) out.push_back(text[i++]);
  }
  return out;
}

std::string lowered(std::string text) {
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

// The value of attr="..." inside a tag, cut at the next double quote as a
// real reader cuts it.
std::optional<std::string> attributeValue(const std::string& tag, const std::string& attribute) {
  std::string lower = lowered(tag);
  size_t at = lower.find(attribute + "=\"");
  if (at == std::string::npos) return std::nullopt;
  at += attribute.size() + 2;
  size_t end = tag.find('"', at);
  if (end == std::string::npos) end = tag.size();
  return tag.substr(at, end - at);
}

std::map<std::string, std::string> projectOptions(const std::string& hhp,
                                                  std::vector<std::string>& files) {
  std::map<std::string, std::string> options;
  bool inFiles = false;
  for (const std::string& line : splitLines(hhp)) {
    if (line == "[FILES]") {
      inFiles = true;
    } else if (inFiles) {
      if (!line.empty()) files.push_back(line);
    } else if (size_t equals = line.find('='); equals != std::string::npos) {
      options[line.substr(0, equals)] = line.substr(equals + 1);
    }
  }
  return options;
}

std::string pageOf(const std::string& local) { return local.substr(0, local.find('#')); }

using Pairs = std::multiset<std::pair<std::string, std::string>>;

// chmcmd reads the keywords of the index file as UTF-8 when it builds the
// binary index and keeps "?" for every byte that is not, so a keyword in a
// code page of its own is compared with each byte beyond ASCII as "?" (the
// index file stored in the compiled file is compared byte for byte).
std::string asciiSkeleton(std::string text) {
  for (char& c : text) {
    if (static_cast<unsigned char>(c) >= 0x80) c = '?';
  }
  return text;
}

// Keyword and link target of every link of an index.
Pairs keywordLinks(const std::vector<SitemapEntry>& entries) {
  Pairs pairs;
  for (const SitemapEntry& entry : entries) {
    std::string keyword = entry.names.empty() ? "" : asciiSkeleton(entry.names.front());
    for (const std::string& local : entry.locals) pairs.emplace(keyword, local);
  }
  return pairs;
}

std::string describe(const SitemapEntry& entry) {
  std::string text = std::to_string(entry.depth);
  for (const std::string& name : entry.names) text += " name=" + name;
  for (const std::string& local : entry.locals) text += " local=" + local;
  return text;
}

void compareContents(const std::vector<SitemapEntry>& written,
                     const std::vector<SitemapEntry>& compiled, ChmCheck& check) {
  size_t count = std::max(written.size(), compiled.size());
  for (size_t i = 0; i < count; ++i) {
    std::string a = i < written.size() ? describe(written[i]) : "(none)";
    std::string b = i < compiled.size() ? describe(compiled[i]) : "(none)";
    if (a != b) {
      check.problems.push_back("contents entry " + std::to_string(i + 1) + " written as [" + a +
                               "] but compiled as [" + b + "]");
      return;  // one difference is enough to know, the rest follows from it
    }
  }
}

void compareIndex(const std::vector<SitemapEntry>& written,
                  const std::vector<SitemapEntry>& compiled, ChmCheck& check) {
  Pairs a = keywordLinks(written);
  Pairs b = keywordLinks(compiled);
  std::set<std::pair<std::string, std::string>> all(a.begin(), a.end());
  all.insert(b.begin(), b.end());
  for (const auto& pair : all) {
    if (a.count(pair) == b.count(pair)) continue;
    check.problems.push_back("index link " + pair.first + " -> " + pair.second + " written " +
                             std::to_string(a.count(pair)) + " times, compiled " +
                             std::to_string(b.count(pair)) + " times");
  }
}

void checkTargets(const std::vector<SitemapEntry>& entries, const std::string& file,
                  const ChmArchive& archive, ChmCheck& check) {
  std::set<std::string> reported;
  for (const SitemapEntry& entry : entries) {
    for (const std::string& local : entry.locals) {
      std::string page = pageOf(local);
      if (archive.entries.count("/" + page) || !reported.insert(page).second) continue;
      check.problems.push_back(file + " links to " + local + ", which is not in the compiled file");
    }
  }
}

// What chmls writes into the target file: the compiled contents or index as
// it rebuilds them from their binary form, or a file stored in the compiled
// file. Names come as the bytes of the code page; the binary index holds
// UTF-16 keywords, which chmls prints in Latin-1.
std::string extracted(const std::string& command, const std::string& chm, const std::string& target,
                      ChmCheck& check, const std::string& stored = "") {
  std::filesystem::remove(target);
  runCommand("chmls " + command + " " + shellQuote(chm) + " " +
             (stored.empty() ? "" : shellQuote(stored) + " ") + shellQuote(target));
  if (!fileExists(target)) {
    check.problems.push_back("chmls " + command + " " + stored + " found nothing");
    return {};
  }
  return readFile(target);
}

void checkCompilerOutput(const std::string& output, ChmCheck& check) {
  for (const std::string& line : splitLines(output)) {
    std::string lower = lowered(line);
    if (line.rfind("Error", 0) == 0 || line.rfind("Warning", 0) == 0 ||
        lower.find("exception") != std::string::npos) {
      check.problems.push_back("chmcmd: " + line);
    }
  }
}

void checkArchive(const std::string& bytes, const std::map<std::string, std::string>& options,
                  const std::vector<std::string>& files, ChmArchive& archive, ChmCheck& check) {
  std::string problem;
  std::optional<ChmArchive> read = readChmArchive(bytes, problem);
  if (!read) {
    check.problems.push_back("compiled file unreadable: " + problem);
    return;
  }
  archive = std::move(*read);
  for (const std::string& file : files) {
    if (!archive.entries.count("/" + file)) check.problems.push_back(file + " missing from the compiled file");
  }
  if (!archive.entries.count("/#TOCIDX")) check.problems.push_back("no compiled contents (#TOCIDX)");
  if (!archive.entries.count("/$WWKeywordLinks/BTree")) {
    check.problems.push_back("no compiled index ($WWKeywordLinks)");
  }
  check.system = readSystemStrings(bytes, archive);
  auto expect = [&](int code, const std::string& key) {
    auto option = options.find(key);
    std::string wanted = option == options.end() ? "" : option->second;
    if (check.system[code] != wanted) {
      check.problems.push_back("#SYSTEM record " + std::to_string(code) + " is \"" +
                               check.system[code] + "\", not \"" + wanted + "\"");
    }
  };
  expect(2, "Default topic");
  expect(3, "Title");
}

}  // namespace

bool chmToolsInstalled() {
  return std::system("command -v chmcmd >/dev/null 2>&1 && command -v chmls >/dev/null 2>&1") == 0;
}

std::optional<ChmArchive> readChmArchive(const std::string& bytes, std::string& problem) {
  ByteReader reader{bytes};
  if (bytes.compare(0, 4, "ITSF") != 0) {
    problem = "no ITSF signature";
    return std::nullopt;
  }
  uint64_t version = reader.dword(4);
  uint64_t directory = reader.qword(0x48);
  uint64_t directoryLength = reader.qword(0x50);
  ChmArchive archive;
  archive.contentOffset = version >= 3 ? reader.qword(0x58) : directory + directoryLength;
  if (!reader.ok || bytes.compare(directory, 4, "ITSP") != 0) {
    problem = "no directory";
    return std::nullopt;
  }
  uint64_t headerLength = reader.dword(directory + 8);
  uint64_t chunkSize = reader.dword(directory + 0x10);
  uint64_t chunks = reader.dword(directory + 0x2C);
  if (!reader.ok || chunkSize < 32 || chunks > bytes.size() / chunkSize) {
    problem = "bad directory header";
    return std::nullopt;
  }
  for (uint64_t i = 0; i < chunks; ++i) {
    uint64_t chunk = directory + headerLength + i * chunkSize;
    if (chunk + chunkSize > bytes.size() || !readListingChunk(reader, chunk, chunkSize, archive)) {
      problem = "bad directory chunk " + std::to_string(i);
      return std::nullopt;
    }
  }
  return archive;
}

std::map<int, std::string> readSystemStrings(const std::string& bytes, const ChmArchive& archive) {
  std::map<int, std::string> strings;
  auto found = archive.entries.find("/#SYSTEM");
  if (found == archive.entries.end() || found->second.section != 0) return strings;
  ByteReader reader{bytes};
  uint64_t at = archive.contentOffset + found->second.offset + 4;  // after the version
  uint64_t end = archive.contentOffset + found->second.offset + found->second.length;
  if (end > bytes.size()) return strings;
  while (at + 4 <= end) {
    int code = static_cast<int>(reader.word(at));
    uint64_t length = reader.word(at + 2);
    at += 4;
    if (!reader.ok || length > end - at) break;
    std::string data = bytes.substr(at, length);
    strings[code] = data.substr(0, data.find('\0'));
    at += length;
  }
  return strings;
}

std::vector<SitemapEntry> readSitemap(const std::string& text) {
  std::vector<SitemapEntry> entries;
  int depth = 0;
  std::optional<SitemapEntry> current;
  for (size_t at = text.find('<'); at != std::string::npos; at = text.find('<', at)) {
    size_t end = text.find('>', at);
    if (end == std::string::npos) break;
    std::string tag = text.substr(at, end - at + 1);
    std::string lower = lowered(tag);
    at = end + 1;
    if (lower.rfind("<ul", 0) == 0) {
      ++depth;
    } else if (lower.rfind("</ul", 0) == 0) {
      --depth;
    } else if (lower.rfind("<object", 0) == 0) {
      if (attributeValue(tag, "type") == "text/sitemap") current = SitemapEntry{depth, {}, {}};
    } else if (lower.rfind("</object", 0) == 0) {
      if (current) entries.push_back(*current);
      current.reset();
    } else if (lower.rfind("<param", 0) == 0 && current) {
      std::string name = lowered(attributeValue(tag, "name").value_or(""));
      std::string value = decodeEntities(attributeValue(tag, "value").value_or(""));
      if (name == "name") current->names.push_back(value);
      if (name == "local") current->locals.push_back(value);
    }
  }
  return entries;
}

std::vector<std::string> malformedSitemapLines(const std::string& text, const std::string& file) {
  static const std::regex param("<param name=\"[A-Za-z ]+\" value=\"[^\"<>]*\">");
  std::vector<std::string> problems;
  std::vector<std::string> lines = splitLines(text);
  for (size_t i = 0; i < lines.size(); ++i) {
    if (lines[i].find("<param") == std::string::npos) continue;
    if (!std::regex_match(lines[i], param)) {
      problems.push_back(file + " line " + std::to_string(i + 1) + " is malformed: " + lines[i]);
    }
  }
  return problems;
}

namespace {

void checkCompiled(const std::string& work, ChmCheck& check) {

  // chmcmd writes the compiled file relative to the current directory, and
  // without --no-html-scan it would quietly add pages missing from [FILES].
  check.compilerOutput =
      runCommand("cd " + shellQuote(work) + " && chmcmd --no-html-scan document.hhp");
  checkCompilerOutput(check.compilerOutput, check);

  std::vector<std::string> files;
  std::map<std::string, std::string> options = projectOptions(readFile(work + "/document.hhp"), files);
  check.chmPath = work + "/" + options["Compiled file"];
  std::string bytes = fileExists(check.chmPath) ? readFile(check.chmPath) : "";
  if (bytes.empty()) {
    check.problems.push_back("no compiled file " + options["Compiled file"]);
    return;
  }
  ChmArchive archive;
  checkArchive(bytes, options, files, archive, check);

  const std::string contentsName = options["Contents file"];
  const std::string indexName = options["Index file"];
  const std::string contentsText = readFile(work + "/" + contentsName);
  const std::string indexText = readFile(work + "/" + indexName);
  for (const std::string& problem : malformedSitemapLines(contentsText, contentsName)) {
    check.problems.push_back(problem);
  }
  for (const std::string& problem : malformedSitemapLines(indexText, indexName)) {
    check.problems.push_back(problem);
  }
  check.contents = extracted("extracttoc", check.chmPath, work + "/extracted-contents.txt", check);
  check.index = extracted("extract", check.chmPath, work + "/stored-index.txt", check, "/" + indexName);
  if (check.index != indexText) check.problems.push_back(indexName + " is stored other than written");
  std::vector<SitemapEntry> contents = readSitemap(contentsText);
  std::vector<SitemapEntry> index = readSitemap(indexText);
  std::vector<SitemapEntry> compiledContents = readSitemap(check.contents);
  std::vector<SitemapEntry> compiledIndex = readSitemap(
      extracted("extractindex", check.chmPath, work + "/extracted-index.txt", check));
  compareContents(contents, compiledContents, check);
  compareIndex(index, compiledIndex, check);
  checkTargets(contents, contentsName, archive, check);
  checkTargets(index, indexName, archive, check);
  checkTargets(compiledContents, "compiled contents", archive, check);
  checkTargets(compiledIndex, "compiled index", archive, check);
}

}  // namespace

ChmCheck compileAndCheck(const std::string& outputFolder) {
  ChmCheck check;
  std::string work = makeTempDirectory();
  std::filesystem::copy(outputFolder, work, std::filesystem::copy_options::recursive);
  checkCompiled(work, check);
  std::filesystem::remove_all(work);
  return check;
}

}  // namespace thc::testing
