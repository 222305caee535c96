#include "generators/help_readers.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>

#include "support/lines.h"
#include "support/run_program.h"

namespace thc::testing::generators {

namespace fs = std::filesystem;

namespace {

std::string trimmed(const std::string& text) {
  const size_t start = text.find_first_not_of(" \t");
  if (start == std::string::npos) return "";
  return text.substr(start, text.find_last_not_of(" \t") - start + 1);
}

std::string withSlashes(std::string path) {
  std::replace(path.begin(), path.end(), '\\', '/');
  return path;
}

int hexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return c >= 'a' && c <= 'f' ? c - 'a' + 10 : -1;
}

std::string unescaped(const std::string& target) {
  std::string bytes;
  for (size_t i = 0; i < target.size(); ++i) {
    if (target[i] == '%' && i + 2 < target.size() && hexDigit(target[i + 1]) >= 0 && hexDigit(target[i + 2]) >= 0) {
      bytes += static_cast<char>(hexDigit(target[i + 1]) * 16 + hexDigit(target[i + 2]));
      i += 2;
    } else {
      bytes += target[i];
    }
  }
  return bytes;
}

// The quoted values of href=, src= and background= in a page.
std::vector<std::string> referencedValues(const std::string& page) {
  std::vector<std::string> values;
  const std::string lower = lowered(page);
  for (const std::string attribute : {" href=", " src=", " background="}) {
    for (size_t at = lower.find(attribute); at != std::string::npos; at = lower.find(attribute, at + 1)) {
      const size_t open = at + attribute.size();
      if (open >= page.size() || (page[open] != '"' && page[open] != '\'')) continue;
      const size_t close = page.find(page[open], open + 1);
      if (close != std::string::npos) values.push_back(page.substr(open + 1, close - open - 1));
    }
  }
  return values;
}

// The file a reference of `page` leads to, from the project's folder; ""
// for a reference elsewhere (a scheme, another host, above the folder).
std::string linkedPath(const std::string& page, std::string target) {
  target = target.substr(0, target.find_first_of("#?"));
  const size_t colon = target.find(':');
  if (target.empty() || target.starts_with("//") ||
      (colon != std::string::npos && colon < target.find('/'))) {
    return "";
  }
  const fs::path joined = target.starts_with("/") ? fs::path(target.substr(1))
                                                  : fs::path(page).parent_path() / withSlashes(unescaped(target));
  const std::string path = joined.lexically_normal().generic_string();
  return path.starts_with("..") ? "" : path;
}

// The values of url(...) in a style sheet, quoted or not.
std::vector<std::string> styleSheetValues(const std::string& css) {
  std::vector<std::string> values;
  const std::string lower = lowered(css);
  for (size_t at = lower.find("url("); at != std::string::npos; at = lower.find("url(", at + 1)) {
    const size_t close = css.find(')', at);
    if (close == std::string::npos) break;
    std::string value = trimmed(css.substr(at + 4, close - at - 4));
    if (value.size() >= 2 && (value[0] == '"' || value[0] == '\'')) value = value.substr(1, value.size() - 2);
    values.push_back(value);
  }
  return values;
}

bool isPage(const std::string& path) {
  const std::string lower = lowered(path);
  return lower.ends_with(".htm") || lower.ends_with(".html");
}

std::string decodeEntities(const std::string& text) {
  static const std::pair<const char*, char> entities[] = {{"&quot;", '"'}, {"&lt;", '<'}, {"&gt;", '>'}, {"&amp;", '&'}};
  std::string out;
  for (size_t i = 0; i < text.size();) {
    bool replaced = false;
    for (const auto& [entity, c] : entities) {
      const std::string_view name(entity);
      if (text.compare(i, name.size(), name) == 0) {
        out.push_back(c);
        i += name.size();
        replaced = true;
        break;
      }
    }
    if (!replaced) out.push_back(text[i++]);
  }
  return out;
}

std::string attributeOf(const std::string& tag, const std::string& attribute) {
  size_t at = lowered(tag).find(attribute + "=\"");
  if (at == std::string::npos) return "";
  at += attribute.size() + 2;
  return tag.substr(at, tag.find('"', at) - at);
}

}  // namespace

