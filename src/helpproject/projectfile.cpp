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

std::u16string helpProjectText(const ProjectModel& model) {
  const Project& project = model.project;
  std::u16string text;
  text += u"[OPTIONS]\n";
  text += u"Binary TOC=Yes\n";
  text += u"Compatibility=1.1 or later\n";
  text += u"Compiled file=" + project.title + u".chm\n";
  text += u"Contents file=toc.hhc\n";
  text += u"Default topic=index.html\n";
  text += u"Display compile progress=No\n";
  text += u"Index file=idx.hhk\n";
  text += u"Full-text search=Yes\n";
  text += u"Language=" + languageCode(project.lang) + u"\n";
  text += u"Title=" + project.title + u"\n";
  text += u"[FILES]\n";
  for (const std::u16string& file : model.generatedFiles) {
    text += file;
    text += u'\n';
  }
  return text;
}

bool writeTextFile(Console& console, std::u16string_view path, std::u16string_view text) {
  return writeOutputFile(console, path, {text});
}

}  // namespace thc
