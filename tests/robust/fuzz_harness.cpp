#include "robust/fuzz_harness.h"

#include <cstdint>
#include <cstring>
#include <memory>
#include <vector>

#include "base/console.h"
#include "base/utf.h"
#include "catalog/catalog.h"
#include "check/check.h"
#include "codepage/codepage.h"
#include "codepage/decoder.h"
#include "common/text.h"
#include "helpproject/contents.h"
#include "helpproject/indexfile.h"
#include "helpproject/projectfile.h"
#include "index/sort.h"
#include "markup/markup.h"
#include "markup/naming.h"
#include "pages/pagebody.h"
#include "plan/outputplan.h"
#include "platform/textcase.h"
#include "project/doctree.h"
#include "project/model.h"
#include "project/reader.h"

namespace thc::robust {

namespace {

using Text = std::u16string_view;

bool holds(Text text, Text part) { return text.find(part) != Text::npos; }

bool isSeparator(char16_t c) { return c == u'/' || c == u'\\'; }

// A well-formed UTF-8 sequence: no overlong forms, no surrogates, nothing
// above U+10FFFF.
bool isValidUtf8(std::string_view bytes) {
  size_t i = 0;
  while (i < bytes.size()) {
    const auto b = static_cast<unsigned char>(bytes[i]);
    size_t length = 0;
    uint32_t cp = 0;
    if (b < 0x80) {
      ++i;
      continue;
    } else if ((b & 0xE0) == 0xC0) {
      length = 2;
      cp = b & 0x1F;
    } else if ((b & 0xF0) == 0xE0) {
      length = 3;
      cp = b & 0x0F;
    } else if ((b & 0xF8) == 0xF0) {
      length = 4;
      cp = b & 0x07;
    } else {
      return false;
    }
    if (i + length > bytes.size()) return false;
    for (size_t k = 1; k < length; ++k) {
      const auto c = static_cast<unsigned char>(bytes[i + k]);
      if ((c & 0xC0) != 0x80) return false;
      cp = (cp << 6) | (c & 0x3F);
    }
    const uint32_t smallest[] = {0, 0, 0x80, 0x800, 0x10000};
    if (cp < smallest[length] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return false;
    i += length;
  }
  return true;
}

// The text with every unpaired surrogate replaced by U+FFFD: what a round
// trip through UTF-8 must give back.
std::u16string withPairedSurrogatesOnly(Text text) {
  std::u16string result;
  for (size_t i = 0; i < text.size(); ++i) {
    const char16_t c = text[i];
    const bool high = c >= 0xD800 && c <= 0xDBFF;
    const bool low = c >= 0xDC00 && c <= 0xDFFF;
    if (high && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF) {
      result += c;
      result += text[++i];
    } else if (high || low) {
      result += u'\uFFFD';
    } else {
      result += c;
    }
  }
  return result;
}

std::string checkTrim(Text text) {
  const std::u16string trimmed = trimText(text);
  if (!trimmed.empty() && (trimmed.front() < 33 || trimmed.back() < 33)) {
    return "trimText left a control character or blank at an end";
  }
  if (!holds(text, trimmed)) return "trimText result is not a part of its input";
  if (trimText(trimmed) != trimmed) return "trimText is not idempotent";
  return {};
}

std::string checkInteger(Text text, std::string_view bytes) {
  const int64_t value = textToInteger(text);
  // Characters that fit no base end the number; blanks in front are skipped.
  if (textToInteger(std::u16string(text) + u"z") != value) return "a trailing non-digit changed textToInteger";
  if (textToInteger(u" \t" + std::u16string(text)) != value) return "leading blanks changed textToInteger";
  // Every 64-bit value comes back from its decimal, hexadecimal and binary form.
  uint64_t bits = 0;
  std::memcpy(&bits, bytes.data(), std::min(bytes.size(), sizeof bits));
  const auto number = static_cast<int64_t>(bits);
  if (textToInteger(decimalText(number)) != number) return "textToInteger(decimalText(v)) != v";
  std::u16string hex = u"$", binary = u"%";
  for (int shift = 60; shift >= 0; shift -= 4) hex += u"0123456789abcdef"[(bits >> shift) & 15];
  for (int shift = 63; shift >= 0; --shift) binary += ((bits >> shift) & 1) ? u'1' : u'0';
  if (textToInteger(hex) != number) return "textToInteger of a hexadecimal form is wrong";
  if (textToInteger(binary) != number) return "textToInteger of a binary form is wrong";
  if (textToInteger(u"-" + hex) != static_cast<int64_t>(0 - bits)) return "a negative hexadecimal form is wrong";
  return {};
}

// The extension names the copied image in the output folder, so it must
// never lead out of it.
std::string checkExtension(Text text) {
  const std::u16string extension = fileExtension(text);
  for (char16_t c : extension) {
    if (isSeparator(c) || c == u' ' || c == u'.' || c == u'"') {
      return "fileExtension holds a separator, blank, dot or quote";
    }
  }
  if (!extension.empty() && !holds(text, u"." + extension)) return "fileExtension is not from its input";
  return {};
}

std::string checkDirectory(Text text) {
  const std::u16string directory = directoryPart(text);
  if (!directory.empty() && !isSeparator(directory.back())) return "directoryPart does not end in a separator";
  if (holds(directory, u"|")) return "directoryPart reaches past a '|'";
  if (!holds(text, directory)) return "directoryPart is not from its input";
  return {};
}

std::string checkConversions(Text text, std::string_view bytes) {
  const std::string utf8 = toUtf8(text);
  if (!isValidUtf8(utf8)) return "toUtf8 wrote invalid UTF-8";
  if (fromUtf8(utf8) != withPairedSurrogatesOnly(text)) return "UTF-16 -> UTF-8 -> UTF-16 changed the text";
  const std::string again = toUtf8(fromUtf8(bytes));
  if (!isValidUtf8(again)) return "fromUtf8 of bytes gave text that is not valid UTF-8";
  if (isValidUtf8(bytes) && again != bytes) return "valid UTF-8 did not survive fromUtf8";
  return {};
}

std::string checkCase(Text text) {
  const std::u16string lower = lowerAscii(text);
  if (lower.size() != text.size()) return "lowerAscii changed the length";
  const std::u16string full = platform::toLower(text);
  platform::toUpper(text);
  bool ascii = true;
  for (char16_t c : text) ascii = ascii && c < 0x80;
  if (ascii && full != lower) return "toLower and lowerAscii differ on ASCII text";
  return {};
}

// ---------------------------------------------------------------- markup

// The translator's diagnostics name this place.
struct FuzzOrigin final : MarkupOrigin {
  std::u16string path() const override { return u"/doc/library/description"; }
};

std::string checkDiagnostics(const std::vector<std::u16string>& lines, Text text, Text result) {
  if (lines.size() % 3 != 0) return "a diagnostic is not three lines";
  for (size_t i = 0; i < lines.size(); i += 3) {
    const bool error = lines[i].starts_with(u"Parse Error at position ");
    const bool warning = lines[i].starts_with(u"Warning at position ");
    if (!error && !warning) return "a diagnostic does not start with its position";
    const Text number = Text(lines[i]).substr(error ? 24 : 20);
    const int64_t position = textToInteger(number);
    if (decimalText(position) != number || position < 1 ||
        position > static_cast<int64_t>(text.size()) + 1) {
      return "a diagnostic names a position outside the text";
    }
    if (lines[i + 1] != u"Node: /doc/library/description") return "a diagnostic names the wrong node";
    if (lines[i + 2] != (error ? u"missing ')'" : u"suspicious '@'")) return "a diagnostic has the wrong message";
    if (error && i + 3 != lines.size()) return "the translation went on after a parse error";
    if (error && result != text) return "a parse error did not return the input unchanged";
  }
  if (!holds(text, u"@") && (result != text || !lines.empty())) return "a text without '@' was changed";
  return {};
}

std::string checkImages(const std::vector<ImageEntry>& images) {
  for (size_t i = 0; i < images.size(); ++i) {
    if (images[i].number != static_cast<int64_t>(i) + 1) return "image numbers do not count up from 1";
    if (images[i].source != trimText(images[i].source)) return "an image source is not trimmed";
  }
  return {};
}

// ---------------------------------------------------------------- catalog

std::optional<size_t> naiveLineEnd(Text text, size_t start) {
  size_t end = text.find(u'\n', start);
  if (end == Text::npos) end = text.find(u'\r', start);
  if (end == Text::npos) return std::nullopt;
  return end;
}

std::string checkCatalogLines(Text text) {
  size_t lines = 0;
  std::optional<size_t> p = 1;
  while (p && *p <= text.size()) {
    const CatalogLine line = readLine(text, *p);
    const std::optional<size_t> end = naiveLineEnd(text, *p - 1);
    const Text expected = text.substr(*p - 1, end ? *end - (*p - 1) : Text::npos);
    if (line.line != expected) return "readLine cut a line at the wrong place";
    if (line.next != (end ? std::optional<size_t>(*end + 2) : std::nullopt)) {
      return "readLine gave the wrong next position";
    }
    if (++lines > text.size()) return "readLine does not advance";
    p = line.next;
  }
  if (readLine(text, 0).next || !readLine(text, 0).line.empty()) return "readLine at 0 is not empty";
  if (readLine(text, text.size() + 1).next) return "readLine past the end has a next line";
  return {};
}

std::string checkCatalogEntries(const Catalog& catalog) {
  for (const auto& [key, value] : catalog) {
    if (key != trimText(key)) return "a catalog key is not trimmed";
    if (catalogText(catalog, key, u"\uFFFF") != value) return "a catalog key cannot be looked up";
  }
  static constexpr const CatalogWord* kWords[] = {
      &words::All,          &words::AllBut,         &words::Author,           &words::Classes,
      &words::ClassOverview, &words::CommandOverview, &words::Commands,       &words::Constant,
      &words::ConstantOverview, &words::Constants,  &words::Copyright,        &words::Default,
      &words::Deprecated,   &words::Description,    &words::Elements,         &words::Examples,
      &words::Functions,    &words::History,        &words::Index,            &words::Introduction,
      &words::Libraries,    &words::LibraryWord,    &words::LibraryOverview,  &words::Licence,
      &words::MacroOverview, &words::Macros,        &words::Makros,           &words::NameWord,
      &words::Offset,       &words::Parameter,      &words::Parameters,       &words::References,
      &words::ResultWord,   &words::StructureOverview, &words::Structures,    &words::SupportedSystems,
      &words::Syntax};
  for (const CatalogWord* word : kWords) {
    auto found = catalog.find(platform::toLower(word->key));
    const std::u16string expected = found == catalog.end() ? std::u16string(word->builtIn) : found->second;
    if (catalogText(catalog, *word) != expected) return "a catalog word is not the catalog's text";
  }
  return {};
}

// ---------------------------------------------------------------- pipeline

// The folder imports and images are resolved against: it does not exist, so
// no input can make the harness read a real file.
constexpr Text kNowhere = u"/nonexistent-thc-fuzz/";

// The planned pages with every body built in memory, as the generation
// driver builds them: a name with a separator or a control character is
// refused by the page writer, so it is not listed as written.
std::vector<std::u16string> writePagesInMemory(const ProjectModel& model, const OutputPlan& plan) {
  std::vector<std::u16string> written;
  for (const PlannedPage& page : plan.pages) {
    const std::u16string body = pageBody(model.project, model.catalog, plan.names, page);
    bool refused = false;
    for (char16_t c : page.file) refused = refused || isSeparator(c) || c < 32;
    if (!refused) written.push_back(page.file);
  }
  return written;
}

// Every value="..." of a sitemap list: a raw quote or angle bracket inside
// would cut the entry short.
std::string checkSitemapValues(std::string_view body) {
  constexpr std::string_view opener = " value=\"";
  for (size_t at = body.find(opener); at != body.npos; at = body.find(opener, at + 1)) {
    const size_t start = at + opener.size();
    const size_t quote = body.find('"', start);
    if (quote == body.npos || body.substr(quote, 3) != "\">\n") return "a sitemap value holds a raw quote";
    const std::string_view value = body.substr(start, quote - start);
    if (value.find_first_of("<>") != body.npos) return "a sitemap value holds a raw angle bracket";
  }
  return {};
}

// The file list is the last section, in the help language's code page,
// which holds every page name: read back, it names exactly the pages written.
std::string checkHelpProject(std::string_view text, const std::vector<std::u16string>& files,
                             unsigned codePage) {
  std::u16string expected = u"[FILES]\n";
  for (const std::u16string& file : files) expected += file + u"\n";
  if (!TextDecoder(codePage).decode(text).ends_with(expected)) {
    return "the help project does not list exactly the pages written";
  }
  return {};
}

template <typename... Checks>
std::string firstFault(const Checks&... results) {
  std::string fault;
  ((fault = fault.empty() ? results : fault), ...);
  return fault;
}

}  // namespace

std::u16string fuzzText16(std::string_view bytes) {
  if (bytes.empty() || bytes[0] != '\x01') return fromUtf8(bytes);
  std::u16string text;
  for (size_t i = 1; i + 1 < bytes.size(); i += 2) {
    text += static_cast<char16_t>(static_cast<unsigned char>(bytes[i]) |
                                  (static_cast<unsigned char>(bytes[i + 1]) << 8));
  }
  return text;
}

std::string fuzzTextHelpers(std::string_view bytes) {
  const std::u16string text = fuzzText16(bytes);
  return firstFault(checkTrim(text), checkInteger(text, bytes), checkExtension(text),
                    checkDirectory(text), checkConversions(text, bytes), checkCase(text));
}

std::string fuzzMarkup(std::string_view bytes) {
  const std::u16string text = fuzzText16(bytes);
  const FuzzOrigin origin;
  std::vector<ImageEntry> images;
  MemoryConsole console;
  const std::u16string result =
      translateMarkup(text, MarkupContext{u"Lib", u"Cls", u"", images, console, origin});
  return firstFault(checkDiagnostics(console.lines, text, result), checkImages(images));
}

std::string fuzzCatalog(std::string_view bytes) {
  const std::u16string text = fuzzText16(bytes);
  Catalog catalog;
  catalog[u"stale"] = u"from an earlier build";
  buildCatalog(catalog, text);
  if (catalog.count(u"stale") && !holds(text, u"stale")) return "buildCatalog kept an old entry";
  if (unescapeCatalogValue(text).size() > text.size()) return "unescaping made a value longer";
  return firstFault(checkCatalogLines(text), checkCatalogEntries(catalog));
}

std::string fuzzPipeline(std::string_view bytes) {
  std::unique_ptr<DocTree> tree = parseDocument(bytes);
  if (!tree) return "parseDocument gave no tree";
  if (tree->status != 0) {
    if (tree->errorMessage.empty() || tree->errorLine < 1 || tree->errorPosition < 1) {
      return "a parse error without message or position";
    }
    return {};
  }
  ProjectModel model;
  model.projectFile = std::u16string(kNowhere) + u"project.xml";
  model.projectDir = std::u16string(kNowhere);
  model.outputDir = std::u16string(kNowhere) + u"html/";
  MemoryConsole console;
  readProject(model, console, rootElement(*tree));
  if (!checkProject(model.project, model.sources, console)) return {};
  if (!model.project.catalogSource.empty()) buildCatalog(model.catalog, model.project.catalogSource);
  sortProject(model.project);
  const OutputPlan plan = planOutput(model.project, model.catalog);
  const std::vector<std::u16string> written = writePagesInMemory(model, plan);
  const std::string contents = contentsBody(model.project, model.catalog);
  const std::string index = indexBody(plan.indexEntries, model.project.lang);
  const std::string helpProject = helpProjectText(model.project, written);
  const unsigned codePage = helpCodePage(model.project.lang);
  return firstFault(checkSitemapValues(contents), checkSitemapValues(index),
                    checkHelpProject(helpProject, written, codePage),
                    checkImages(model.project.images));
}

}  // namespace thc::robust