ShellRun runShell(const std::string& command) {
  ShellRun run;
  FILE* pipe = ::popen((command + " 2>&1").c_str(), "r");
  if (!pipe) return run;
  char buffer[4096];
  for (size_t got; (got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) run.output.append(buffer, got);
  const int status = ::pclose(pipe);
  run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return run;
}

std::string shellQuote(const std::string& text) {
  std::string quoted = "'";
  for (char c : text) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return quoted + "'";
}

std::map<std::string, std::string> filesBelow(const std::string& folder) {
  std::map<std::string, std::string> files;
  for (const auto& entry : fs::recursive_directory_iterator(folder)) {
    // By the name in the folder: fs::relative would resolve a link to its target's name.
    if (entry.is_regular_file()) files[entry.path().lexically_relative(folder).generic_string()] = readFile(entry.path());
  }
  return files;
}

ProjectView readProject(const std::string& folder, const std::string& hhp) {
  ProjectView project;
  std::string section;
  for (const std::string& raw : linesOf(readFile(folder + "/" + hhp))) {
    const std::string line = trimmed(raw);
    if (line.empty() || line[0] == ';') continue;
    if (line.front() == '[') {
      section = lowered(line);
    } else if (section == "[files]") {
      project.listed.push_back(withSlashes(line));
    } else if (section == "[alias]" && line.find('=') != std::string::npos) {
      project.aliased.push_back(withSlashes(trimmed(line.substr(line.find('=') + 1))));
    } else if (section == "[options]" && line.find('=') != std::string::npos) {
      project.options[lowered(trimmed(line.substr(0, line.find('='))))] = trimmed(line.substr(line.find('=') + 1));
    }
  }
  std::vector<std::string> pending = project.listed;
  pending.insert(pending.end(), project.aliased.begin(), project.aliased.end());
  for (const char* sitemap : {"contents file", "index file"}) {
    if (project.options.count(sitemap)) pending.push_back(withSlashes(project.options[sitemap]));
  }
  // Followed page by page: a linked page leads on.
  while (!pending.empty()) {
    const std::string path = fs::path(pending.back()).lexically_normal().generic_string();
    pending.pop_back();
    if (!fs::is_regular_file(folder + "/" + path) || !project.stored.insert(path).second) continue;
    const std::string bytes = readFile(folder + "/" + path);
    const bool styleSheet = lowered(path).ends_with(".css");
    if (!styleSheet && !isPage(path)) continue;
    for (const std::string& value : styleSheet ? styleSheetValues(bytes) : referencedValues(bytes)) {
      const std::string linked = linkedPath(path, value);
      if (!linked.empty()) pending.push_back(linked);
    }
  }
  return project;
}

std::vector<SitemapEntry> readSitemap(const std::string& text) {
  std::vector<SitemapEntry> entries;
  int depth = 0;
  bool inEntry = false;
  for (size_t at = text.find('<'); at != std::string::npos; at = text.find('<', at)) {
    const size_t end = text.find('>', at);
    if (end == std::string::npos) break;
    const std::string tag = text.substr(at, end - at + 1);
    const std::string lower = lowered(tag);
    at = end + 1;
    if (lower.starts_with("<ul")) ++depth;
    if (lower.starts_with("</ul")) --depth;
    if (lower.starts_with("<object") && attributeOf(tag, "type") == "text/sitemap") {
      entries.push_back(SitemapEntry{depth, {}, {}});
      inEntry = true;
    }
    if (lower.starts_with("</object")) inEntry = false;
    if (!lower.starts_with("<param") || !inEntry) continue;
    const std::string name = lowered(attributeOf(tag, "name"));
    const std::string value = decodeEntities(attributeOf(tag, "value"));
    if (name == "name" || name == "keyword") entries.back().names.push_back(value);
    if (name == "local") entries.back().locals.push_back(value);
  }
  return entries;
}

std::string sitemapDifferences(const std::vector<SitemapEntry>& expected, const std::vector<SitemapEntry>& read) {
  auto describe = [](const std::vector<SitemapEntry>& entries, size_t i) {
    if (i >= entries.size()) return std::string("(none)");
    std::string text = "depth " + std::to_string(entries[i].depth);
    for (const std::string& name : entries[i].names) text += " name=" + name;
    for (const std::string& local : entries[i].locals) text += " local=" + local;
    return text;
  };
  for (size_t i = 0; i < std::max(expected.size(), read.size()); ++i) {
    if (i < expected.size() && i < read.size() && expected[i] == read[i]) continue;
    // One is enough: the rest follows from it.
    return "entry " + std::to_string(i + 1) + ": [" + describe(expected, i) + "] read as [" + describe(read, i) + "]";
  }
  return "";
}

std::map<std::uint32_t, std::string> contextIdsWithChmls(const std::string& chm, const std::string& scratch) {
  // chmls names what it writes after the help file and puts it into the
  // current folder, whatever base name it is given.
  fs::copy_file(chm, scratch + "/ids.chm", fs::copy_options::overwrite_existing);
  runShell("cd " + shellQuote(scratch) + " && chmls extractalias ids.chm ids id");
  std::map<std::uint32_t, std::string> ids;
  if (!fs::exists(scratch + "/ids.ali")) return ids;
  for (const std::string& line : linesOf(readFile(scratch + "/ids.ali"))) {
    const size_t equals = line.find('=');
    if (line.starts_with("id") && equals != std::string::npos) {
      ids[static_cast<std::uint32_t>(std::stoul(line.substr(2, equals - 2)))] = withSlashes(line.substr(equals + 1));
    }
  }
  return ids;
}

}  // namespace thc::testing::generators
