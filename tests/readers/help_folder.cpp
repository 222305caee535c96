#include "readers/help_folder.h"

#include <iconv.h>

#include <algorithm>
#include <cstring>

#include "support/lines.h"
#include "support/run_program.h"

namespace thc::testing {
namespace {

// The ANSI code pages of the languages the tests compile.
const std::map<std::uint32_t, std::string> kCodePages = {
    {0x407, "CP1252"}, {0x409, "CP1252"}, {0x419, "CP1251"},
    {0x411, "CP932"},  {0x804, "CP936"},  {0x405, "CP1250"},
};

std::optional<std::string> convert(const std::string& bytes, const std::string& to, const std::string& from) {
  iconv_t converter = ::iconv_open(to.c_str(), from.c_str());
  if (converter == reinterpret_cast<iconv_t>(-1)) return std::nullopt;
  std::string out(bytes.size() * 4 + 4, '\0');
  char* in = const_cast<char*>(bytes.data());
  char* at = out.data();
  size_t inLeft = bytes.size(), outLeft = out.size();
  const size_t done = ::iconv(converter, &in, &inLeft, &at, &outLeft);
  ::iconv_close(converter);
  if (done == static_cast<size_t>(-1) || inLeft != 0) return std::nullopt;
  out.resize(out.size() - outLeft);
  return out;
}

// [OPTIONS] as raw bytes and the lines of [FILES].
struct ProjectText {
  std::map<std::string, std::string> options;
  std::vector<std::string> files;
};

ProjectText projectText(const std::string& hhp) {
  ProjectText project;
  std::string section;
  for (const std::string& line : linesOf(hhp)) {
    if (line.starts_with("[")) {
      section = line;
    } else if (section == "[FILES]" && !line.empty()) {
      project.files.push_back(line);
    } else if (section == "[OPTIONS]" && line.find('=') != std::string::npos) {
      project.options[line.substr(0, line.find('='))] = line.substr(line.find('=') + 1);
    }
  }
  return project;
}

void appendUtf8(std::string& out, unsigned long c) {
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += {static_cast<char>(0xC0 | c >> 6), static_cast<char>(0x80 | (c & 0x3F))};
  } else if (c < 0x10000) {
    out += {static_cast<char>(0xE0 | c >> 12), static_cast<char>(0x80 | (c >> 6 & 0x3F)),
            static_cast<char>(0x80 | (c & 0x3F))};
  } else {
    out += {static_cast<char>(0xF0 | c >> 18), static_cast<char>(0x80 | (c >> 12 & 0x3F)),
            static_cast<char>(0x80 | (c >> 6 & 0x3F)), static_cast<char>(0x80 | (c & 0x3F))};
  }
}

std::string withReferencesResolved(const std::string& text) {
  static const std::pair<const char*, char> named[] = {
      {"&amp;", '&'}, {"&lt;", '<'}, {"&gt;", '>'}, {"&quot;", '"'}};
  std::string out;
  for (size_t i = 0; i < text.size();) {
    const size_t end = text.find(';', i);
    if (text.compare(i, 2, "&#") == 0 && end != std::string::npos) {
      const bool hex = text[i + 2] == 'x' || text[i + 2] == 'X';
      appendUtf8(out, std::stoul(text.substr(i + (hex ? 3 : 2), end - i), nullptr, hex ? 16 : 10));
      i = end + 1;
      continue;
    }
    auto reference = std::find_if(std::begin(named), std::end(named), [&](const auto& n) {
      return text.compare(i, std::strlen(n.first), n.first) == 0;
    });
    if (reference != std::end(named)) {
      out += reference->second;
      i += std::strlen(reference->first);
    } else {
      out += text[i++];
    }
  }
  return out;
}

// The value="..." of a <param> tag.
std::string attribute(const std::string& tag, const std::string& name) {
  const size_t at = lowered(tag).find(name + "=\"");
  if (at == std::string::npos) return "";
  const size_t start = at + name.size() + 2;
  return tag.substr(start, tag.find('"', start) - start);
}

SitemapEntry sitemapEntry(const std::string& object) {
  SitemapEntry entry;
  const std::string lower = lowered(object);
  bool named = false;
  for (size_t at = lower.find("<param"); at != std::string::npos; at = lower.find("<param", at + 1)) {
    const std::string tag = object.substr(at, object.find('>', at) - at);
    const std::string kind = lowered(attribute(tag, "name"));
    const std::string value = attribute(tag, "value");
    if (kind == "name" && !named) entry.name = value;
    named = named || kind == "name";
    if (kind == "local") entry.pages.push_back(value.substr(0, value.find('#')));
  }
  return entry;
}

}  // namespace

