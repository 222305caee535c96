#include "project/release.h"

namespace thc {

namespace {

void forgetNodes(std::vector<Argument>& args) {
  for (Argument& arg : args) arg.node = nullptr;
}

void forgetNodes(Command& command) {
  command.node = nullptr;
  forgetNodes(command.args);
  for (Reference& reference : command.references) reference.node = nullptr;
  for (Example& example : command.examples) example.node = nullptr;
}

void forgetNodes(Library& library) {
  library.node = nullptr;
  for (Class& cls : library.classes) {
    cls.node = nullptr;
    for (Command& method : cls.methods) forgetNodes(method);
  }
  for (Command& command : library.commands) forgetNodes(command);
  for (Constant& constant : library.constants) constant.node = nullptr;
  for (Macro& macro : library.macros) {
    macro.node = nullptr;
    forgetNodes(macro.args);
  }
  for (Structure& structure : library.structures) {
    structure.node = nullptr;
    for (StructureElement& element : structure.elements) element.node = nullptr;
  }
}

}  // namespace

void releaseDocuments(ProjectModel& model, DocTree& mainTree) {
  Project& project = model.project;
  project.docNode = nullptr;
  for (Library& library : project.libraries) forgetNodes(library);
  project.importedDocs.clear();
  mainTree.root = nullptr;
  mainTree.nodes = NodeArena();
}

}  // namespace thc
