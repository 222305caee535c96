#include "project/items.h"

#include "common/text.h"
#include "markup/naming.h"
#include "platform/textcase.h"
#include "project/readtext.h"

namespace thc {

namespace {

bool isElement(const DocNode* node) { return node->kind == NodeKind::Element; }

// The lib attribute trimmed, or the trimmed name of the library being read.
std::u16string defaultLibrary(const ProjectModel& model, const DocNode* element) {
  return valueOrDefault(attribute(element, u"lib"), currentLibraryName(model.project));
}

void readResult(ProjectModel& model, Console& console, const DocNode* element, Result& result) {
  result.description = readMarkup(element, model, console);
  result.name = attribute(element, u"name");
  result.type = attribute(element, u"type");
  result.pointer = attributeIsYes(element, u"pointer");
  // Only a missing or empty name is replaced; a name of blanks stays.
  if (result.name.empty()) result.name = u"Ergebnis";
}

// An arg of a command (with its default) or of a macro (without).
void readArgument(ProjectModel& model, Console& console, const DocNode* element,
                  std::vector<Argument>& args, bool withDefault) {
  Argument& arg = args.emplace_back();
  arg.source = model.sources.refer(element);
  arg.index = attribute(element, u"index");
  arg.indexValue = textToInteger(arg.index);
  arg.name = attribute(element, u"name");
  arg.type = attribute(element, u"type");
  if (withDefault) arg.defaultValue = attribute(element, u"default");
  arg.description = readMarkup(element, model, console);
}

Reference& appendReference(ProjectModel& model, std::vector<Reference>& references,
                           const DocNode* element, ReferenceKind kind) {
  Reference& reference = references.emplace_back();
  reference.source = model.sources.refer(element);
  reference.kind = kind;
  return reference;
}

// The see-also elements of a command; false when the element is none of them.
bool readReference(ProjectModel& model, const DocNode* element,
                   std::vector<Reference>& references) {
  const std::u16string_view name = element->name;
  const std::u16string_view value = attribute(element, u"name");
  if (name == u"reflibrary") {
    appendReference(model, references, element, ReferenceKind::Library).library = value;
  } else if (name == u"refclass") {
    Reference& ref = appendReference(model, references, element, ReferenceKind::Class);
    ref.library = defaultLibrary(model, element);
    ref.className = value;
  } else if (name == u"refcommand") {
    Reference& ref = appendReference(model, references, element, ReferenceKind::Command);
    ref.library = defaultLibrary(model, element);
    ref.memberName = value;
  } else if (name == u"refmacro") {
    Reference& ref = appendReference(model, references, element, ReferenceKind::Macro);
    ref.library = defaultLibrary(model, element);
    ref.memberName = value;
  } else if (name == u"refmember") {
    Reference& ref = appendReference(model, references, element, ReferenceKind::Member);
    ref.library = defaultLibrary(model, element);
    // Without a class attribute the class is the trimmed library name.
    ref.className = valueOrDefault(attribute(element, u"class"), currentLibraryName(model.project));
    ref.memberName = value;
  } else if (name == u"refconstant") {
    Reference& ref = appendReference(model, references, element, ReferenceKind::Constant);
    ref.library = defaultLibrary(model, element);
    ref.constantName = value;
  } else if (name == u"refstructure") {
    Reference& ref = appendReference(model, references, element, ReferenceKind::Structure);
    ref.library = defaultLibrary(model, element);
    ref.structureName = value;
  } else {
    return false;
  }
  return true;
}

}  // namespace

bool attributeIsYes(const DocNode* element, std::u16string_view name) {
  return platform::toLower(trimmedView(attribute(element, name))) == u"yes";
}

void appendKeywords(std::u16string& keywords, const DocNode* element) {
  keywords += u';';
  keywords += element->text;
}

void readConstant(ProjectModel& model, Console& console, const DocNode* first, Constant& constant) {
  for (const DocNode* node = first; node; node = node->nextSibling) {
    if (!isElement(node)) continue;
    if (node->name == u"description") {
      constant.description = readMarkup(node, model, console);
    } else if (node->name == u"keywords") {
      appendKeywords(constant.keywords, node);
    }
  }
}

void readCommand(ProjectModel& model, Console& console, const DocNode* first, Command& command) {
  for (const DocNode* node = first; node; node = node->nextSibling) {
    if (!isElement(node)) continue;
    const std::u16string_view name = node->name;
    if (name == u"description") {
      command.description = readMarkup(node, model, console);
    } else if (name == u"result") {
      readResult(model, console, node, command.result);
    } else if (name == u"os") {
      command.osList.push_back(readMarkup(node, model, console));
    } else if (name == u"noos") {
      command.noOsList.push_back(readMarkup(node, model, console));
    } else if (name == u"example") {
      Example& example = command.examples.emplace_back();
      example.source = model.sources.refer(node);
      example.name = attribute(node, u"name");
      example.text = readMarkup(node, model, console);
    } else if (name == u"keywords") {
      appendKeywords(command.keywords, node);
    } else if (name == u"arg") {
      readArgument(model, console, node, command.args, true);
    } else {
      readReference(model, node, command.references);
    }
  }
}

void readClass(ProjectModel& model, Console& console, const DocNode* first, Class& cls) {
  for (const DocNode* node = first; node; node = node->nextSibling) {
    if (!isElement(node)) continue;
    if (node->name == u"command") {
      readCommand(model, console, node->firstChild, appendItem(cls.methods, node, model.sources));
    } else if (node->name == u"description") {
      cls.description = readMarkup(node, model, console);
    } else if (node->name == u"keywords") {
      appendKeywords(cls.keywords, node);
    }
  }
}

void readStructure(ProjectModel& model, Console& console, const DocNode* first,
                   Structure& structure) {
  for (const DocNode* node = first; node; node = node->nextSibling) {
    if (!isElement(node)) continue;
    if (node->name == u"description") {
      structure.description = readMarkup(node, model, console);
    } else if (node->name == u"element") {
      StructureElement& element = structure.elements.emplace_back();
      element.source = model.sources.refer(node);
      element.description = readMarkup(node, model, console);
      element.name = attribute(node, u"name");
      element.type = attribute(node, u"type");
      element.offset = attribute(node, u"offset");
      element.offsetValue = textToInteger(element.offset);
    } else if (node->name == u"keywords") {
      appendKeywords(structure.keywords, node);
    }
  }
}

void readMacro(ProjectModel& model, Console& console, const DocNode* first, Macro& macro) {
  for (const DocNode* node = first; node; node = node->nextSibling) {
    if (!isElement(node)) continue;
    if (node->name == u"description") {
      macro.description = readMarkup(node, model, console);
    } else if (node->name == u"keywords") {
      appendKeywords(macro.keywords, node);
    } else if (node->name == u"result") {
      readResult(model, console, node, macro.result);
    } else if (node->name == u"arg") {
      // Macro arguments have no default value.
      readArgument(model, console, node, macro.args, false);
    }
  }
}

}  // namespace thc
