// Reading a help project (.hhp) as help compilers read it: sections of
// lines, "Key=value" options, one file a line; the text is in the code page
// of the project's language.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "chm/window.h"

namespace thc::chm {

using ProjectWindow = Window<std::u16string>;

// A context id that applications pass to the viewer to open a topic: a
// symbol of [MAP] with its number, given a file by [ALIAS].
struct ContextId {
  std::u16string symbol;
  std::uint32_t number = 0;
  std::u16string file;
};

struct HelpProjectFile {
  std::u16string compiledFile;
  std::u16string contentsFile;
  std::u16string indexFile;
  std::u16string defaultTopic;
  std::u16string defaultWindow;
  std::u16string title;
  std::u16string defaultFont;
  std::uint32_t lcid = 0x409;
  unsigned codePage = 1252;
  bool fullTextSearch = false;
  bool binaryToc = false;
  bool binaryIndex = false;
  bool version3 = true;  // "Compatibility=1.1 or later", the default
  std::vector<ProjectWindow> windows;
  std::vector<std::u16string> files;  // as listed, "\" already turned into "/"
  bool hasFiles = false;               // a [FILES] section, even an empty one
  // [ALIAS]: symbol and file; [MAP]: the lines as written ("#define S 10",
  // "#include map.h"); [TEXT POPUPS]: the files.
  std::vector<std::pair<std::u16string, std::u16string>> aliases;
  std::vector<std::u16string> mapLines;
  std::vector<std::u16string> popupFiles;
  // Lines of the project that change nothing.
  std::vector<std::u16string> ignored;
};

// None when the bytes are no help project (no section at all, or text that
// is not text); `why` then says what is wrong.
std::optional<HelpProjectFile> readHelpProjectFile(std::string_view bytes, std::u16string& why);

// The number a text begins with, as help projects write numbers: decimal,
// or hexadecimal after "0x"; kept to 32 bits. None when no digit begins it.
std::optional<std::uint32_t> leadingNumber(std::u16string_view text);

// The language ID that a "Language=" value begins with ("0x409 English").
std::optional<std::uint32_t> languageId(std::u16string_view value);

}  // namespace thc::chm
