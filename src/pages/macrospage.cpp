#include "pages/macrospage.h"

#include "catalog/catalog.h"
#include "markup/naming.h"
#include "pages/pagetext.h"

namespace thc {

namespace {

std::u16string resultText(const Result& result) {
  return typedName(result.name, result.type, result.pointer);
}

std::u16string argumentText(const Argument& argument) {
  return typedName(argument.name, argument.type, false);
}

// The separator before an argument follows its numeric index, not its place.
void appendSyntaxLine(std::u16string& out, const Macro& macro) {
  if (!macro.result.name.empty()) appendText(out, {resultText(macro.result), u" = "});
  appendText(out, {u"<b>", macro.name, u"</b>"});
  if (!macro.args.empty()) {
    out += u"(";
    for (const Argument& argument : macro.args) {
      appendText(out, {argument.indexValue > 1 ? u", " : u"", argumentText(argument)});
    }
    out += u")<br />";
  }
  out += u"</p>";
}

void appendResult(std::u16string& out, const Catalog& catalog, const Result& result) {
  if (result.name.empty()) return;
  const std::u16string resultWord = catalogText(catalog, words::ResultWord);
  appendText(out, {u"<h3>", resultWord, u"</h3><table class='marleft'><tr><th>", resultWord,
                   u"</th><th>", catalogText(catalog, words::Description),
                   u"</th></tr><tr><td class='padright syntax'>", resultText(result),
                   u"</td><td>", result.description, u"</td></tr></table>"});
}

void appendParameters(std::u16string& out, const Catalog& catalog,
                      const std::vector<Argument>& args) {
  if (args.empty()) return;
  appendText(out, {u"<h3>", catalogText(catalog, words::Parameters),
                   u"</h3><table class='marleft'><tr><th>", catalogText(catalog, words::Parameter),
                   u"</th><th>", catalogText(catalog, words::Description), u"</th></tr>"});
  for (const Argument& argument : args) {
    appendText(out, {u"<tr><td class='padright syntax'>", argumentText(argument), u"</td><td>",
                     argument.description, u"</td></tr>"});
  }
  out += u"</table>";
}

void appendMacro(std::u16string& out, const Catalog& catalog, const Macro& macro) {
  appendText(out, {u"<hr /><h3>", catalogText(catalog, words::Syntax)});
  appendDeprecatedMark(out, catalog, macro.deprecated);
  appendText(out, {u"</h3><a name='", macro.name, u"'></a><p class='syntax marleft'>"});
  appendSyntaxLine(out, macro);
  if (!macro.description.empty()) {
    appendText(out, {u"<h3>", catalogText(catalog, words::Description),
                     u"</h3><div class='marleft'>", macro.description, u"</div>"});
  }
  appendResult(out, catalog, macro.result);
  appendParameters(out, catalog, macro.args);
}

}  // namespace

std::u16string macrosPageBody(const Catalog& catalog, const Library& library) {
  std::u16string out;
  appendText(out, {u"<h2>", catalogText(catalog, words::Macros), u"</h2>"});
  for (const Macro& macro : library.macros) appendMacro(out, catalog, macro);
  return out;
}

}  // namespace thc
