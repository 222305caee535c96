#include "helpproject/projectfile.h"

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

std::u16string compiledFileName(std::u16string_view title) {
  // Without separators and drive letters the help compiler always writes the
  // file beside the project file.
  std::u16string name = withoutControlCharacters(title);
  for (char16_t& c : name) {
    if (isReservedInFileName(c)) c = u'_';
  }
  return name + u".chm";
}

std::u16string helpProjectText(const ProjectModel& model) {
  const Project& project = model.project;
  std::u16string text;
  text += u"[OPTIONS]\n";
  text += u"Binary TOC=Yes\n";
  text += u"Compatibility=1.1 or later\n";
  text += u"Compiled file=" + compiledFileName(project.title) + u"\n";
  text += u"Contents file=toc.hhc\n";
  text += u"Default topic=index.html\n";
  text += u"Display compile progress=No\n";
  text += u"Index file=idx.hhk\n";
  text += u"Full-text search=Yes\n";
  text += u"Language=" + languageCode(project.lang) + u"\n";
  text += u"Title=" + helpTitle(project.title) + u"\n";
  text += u"[FILES]\n";
  for (const std::u16string& file : model.generatedFiles) {
    text += file;
    text += u'\n';
  }
  return text;
}

bool writeTextFile(Console& console, OutputFolder& folder, std::u16string_view name,
                   std::u16string_view text) {
  return folder.writeText(console, name, {text});
}

}  // namespace thc
