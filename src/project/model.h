// The project data model: the records every stage reads. Plain structs; the
// lists are vectors kept in document order by the readers and reordered only
// by sorting. One ProjectModel is owned by the driver and passed by reference.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "common/text.h"
#include "markup/imagelist.h"
#include "project/doctree.h"
#include "project/sources.h"

namespace thc {

struct Argument {
  std::u16string index;  // as written
  int64_t indexValue = 0;
  std::u16string name;
  std::u16string type;
  std::u16string defaultValue;  // commands only
  std::u16string description;   // markup
  SourceRef source;  // the element it was read from
};

struct Result {
  std::u16string name;  // "Ergebnis" when the element exists without a name
  std::u16string type;
  std::u16string description;  // markup
  bool pointer = false;
};

enum class ReferenceKind : int {
  Library = 0,    // reflibrary
  Constant = 1,   // refconstant
  Command = 2,    // refcommand
  Class = 3,      // refclass
  Structure = 4,  // refstructure
  Macro = 5,      // refmacro
  Member = 6,     // refmember
};

struct Reference {
  std::u16string library;
  std::u16string memberName;
  std::u16string className;
  std::u16string constantName;
  std::u16string structureName;
  ReferenceKind kind = ReferenceKind::Library;
  SourceRef source;  // the element it was read from
};

struct Example {
  std::u16string name;
  std::u16string text;  // markup
  SourceRef source;  // the element it was read from
};

// A command of a library, or a method of a class.
struct Command {
  std::u16string name;
  std::u16string description;  // markup
  Result result;
  std::vector<Argument> args;
  std::vector<Reference> references;
  std::vector<std::u16string> osList;    // markup; the effective list after sorting
  std::vector<std::u16string> noOsList;  // markup
  std::vector<Example> examples;
  std::u16string keywords;
  SourceRef source;  // the element it was read from
  bool deprecated = false;
};

struct StructureElement {
  std::u16string name;
  std::u16string type;
  std::u16string description;  // markup
  std::u16string offset;       // as written
  int64_t offsetValue = 0;
  SourceRef source;  // the element it was read from
};

struct Structure {
  std::u16string name;
  std::u16string description;  // markup
  std::vector<StructureElement> elements;
  std::u16string keywords;
  SourceRef source;  // the element it was read from
  bool deprecated = false;
};

struct Class {
  std::u16string name;
  std::u16string description;  // markup
  std::vector<Command> methods;
  std::u16string keywords;
  SourceRef source;  // the element it was read from
  bool deprecated = false;
};

struct Constant {
  std::u16string name;
  std::u16string description;  // markup
  std::u16string keywords;
  SourceRef source;  // the element it was read from
  bool deprecated = false;
};

struct Macro {
  std::u16string name;
  std::u16string description;  // markup
  std::u16string keywords;
  Result result;
  std::vector<Argument> args;  // never with a default value
  SourceRef source;  // the element it was read from
  bool deprecated = false;
};

struct Library {
  std::vector<Structure> structures;
  std::vector<Class> classes;
  std::vector<Command> commands;
  std::vector<Constant> constants;
  std::vector<Macro> macros;
  std::vector<std::u16string> globalOs;  // markup
  std::u16string keywords;
  std::u16string name;
  std::u16string description;  // markup
  std::u16string history;      // markup
  std::u16string version;      // markup
  SourceRef source;  // the element it was read from
  bool deprecated = false;
};

struct IndexEntry {
  std::u16string title;
  std::u16string page;
  std::u16string keywords;  // ";"-separated
  std::u16string anchor;
};

struct IndexLink {
  std::u16string title;
  std::u16string local;
};

// The keyword index: one list of links per keyword, keys compared exactly.
// Keywords are kept in creation order; the index file writer derives the
// visiting order from the keywords themselves.
struct KeywordMap {
  struct Keyword {
    std::u16string keyword;
    std::vector<IndexLink> links;
  };
  std::vector<Keyword> keywords;  // creation order
  std::unordered_map<std::u16string, size_t, TextHash, std::equal_to<>> positions;  // keyword -> index
};

// The language catalog: lower-cased key -> text. A later definition of a key
// replaces the earlier one.
using Catalog = std::unordered_map<std::u16string, std::u16string, TextHash, std::equal_to<>>;

struct Project {
  std::vector<Library> libraries;
  std::vector<std::unique_ptr<DocTree>> importedDocs;  // keeps them alive
  std::vector<ImageEntry> images;  // as the markup named them, in reading order
  std::u16string lang;
  std::u16string author;       // markup
  std::u16string description;  // markup
  std::u16string license;      // markup
  std::u16string title;
  std::u16string copyright;    // markup
  std::u16string history;      // markup
  std::u16string version;      // markup
  std::u16string catalogSource;
  SourceRef docSource;  // the doc element, when there was one
};

struct ProjectModel {
  std::u16string projectFile;
  std::u16string projectDir;  // ends in the separator
  std::u16string outputDir;   // ends in the separator
  // Set when the project is not trusted: imports and image sources are read
  // only from inside this folder (canonical; "" when the project folder
  // could not be resolved, and then nothing is read).
  std::optional<std::u16string> confinedTo;
  // An import lay outside confinedTo and was skipped: the help lacks it.
  bool importRefused = false;
  Project project;
  // The places the records were read from, for the checks' diagnostics;
  // released once the checks are done.
  SourceMap sources;
  Catalog catalog;
  // An import was missing or defective: the help lacks what it held, so the
  // run does not count as a success.
  bool importFailed = false;
};

}  // namespace thc
