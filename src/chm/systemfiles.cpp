#include "chm/systemfiles.h"

#include "chm/bytes.h"

namespace thc::chm {

namespace {

enum SystemCode : std::uint32_t {
  kContents = 0,
  kIndex = 1,
  kDefaultTopic = 2,
  kTitle = 3,
  kLanguage = 4,
  kDefaultWindowName = 5,
  kCompiledStem = 6,
  kCompilerVersion = 9,
  kTime = 10,
  kDefaultFont = 16,
};

void putRecord(std::string& out, std::uint32_t code, std::string_view data) {
  putU16(out, code);
  putU16(out, static_cast<std::uint32_t>(data.size()));
  out += data;
}

// Texts count their closing zero byte in the record's length.
void putText(std::string& out, std::uint32_t code, std::string_view text) {
  std::string data(text);
  data += '\0';
  putRecord(out, code, data);
}

// 100-nanosecond steps since 1601, as Windows counts time.
std::uint64_t fileTime(std::uint64_t seconds) {
  return seconds == 0 ? 0 : (seconds + 11644473600ull) * 10000000ull;
}

std::string languageRecord(const SystemInfo& info) {
  std::string data;
  putU32(data, info.lcid);
  putU32(data, info.doubleByte ? 1 : 0);
  putU32(data, info.fullTextSearch ? 1 : 0);
  putU32(data, info.hasKeywords ? 1 : 0);
  putU32(data, 0);  // no associative links
  putU64(data, fileTime(info.seconds));
  putU32(data, 0);
  putU32(data, 0);
  return data;
}

}  // namespace

std::string systemFile(const SystemInfo& info) {
  std::string out;
  putU32(out, info.version3 ? 3 : 2);
  std::string time;
  putU32(time, static_cast<std::uint32_t>(info.seconds));
  putU32(time, 0);
  putRecord(out, kTime, time);
  putText(out, kCompilerVersion, "TarnelTHC");
  putRecord(out, kLanguage, languageRecord(info));
  if (!info.defaultTopic.empty()) putText(out, kDefaultTopic, info.defaultTopic);
  putText(out, kTitle, info.title);
  if (!info.defaultFont.empty()) putText(out, kDefaultFont, info.defaultFont);
  putText(out, kCompiledStem, info.compiledStem);
  if (!info.contentsFile.empty()) putText(out, kContents, info.contentsFile);
  if (!info.indexFile.empty()) putText(out, kIndex, info.indexFile);
  if (!info.defaultWindow.empty()) putText(out, kDefaultWindowName, info.defaultWindow);
  return out;
}

WindowDefinition defaultWindow(const SystemInfo& info) {
  WindowDefinition window;
  window.name = info.defaultWindow;
  window.caption = info.title;
  window.contents = info.contentsFile;
  window.index = info.indexFile;
  window.defaultFile = info.defaultTopic;
  window.home = info.defaultTopic;
  window.validMembers = kMemberProperties | kMemberNavWidth | kMemberToolbar;
  window.properties = kWindowTriPane | kWindowAutoSync | kWindowChangeTitle;
  if (info.fullTextSearch) window.properties |= kWindowTabSearch;
  window.navWidth = 250;
  // Hide/show, back, forward, home, options, print.
  window.toolbarFlags = 0x2 | 0x4 | 0x8 | 0x40 | 0x1000 | 0x2000;
  return window;
}

namespace {

void putWindow(std::string& out, const WindowDefinition& window, std::uint32_t size, StringsTable& strings) {
  const size_t start = out.size();
  putU32(out, size);
  putU32(out, 0);  // texts are in the code page, not UTF-16
  putU32(out, strings.add(window.name));
  putU32(out, window.validMembers);
  putU32(out, window.properties);
  putU32(out, strings.add(window.caption));
  putU32(out, window.styles);
  putU32(out, window.exStyles);
  for (std::int32_t side : window.position) putU32(out, static_cast<std::uint32_t>(side));
  putU32(out, window.showState);
  out.append(6 * 4, '\0');  // handles the viewer fills in at run time
  putU32(out, window.navWidth);
  out.append(16, '\0');  // the topic pane's rectangle
  putU32(out, strings.add(window.contents));
  putU32(out, strings.add(window.index));
  putU32(out, strings.add(window.defaultFile));
  putU32(out, strings.add(window.home));
  putU32(out, window.toolbarFlags);
  putU32(out, window.notExpanded);
  putU32(out, window.currentTab);
  putU32(out, window.tabPosition);
  putU32(out, window.notifyId);
  out.append(20, '\0');  // tab order
  putU32(out, 0);        // history entries
  putU32(out, strings.add(window.jump1Text));
  putU32(out, strings.add(window.jump2Text));
  putU32(out, strings.add(window.jump1Url));
  putU32(out, strings.add(window.jump2Url));
  out.append(16, '\0');  // smallest size
  if (size > 188) {
    putU32(out, 0);  // information types
    putU32(out, 0);  // custom tabs
  }
  out.resize(start + size, '\0');
}

}  // namespace

std::string windowsFile(const std::vector<WindowDefinition>& windows, bool version3, StringsTable& strings) {
  const std::uint32_t size = version3 ? 196 : 188;
  std::string out;
  putU32(out, static_cast<std::uint32_t>(windows.size()));
  putU32(out, size);
  for (const WindowDefinition& window : windows) putWindow(out, window, size, strings);
  return out;
}

TopicTables topicTables(const std::vector<Topic>& topics, StringsTable& strings) {
  // #URLTBL keeps its 12-byte records inside 4096-byte blocks: 341 a block
  // and four bytes of fill.
  constexpr size_t kPerBlock = 341;
  TopicTables tables;
  tables.urlStrings.assign(1, '\0');
  for (size_t number = 0; number < topics.size(); ++number) {
    const Topic& topic = topics[number];
    if (number > 0 && number % kPerBlock == 0) tables.urlTable.append(4, '\0');
    const std::uint32_t urlRecord = static_cast<std::uint32_t>(tables.urlTable.size());
    putU32(tables.topics, 0);
    putU32(tables.topics, strings.add(topic.title));
    putU32(tables.topics, urlRecord);
    putU16(tables.topics, 2);
    putU16(tables.topics, 0);
    putU32(tables.urlTable, 0);
    putU32(tables.urlTable, static_cast<std::uint32_t>(number));
    putU32(tables.urlTable, static_cast<std::uint32_t>(tables.urlStrings.size()));
    putU32(tables.urlStrings, 0);
    putU32(tables.urlStrings, 0);
    tables.urlStrings += topic.path;
    tables.urlStrings += '\0';
  }
  return tables;
}

}  // namespace thc::chm
