#include "markup/naming.h"

#include "codepage/codepage.h"
#include "common/text.h"

namespace thc {

namespace {

std::u16string join(std::initializer_list<Name> parts) {
  size_t size = 0;
  for (Name part : parts) size += part.size();
  std::u16string result;
  result.reserve(size);
  for (Name part : parts) result.append(part);
  return result;
}

// [library] + [": " when both are set] + [item + suffix when item is set]
std::u16string qualified(Name library, Name item, Name prefix, Name suffix) {
  std::u16string result(library);
  if (item.empty()) return result;
  if (!library.empty()) result += u": ";
  result.append(prefix);
  result.append(item);
  result.append(suffix);
  return result;
}

}  // namespace

std::u16string htmlFileName(PageNames names, Name base) {
  return join({fileNameInCodePage(base, names.codePage), u".html"});
}

std::u16string commandPageName(PageNames names, Name library, Name command) {
  return htmlFileName(names, join({library, u"_f_", command}));
}

std::u16string classPageName(PageNames names, Name library, Name cls) {
  return htmlFileName(names, join({library, u"_c_", cls}));
}

std::u16string memberPageName(PageNames names, Name library, Name cls, Name member) {
  return htmlFileName(names, join({library, u"_c_", cls, u"_m_", member}));
}

std::u16string structurePageName(PageNames names, Name library, Name structure) {
  return htmlFileName(names, join({library, u"_s_", structure}));
}

std::u16string libraryPageName(PageNames names, Name library) {
  return htmlFileName(names, join({library, u"_index"}));
}

std::u16string constantsPageName(PageNames names, Name library) {
  return htmlFileName(names, join({library, u"_constant"}));
}

std::u16string macrosPageName(PageNames names, Name library) {
  return htmlFileName(names, join({library, u"_macro"}));
}

std::u16string historyPageName(PageNames names, Name libraryOrTitle) {
  return htmlFileName(names, join({libraryOrTitle, u"_history"}));
}

std::u16string constantLink(PageNames names, Name library, Name constant) {
  return join({constantsPageName(names, library), u"#", constant});
}

std::u16string macroLink(PageNames names, Name library, Name macro) {
  return join({macrosPageName(names, library), u"#", macro});
}

std::u16string commandLinkText(Name library, Name command) {
  return qualified(library, command, u"", u"()");
}

std::u16string memberLinkText(Name library, Name cls, Name member) {
  std::u16string result(library);
  if (!cls.empty()) {
    if (!result.empty()) result += u": ";
    result.append(cls);
  }
  if (!member.empty()) {
    if (!cls.empty()) {
      result += u"\\";
    } else if (!result.empty()) {
      result += u": ";
    }
    result.append(member);
    result += u"()";
  }
  return result;
}

std::u16string constantLinkText(Name library, Name constant) {
  return qualified(library, constant, u"#", u"");
}

std::u16string classLinkText(Name library, Name cls) { return qualified(library, cls, u"", u""); }

std::u16string structureLinkText(Name library, Name structure) {
  return qualified(library, structure, u"", u"");
}

std::u16string macroLinkText(Name library, Name macro) { return qualified(library, macro, u"", u""); }

std::u16string libraryLinkText(Name library) { return std::u16string(library); }

std::u16string typedName(Name name, Name type, bool pointer) {
  std::u16string result;
  if (pointer) result += u"*";
  result.append(name);
  if (!type.empty()) {
    result += u".";
    result.append(type);
  }
  return result;
}

std::u16string valueOrDefault(Name value, Name fallback) {
  std::u16string_view trimmed = trimmedView(value);
  if (trimmed.empty()) trimmed = trimmedView(fallback);
  return std::u16string(trimmed);
}

}  // namespace thc
