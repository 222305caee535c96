#include "pages/commandpage.h"

#include "catalog/catalog.h"
#include "markup/naming.h"
#include "pages/pagetext.h"

namespace thc {

namespace {

// Names the pages around a command: its own heading, its neighbours and its
// up link differ between a library command and a class method.
class CommandNames {
 public:
  CommandNames(PageNames names, const Library& library, const Class* ownerClass)
      : names_(names), library_(library.name), ownerClass_(ownerClass) {}

  std::u16string text(const Command& command) const {
    if (ownerClass_) return memberLinkText(library_, ownerClass_->name, command.name);
    return commandLinkText(library_, command.name);
  }
  std::u16string file(const Command& command) const {
    if (ownerClass_) return memberPageName(names_, library_, ownerClass_->name, command.name);
    return commandPageName(names_, library_, command.name);
  }
  NavigationLink link(const Command& command) const { return {file(command), text(command)}; }
  NavigationLink up() const {
    if (ownerClass_) {
      return {classPageName(names_, library_, ownerClass_->name),
              classLinkText(library_, ownerClass_->name)};
    }
    return {libraryPageName(names_, library_), libraryLinkText(library_)};
  }

 private:
  PageNames names_;
  std::u16string_view library_;
  const Class* ownerClass_;
};

std::u16string argumentText(const Argument& argument) {
  return typedName(argument.name, argument.type, false);
}

bool isOptional(const Argument& argument) { return !argument.defaultValue.empty(); }

// The separators follow the numeric index, not the position: an argument
// numbered 0 or 1 gets none. The optional ones open nested brackets inside
// one italic span, all closed at the end.
void appendSyntaxArguments(std::u16string& out, const std::vector<Argument>& args) {
  size_t openBrackets = 0;
  for (const Argument& argument : args) {
    const bool separated = argument.indexValue > 1;
    if (isOptional(argument)) {
      if (openBrackets == 0) out += u"<span class='syntaxopt'>";
      appendText(out, {separated ? u" [, " : u"[", argumentText(argument), u"=",
                       argument.defaultValue});
      ++openBrackets;
    } else {
      appendText(out, {separated ? u", " : u"", argumentText(argument)});
    }
  }
  if (openBrackets == 0) return;
  out.append(openBrackets, u']');
  out += u"</span>";
}

void appendSyntax(std::u16string& out, const Catalog& catalog, const Command& command) {
  appendText(out, {u"<h3>", catalogText(catalog, words::Syntax)});
  appendDeprecatedMark(out, catalog, command.deprecated);
  out += u"</h3><p class='syntax marleft'>";
  const Result& result = command.result;
  if (!result.name.empty()) {
    appendText(out, {typedName(result.name, result.type, result.pointer), u" = "});
  }
  appendText(out, {u"<b>", command.name, u"</b>("});
  appendSyntaxArguments(out, command.args);
  out += u")</p>";
}

void appendResult(std::u16string& out, const Catalog& catalog, const Result& result) {
  if (result.name.empty()) return;
  const std::u16string resultWord = catalogText(catalog, words::ResultWord);
  appendText(out, {u"<h3>", resultWord, u"</h3><table class='marleft'><tr><th>", resultWord,
                   u"</th><th>", catalogText(catalog, words::Description),
                   u"</th></tr><tr><td class='padright syntax'>",
                   typedName(result.name, result.type, result.pointer), u"</td><td>",
                   result.description, u"</td></tr></table>"});
}

void appendParameters(std::u16string& out, const Catalog& catalog,
                      const std::vector<Argument>& args) {
  if (args.empty()) return;
  bool defaultColumn = false;
  for (const Argument& argument : args) defaultColumn = defaultColumn || isOptional(argument);

  appendText(out, {u"<h3>", catalogText(catalog, words::Parameters),
                   u"</h3><table class='marleft'><tr><th>", catalogText(catalog, words::Parameter),
                   u"</th><th>", catalogText(catalog, words::Description)});
  if (defaultColumn) appendText(out, {u"</th><th>", catalogText(catalog, words::Default)});
  out += u"</th></tr>";
  for (const Argument& argument : args) {
    out += u"<tr><td class='padright syntax'>";
    if (isOptional(argument)) {
      appendText(out, {u"<span class='syntaxopt'>", argumentText(argument), u"</span>"});
    } else {
      out += argumentText(argument);
    }
    appendText(out, {u"</td><td>", argument.description});
    if (defaultColumn) appendText(out, {u"</td><td>", argument.defaultValue});
    out += u"</td></tr>";
  }
  out += u"</table>";
}

void appendExamples(std::u16string& out, const Catalog& catalog,
                    const std::vector<Example>& examples) {
  if (examples.empty()) return;
  appendText(out, {u"<h3>", catalogText(catalog, words::Examples), u"</h3>"});
  for (const Example& example : examples) {
    appendText(out, {u"<h5>", example.name, u"</h5><div class='marleftdbl syntax'><pre>",
                     example.text, u"</pre></div>"});
  }
}

NavigationLink referenceLink(PageNames names, const Reference& reference) {
  const std::u16string& library = reference.library;
  switch (reference.kind) {
    case ReferenceKind::Library:
      return {libraryPageName(names, library), libraryLinkText(library)};
    case ReferenceKind::Constant:
      return {constantLink(names, library, reference.constantName),
              constantLinkText(library, reference.constantName)};
    case ReferenceKind::Command:
      return {commandPageName(names, library, reference.memberName),
              commandLinkText(library, reference.memberName)};
    case ReferenceKind::Class:
      return {classPageName(names, library, reference.className),
              classLinkText(library, reference.className)};
    case ReferenceKind::Structure:
      return {structurePageName(names, library, reference.structureName),
              structureLinkText(library, reference.structureName)};
    case ReferenceKind::Macro:
      return {macroLink(names, library, reference.memberName),
              macroLinkText(library, reference.memberName)};
    case ReferenceKind::Member:
      return {memberPageName(names, library, reference.className, reference.memberName),
              memberLinkText(library, reference.className, reference.memberName)};
  }
  return {};
}

void appendReferences(std::u16string& out, const Catalog& catalog, PageNames names,
                      const std::vector<Reference>& references) {
  if (references.empty()) return;
  appendText(out, {u"<h3>", catalogText(catalog, words::References),
                   u"</h3><p class='marleft syntax'>"});
  for (const Reference& reference : references) {
    const NavigationLink link = referenceLink(names, reference);
    // A reference without any name has nothing to show.
    if (link.text.empty()) continue;
    appendText(out, {u"<a href='", link.file, u"' class='syntax'>", link.text, u"</a><br>"});
  }
  out += u"</p>";
}

// ", " goes before an entry only when the text joined so far is not empty,
// so empty entries leave no doubled separators.
std::u16string joinedEntries(const std::vector<std::u16string>& entries) {
  std::u16string joined;
  for (const std::u16string& entry : entries) {
    if (!joined.empty()) joined += u", ";
    joined += entry;
  }
  return joined;
}

std::u16string supportedSystemsText(const Catalog& catalog, const Command& command) {
  if (!command.osList.empty()) return joinedEntries(command.osList);
  // The catalog word is followed directly by the first entry.
  if (!command.noOsList.empty()) {
    return catalogText(catalog, words::AllBut) + joinedEntries(command.noOsList);
  }
  return catalogText(catalog, words::All);
}

}  // namespace

std::u16string commandPageBody(const Catalog& catalog, PageNames names, const Library& library,
                               const Command& command, const Class* ownerClass,
                               const Command* next, const Command* previous) {
  const CommandNames commandNames(names, library, ownerClass);
  std::u16string out;
  appendText(out, {u"<h2>", commandNames.text(command), u"</h2>"});
  appendSyntax(out, catalog, command);
  appendText(out, {u"<h3>", catalogText(catalog, words::Description),
                   u"</h3><div class='marleft'>", command.description, u"</div>"});
  appendResult(out, catalog, command.result);
  appendParameters(out, catalog, command.args);
  appendExamples(out, catalog, command.examples);
  appendReferences(out, catalog, names, command.references);
  appendText(out, {u"<h3>", catalogText(catalog, words::SupportedSystems),
                   u"</h3><p class='marleft'>", supportedSystemsText(catalog, command), u"</p>"});

  const NavigationLink previousLink = previous ? commandNames.link(*previous) : NavigationLink{};
  const NavigationLink nextLink = next ? commandNames.link(*next) : NavigationLink{};
  appendNavigationBar(out, previous ? &previousLink : nullptr, commandNames.up(),
                      next ? &nextLink : nullptr);
  return out;
}

}  // namespace thc