std::optional<std::string> inCodePage(const std::string& utf8, const std::string& codePage) {
  return convert(utf8, codePage, "UTF-8");
}

std::optional<std::string> fromCodePage(const std::string& bytes, const std::string& codePage) {
  return convert(bytes, "UTF-8", codePage);
}

std::string withQuestionMarks(const std::string& utf8, const std::string& codePage) {
  std::string out;
  for (size_t i = 0; i < utf8.size();) {
    size_t length = 1;
    while (i + length < utf8.size() && (static_cast<unsigned char>(utf8[i + length]) & 0xC0) == 0x80)
      ++length;
    out += inCodePage(utf8.substr(i, length), codePage).value_or("?");
    i += length;
  }
  return out;
}

std::optional<HelpFolder> readHelpFolder(const std::string& path) {
  if (!fileExists(path + "/document.hhp")) return std::nullopt;
  ProjectText project = projectText(readFile(path + "/document.hhp"));
  HelpFolder folder;
  // A project without a language is English (United States), as help
  // compilers read it.
  const std::string& language = project.options["Language"];
  folder.lcid =
      language.empty() ? 0x409 : static_cast<std::uint32_t>(std::strtoul(language.c_str(), nullptr, 16));
  auto codePage = kCodePages.find(folder.lcid);
  if (codePage == kCodePages.end()) return std::nullopt;
  folder.codePage = codePage->second;
  folder.title = project.options["Title"];
  folder.defaultTopic = project.options["Default topic"];
  folder.contentsName = "/" + fromCodePage(project.options["Contents file"], folder.codePage).value_or("?");
  folder.indexName = "/" + fromCodePage(project.options["Index file"], folder.codePage).value_or("?");
  // Each line of [FILES], read in the code page, names a file of the folder.
  for (const std::string& line : project.files) {
    const std::optional<std::string> name = fromCodePage(line, folder.codePage);
    if (!name || !fileExists(path + "/" + *name)) folder.missingFiles.push_back(line);
  }
  for (const std::string& name : listDirectory(path)) {
    if (name == "document.hhp" || name.ends_with(".chm")) continue;
    folder.storedFiles["/" + name] = readFile(path + "/" + name);
  }
  return folder;
}

std::optional<std::vector<SitemapEntry>> readSitemap(const std::string& bytes, const std::string& codePage) {
  std::optional<std::string> text = fromCodePage(bytes, codePage);
  if (!text) return std::nullopt;
  const std::string lower = lowered(*text);
  std::vector<SitemapEntry> entries;
  for (size_t at = lower.find("<object"); at != std::string::npos; at = lower.find("<object", at + 1)) {
    entries.push_back(sitemapEntry(text->substr(at, lower.find("</object", at) - at)));
  }
  return entries;
}

std::string pageTitle(const std::string& page) {
  const std::string lower = lowered(page);
  const size_t start = lower.find("<title>");
  if (start == std::string::npos) return "";
  return withReferencesResolved(page.substr(start + 7, lower.find("</title>", start) - start - 7));
}

std::string bodyText(const std::string& page) {
  const size_t body = lowered(page).find("<body");
  return body == std::string::npos ? "" : page.substr(body);
}

}  // namespace thc::testing
