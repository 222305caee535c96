// The tables a viewer reads to show a help file: #SYSTEM (title, language,
// default topic, contents and index), #WINDOWS (the window with its panes),
// and the topic tables #TOPICS, #URLTBL and #URLSTR that search results and
// the contents point into. Texts come in the help's code page.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "chm/strings.h"
#include "chm/window.h"

namespace thc::chm {

struct SystemInfo {
  std::string contentsFile;  // "toc.hhc", no leading "/"
  std::string indexFile;
  std::string defaultTopic;
  std::string title;
  std::string defaultWindow;
  std::string compiledStem;  // "document" for document.chm, lower case
  std::string defaultFont;   // "face,size,charset" or empty
  std::uint32_t lcid = 0x409;
  bool doubleByte = false;
  bool fullTextSearch = false;
  bool hasKeywords = false;
  bool version3 = true;      // "Compatibility=1.1 or later"
  std::uint64_t seconds = 0;  // since 1970; 0 when no time is to be stored
};

std::string systemFile(const SystemInfo& info);

// One window of #WINDOWS, its texts in the code page.
using WindowDefinition = Window<std::string>;

// Window property and member bits that the defaults use.
inline constexpr std::uint32_t kWindowTriPane = 0x20;
inline constexpr std::uint32_t kWindowAutoSync = 0x100;
inline constexpr std::uint32_t kWindowTabSearch = 0x400;
inline constexpr std::uint32_t kWindowChangeTitle = 0x2000;
inline constexpr std::uint32_t kMemberProperties = 0x2;
inline constexpr std::uint32_t kMemberNavWidth = 0x20;
inline constexpr std::uint32_t kMemberToolbar = 0x100;

// The window a help file gets when its project names none: three panes
// (contents, index, search when there is a search index) with the usual
// buttons.
WindowDefinition defaultWindow(const SystemInfo& info);

std::string windowsFile(const std::vector<WindowDefinition>& windows, bool version3, StringsTable& strings);

// A page of the help file: its path inside it (no leading "/") and title,
// both in the code page.
struct Topic {
  std::string path;
  std::string title;
};

struct TopicTables {
  std::string topics;  // #TOPICS
  std::string urlTable;  // #URLTBL
  std::string urlStrings;  // #URLSTR
};

TopicTables topicTables(const std::vector<Topic>& topics, StringsTable& strings);

}  // namespace thc::chm
