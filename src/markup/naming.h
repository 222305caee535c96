// Page names, link targets, link texts and typed names. Every page file name
// and every link to it comes from these functions, so they always agree.
// Names go in exactly as passed: no folding, trimming or replacing.
#pragma once

#include <string>
#include <string_view>

#include "project/model.h"

namespace thc {

using Name = std::u16string_view;

std::u16string htmlFileName(Name base);
std::u16string commandPageName(Name library, Name command);
std::u16string classPageName(Name library, Name cls);
std::u16string memberPageName(Name library, Name cls, Name member);
std::u16string structurePageName(Name library, Name structure);
std::u16string libraryPageName(Name library);
std::u16string constantLink(Name library, Name constant);
std::u16string macroLink(Name library, Name macro);

std::u16string commandLinkText(Name library, Name command);
std::u16string memberLinkText(Name library, Name cls, Name member);
std::u16string constantLinkText(Name library, Name constant);
std::u16string classLinkText(Name library, Name cls);
std::u16string structureLinkText(Name library, Name structure);
std::u16string macroLinkText(Name library, Name macro);
std::u16string libraryLinkText(Name library);

// "*" when pointer, the name, "." + type when the type is not empty.
std::u16string typedName(Name name, Name type, bool pointer);

// trimText(value), or trimText(fallback) when that is empty.
std::u16string valueOrDefault(Name value, Name fallback);

// The library being read (the last one appended), or "" before the first.
Name currentLibraryName(const Project& project);
// The last class appended to the library being read, or "".
Name currentClassName(const Project& project);

}  // namespace thc
