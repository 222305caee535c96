#include "chm/projectfile.h"

#include "codepage/codepage.h"
#include "codepage/decoder.h"
#include "common/text.h"

namespace thc::chm {

namespace {

enum class Section { none, options, windows, files, alias, map, popups, other };

std::u16string_view trimmed(std::u16string_view text) { return trimmedView(text); }

std::u16string withSlashes(std::u16string_view path) {
  std::u16string result(path);
  for (char16_t& c : result) {
    if (c == u'\\') c = u'/';
  }
  return result;
}

bool equalsIgnoringCase(std::u16string_view a, std::u16string_view b) { return lowerAscii(a) == lowerAscii(b); }

Section sectionNamed(std::u16string_view name) {
  if (equalsIgnoringCase(name, u"OPTIONS")) return Section::options;
  if (equalsIgnoringCase(name, u"WINDOWS")) return Section::windows;
  if (equalsIgnoringCase(name, u"FILES")) return Section::files;
  if (equalsIgnoringCase(name, u"ALIAS")) return Section::alias;
  if (equalsIgnoringCase(name, u"MAP")) return Section::map;
  if (equalsIgnoringCase(name, u"TEXT POPUPS")) return Section::popups;
  return Section::other;
}

bool yes(std::u16string_view value) { return equalsIgnoringCase(trimmed(value), u"Yes"); }

// The numbers of a window line may be negative, as a position's sides.
std::optional<std::uint32_t> number(std::u16string_view text) {
  text = trimmed(text);
  const bool negative = text.starts_with(u'-');
  const std::optional<std::uint32_t> value = leadingNumber(negative ? text.substr(1) : text);
  if (!value || !negative) return value;
  return 0u - *value;
}

// The values of a window line: quoted texts, numbers, one bracketed
// rectangle; commas inside quotes or brackets do not split.
std::vector<std::u16string> windowFields(std::u16string_view text) {
  std::vector<std::u16string> fields(1);
  bool quoted = false;
  bool bracketed = false;
  for (char16_t c : text) {
    if (c == u'"') {
      quoted = !quoted;
    } else if (!quoted && c == u'[') {
      bracketed = true;
    } else if (!quoted && c == u']') {
      bracketed = false;
    } else if (!quoted && !bracketed && c == u',') {
      fields.emplace_back();
    } else {
      fields.back() += c;
    }
  }
  return fields;
}

void readRectangle(ProjectWindow& window, std::u16string_view field) {
  std::array<std::int32_t, 4> sides{};
  size_t side = 0;
  size_t start = 0;
  while (side < 4 && start <= field.size()) {
    const size_t comma = field.find(u',', start);
    const auto value = number(field.substr(start, comma == std::u16string_view::npos ? field.npos : comma - start));
    if (!value) return;
    sides[side++] = static_cast<std::int32_t>(*value);
    if (comma == std::u16string_view::npos) break;
    start = comma + 1;
  }
  if (side != 4) return;
  window.position = sides;
  window.validMembers |= 0x10;
}

// A number field sets its value and the member bit that says it was given.
void readNumber(ProjectWindow& window, std::u16string_view field, std::uint32_t& target, std::uint32_t member) {
  if (const auto value = number(field)) {
    target = *value;
    window.validMembers |= member;
  }
}

ProjectWindow readWindow(std::u16string_view name, std::u16string_view definition) {
  ProjectWindow window;
  window.name = trimmed(name);
  const std::vector<std::u16string> fields = windowFields(definition);
  std::u16string* texts[] = {&window.caption,   &window.contents, &window.index,    &window.defaultFile,
                             &window.home,      &window.jump1Url, &window.jump1Text, &window.jump2Url,
                             &window.jump2Text};
  for (size_t i = 0; i < 9 && i < fields.size(); ++i) *texts[i] = trimmed(fields[i]);
  auto field = [&](size_t i) { return i < fields.size() ? std::u16string_view(fields[i]) : u""; };
  readNumber(window, field(9), window.properties, 0x2);
  readNumber(window, field(10), window.navWidth, 0x20);
  readNumber(window, field(11), window.toolbarFlags, 0x100);
  readRectangle(window, field(12));
  readNumber(window, field(13), window.styles, 0x4);
  readNumber(window, field(14), window.exStyles, 0x8);
  readNumber(window, field(15), window.showState, 0x40);
  readNumber(window, field(16), window.notExpanded, 0x200);
  readNumber(window, field(17), window.currentTab, 0x2000);
  readNumber(window, field(18), window.tabPosition, 0x400);
  if (const auto value = number(field(19))) window.notifyId = *value;
  return window;
}

// Keys that generators write and that change nothing in the help file:
// how the compiler reports, what it writes beside it, what readers find by
// the language already.
bool hasNoEffect(std::u16string_view key) {
  for (std::u16string_view known :
       {u"language", u"display compile progress", u"display compile notes", u"auto index", u"create chi file",
        u"enhanced decompilation", u"error log file", u"flat", u"auto toc", u"full text search stop list file",
        u"prefix", u"sample staging path", u"sample list file", u"custom tab"}) {
    if (key == known) return true;
  }
  return false;
}

void readOption(HelpProjectFile& project, std::u16string_view key, std::u16string_view value,
                std::u16string_view line) {
  const std::u16string lowered = lowerAscii(trimmed(key));
  value = trimmed(value);
  if (lowered == u"compiled file") {
    project.compiledFile = value;
  } else if (lowered == u"contents file") {
    project.contentsFile = value;
  } else if (lowered == u"index file") {
    project.indexFile = value;
  } else if (lowered == u"default topic") {
    project.defaultTopic = value;
  } else if (lowered == u"default window") {
    project.defaultWindow = value;
  } else if (lowered == u"title") {
    project.title = value;
  } else if (lowered == u"default font") {
    project.defaultFont = value;
  } else if (lowered == u"full-text search") {
    project.fullTextSearch = yes(value);
  } else if (lowered == u"binary toc") {
    project.binaryToc = yes(value);
  } else if (lowered == u"binary index") {
    project.binaryIndex = yes(value);
  } else if (lowered == u"compatibility") {
    project.version3 = value.find(u"1.0") == std::u16string_view::npos;
  } else if (!hasNoEffect(lowered)) {
    project.ignored.push_back(std::u16string(line));
  }
}

// "0x0419" for the language ID, as the code page table takes it.
std::u16string lcidText(std::uint32_t lcid) {
  std::u16string text = u"0x";
  for (int shift = 12; shift >= 0; shift -= 4) text += u"0123456789ABCDEF"[(lcid >> shift) & 0xF];
  return text;
}

// The lines of the file, without their line ends.
std::vector<std::string_view> lines(std::string_view bytes) {
  std::vector<std::string_view> result;
  size_t start = 0;
  while (start < bytes.size()) {
    size_t end = bytes.find('\n', start);
    if (end == std::string_view::npos) end = bytes.size();
    std::string_view line = bytes.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    result.push_back(line);
    start = end + 1;
  }
  return result;
}

// The language decides the code page of every other line, so it is found
// first; its own line is ASCII.
std::uint32_t findLanguage(const std::vector<std::string_view>& all) {
  for (std::string_view line : all) {
    const size_t equals = line.find('=');
    if (equals == std::string_view::npos) continue;
    std::u16string key;
    for (char c : line.substr(0, equals)) key += static_cast<char16_t>(static_cast<unsigned char>(c));
    if (lowerAscii(trimmed(key)) != u"language") continue;
    std::u16string value;
    for (char c : line.substr(equals + 1)) value += static_cast<char16_t>(static_cast<unsigned char>(c));
    if (const auto id = languageId(value)) return *id;
  }
  return 0x409;
}

}  // namespace

std::optional<std::uint32_t> leadingNumber(std::u16string_view text) {
  unsigned base = 10;
  if (text.size() > 2 && text[0] == u'0' && (text[1] == u'x' || text[1] == u'X')) {
    base = 16;
    text.remove_prefix(2);
  }
  std::uint64_t value = 0;
  size_t digits = 0;
  for (; digits < text.size(); ++digits) {
    const char16_t c = text[digits];
    unsigned digit = 16;
    if (c >= u'0' && c <= u'9') digit = c - u'0';
    if (c >= u'a' && c <= u'f') digit = c - u'a' + 10;
    if (c >= u'A' && c <= u'F') digit = c - u'A' + 10;
    if (digit >= base) break;
    value = (value * base + digit) & 0xFFFFFFFFu;
  }
  if (digits == 0) return std::nullopt;
  return static_cast<std::uint32_t>(value);
}

std::optional<std::uint32_t> languageId(std::u16string_view value) {
  value = trimmed(value);
  const size_t blank = value.find(u' ');
  return number(value.substr(0, blank));
}

namespace {

// One line of a section: what the project says, or a line to report as
// ignored.
void readSectionLine(HelpProjectFile& project, Section section, std::u16string_view line) {
  const size_t equals = line.find(u'=');
  switch (section) {
    case Section::options:
      if (equals == std::u16string_view::npos) {
        project.ignored.push_back(std::u16string(line));
      } else {
        readOption(project, line.substr(0, equals), line.substr(equals + 1), line);
      }
      return;
    case Section::windows:
      if (equals != std::u16string_view::npos) {
        project.windows.push_back(readWindow(line.substr(0, equals), line.substr(equals + 1)));
      }
      return;
    case Section::files:
      project.files.push_back(withSlashes(line));
      return;
    case Section::alias:
      if (equals == std::u16string_view::npos) {
        project.ignored.push_back(std::u16string(line));
      } else {
        project.aliases.emplace_back(trimmed(line.substr(0, equals)), withSlashes(trimmed(line.substr(equals + 1))));
      }
      return;
    case Section::map:
      project.mapLines.emplace_back(line);
      return;
    case Section::popups:
      project.popupFiles.push_back(withSlashes(line));
      return;
    case Section::none:
    case Section::other:
      project.ignored.push_back(std::u16string(line));
      return;
  }
}

}  // namespace

std::optional<HelpProjectFile> readHelpProjectFile(std::string_view bytes, std::u16string& why) {
  if (bytes.find('\0') != std::string_view::npos) {
    why = u"not a help project (binary data)";
    return std::nullopt;
  }
  const std::vector<std::string_view> all = lines(bytes);
  HelpProjectFile project;
  project.lcid = findLanguage(all);
  project.codePage = helpCodePage(lcidText(project.lcid));
  TextDecoder decoder(project.codePage);
  Section section = Section::none;
  bool anySection = false;
  for (std::string_view raw : all) {
    const std::u16string text = decoder.decode(raw);
    const std::u16string_view line = trimmed(text);
    if (line.empty() || line[0] == u';') continue;
    if (line.front() == u'[' && line.back() == u']') {
      section = sectionNamed(line.substr(1, line.size() - 2));
      anySection = true;
      if (section == Section::files) project.hasFiles = true;
      if (section == Section::other) project.ignored.push_back(std::u16string(line));
      continue;
    }
    readSectionLine(project, section, line);
  }
  if (!anySection) {
    why = u"not a help project (no section)";
    return std::nullopt;
  }
  return project;
}

}  // namespace thc::chm
