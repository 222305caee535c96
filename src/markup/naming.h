// Page names, link targets, link texts and typed names. Every page file name
// and every link to it comes from these functions, so they always agree.
// Names go in as passed: no folding or trimming; only a character that the
// help's code page lacks is replaced in a file name (see PageNames).
#pragma once

#include <string>
#include <string_view>


namespace thc {

using Name = std::u16string_view;

// How the pages of one help are named. The help files name every page in the
// code page of the help language, so a page's file name keeps the characters
// that code page holds and has "_" for each other one; on disk, in every link
// and in the help files the page then has this one name. The anchor after
// "#" of a link is not part of the file name and stays as it is.
struct PageNames {
  unsigned codePage;  // helpCodePage of the project's lang
};

std::u16string htmlFileName(PageNames names, Name base);
std::u16string commandPageName(PageNames names, Name library, Name command);
std::u16string classPageName(PageNames names, Name library, Name cls);
std::u16string memberPageName(PageNames names, Name library, Name cls, Name member);
std::u16string structurePageName(PageNames names, Name library, Name structure);
std::u16string libraryPageName(PageNames names, Name library);
// The one page of a library's constants, and of its macros.
std::u16string constantsPageName(PageNames names, Name library);
std::u16string macrosPageName(PageNames names, Name library);
// A library's history page, or the project's (named after its title).
std::u16string historyPageName(PageNames names, Name libraryOrTitle);
std::u16string constantLink(PageNames names, Name library, Name constant);
std::u16string macroLink(PageNames names, Name library, Name macro);

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

}  // namespace thc
