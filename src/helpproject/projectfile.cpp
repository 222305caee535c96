#include "helpproject/projectfile.h"

#include "codepage/codepage.h"
#include "common/output.h"
#include "platform/textcase.h"

namespace thc {

std::u16string languageCode(std::u16string_view lang) {
  // The reader lowers lang already; lowering again keeps a hand-built model
  // ("FR") on the same code.
  std::u16string lowered = platform::toLower(lang);
  if (lowered == u"de") return u"0x407";
  if (lowered == u"en") return u"0x409";
  if (lowered == u"fr") return u"0x40C";
  return platform::toUpper(lang);
}

namespace {

// A control character in the title would end its line early and start a line
// of its own in the project file (a [FILES] section naming any file, say).
std::u16string withoutControlCharacters(std::u16string_view text) {
  std::u16string result(text);
  for (char16_t& c : result) {
    if (c < 32) c = u' ';
  }
  return result;
}

bool isReservedInFileName(char16_t c) {
  return std::u16string_view(u"/\\:*?\"<>|").find(c) != std::u16string_view::npos;
}

}  // namespace

std::u16string helpTitle(std::u16string_view title) { return withoutControlCharacters(title); }

std::u16string compiledFileName(std::u16string_view title, unsigned codePage) {
  // Without separators and drive letters the help compiler always writes the
  // file beside the project file.
  std::u16string name = withoutControlCharacters(title);
  for (char16_t& c : name) {
    if (isReservedInFileName(c)) c = u'_';
  }
  return fileNameInCodePage(name, codePage) + u".chm";
}

std::string helpProjectText(const Project& project, const std::vector<std::u16string>& pages) {
  const unsigned codePage = helpCodePage(project.lang);
  // The help compiler reads the whole file in the help language's code page.
  // The file names fit it already; the title shown may not, and a "?"
  // stands for what it lacks.
  TextEncoder encoder(codePage);
  size_t listed = 0;
  for (const std::u16string& file : pages) listed += file.size() + 1;
  std::string text;
  text.reserve(512 + project.title.size() * 2 + listed);
  text += "[OPTIONS]\n";
  text += "Binary TOC=Yes\n";
  text += "Compatibility=1.1 or later\n";
  text += "Compiled file=";
  encoder.appendWithUnderscores(text, compiledFileName(project.title, codePage));
  text += "\n";
  text += "Contents file=toc.hhc\n";
  text += "Default topic=index.html\n";
  text += "Display compile progress=No\n";
  text += "Index file=idx.hhk\n";
  text += "Full-text search=Yes\n";
  text += "Language=";
  encoder.appendWithQuestionMarks(text, languageCode(project.lang));
  text += "\n";
  text += "Title=";
  encoder.appendWithQuestionMarks(text, helpTitle(project.title));
  text += "\n";
  text += "[FILES]\n";
  for (const std::u16string& file : pages) {
    encoder.appendWithUnderscores(text, file);
    text += '\n';
  }
  return text;
}

bool writeTextFile(Console& console, OutputFolder& folder, std::u16string_view name,
                   std::string_view text) {
  return folder.writeBytes(console, name, {text});
}

}  // namespace thc
