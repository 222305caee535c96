#include "project/release.h"

namespace thc {

void finishReading(ProjectModel& model, DocTree& mainTree) {
  for (const std::unique_ptr<DocTree>& imported : model.project.importedDocs) {
    model.sources.keepNames(*imported);
  }
  model.project.importedDocs.clear();
  model.sources.keepNames(mainTree);
  mainTree.root = nullptr;
  mainTree.nodes = NodeArena();
  mainTree.texts.clear();
  mainTree.attributes.clear();
}

}  // namespace thc
