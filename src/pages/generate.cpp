#include "pages/generate.h"

#include <utility>
#include <vector>

#include "helpproject/contents.h"
#include "helpproject/indexfile.h"
#include "helpproject/projectfile.h"
#include "pages/pagebody.h"
#include "pages/pagewriter.h"

namespace thc {

namespace {

// Writes the pages of one run and remembers whether every one succeeded; a
// failing page never stops the walk.
class Generator {
 public:
  Generator(const ProjectModel& model, Console& console, OutputFolder& folder)
      : model_(model), console_(console), folder_(folder), pages_(folder) {}

  // The planned pages in order; each name and title moves into the writer,
  // so the plan holds no more of them than the pages still to come.
  void writePages(OutputPlan& plan) {
    for (PlannedPage& page : plan.pages) {
      std::u16string body = pageBody(model_.project, model_.catalog, plan.names, page);
      pages_.write(std::move(page.file), std::move(page.title), std::move(body));
    }
    std::vector<PlannedPage>().swap(plan.pages);
  }
  void writeHelpProjectFiles(std::vector<IndexEntry> indexEntries);
  GeneratedOutput result() { return GeneratedOutput{succeeded_, std::move(written_)}; }

 private:
  const ProjectModel& model_;
  Console& console_;
  OutputFolder& folder_;
  PageWriter pages_;
  std::vector<std::u16string> written_;
  bool succeeded_ = true;
};

// The contents are built while the last pages are still being written, and
// written after them; the index, as large, only once the contents are freed.
// The project file comes last so that it lists every page written.
void Generator::writeHelpProjectFiles(std::vector<IndexEntry> indexEntries) {
  {
    const std::string contents = contentsBody(model_.project, model_.catalog);
    // Waits for the pages handed over, reports them and lists those written.
    if (!pages_.finish(console_, written_)) succeeded_ = false;
    if (!writeContentsFile(console_, folder_, contents)) succeeded_ = false;
  }
  {
    const std::string index = indexBody(indexEntries, model_.project.lang);
    std::vector<IndexEntry>().swap(indexEntries);
    if (!writeIndexFile(console_, folder_, index)) succeeded_ = false;
  }
  if (!writeTextFile(console_, folder_, u"document.hhp", helpProjectText(model_.project, written_))) succeeded_ = false;
}

}  // namespace

GeneratedOutput generateOutput(const ProjectModel& model, OutputPlan plan, Console& console,
                               OutputFolder& folder) {
  Generator generator(model, console, folder);
  generator.writePages(plan);
  generator.writeHelpProjectFiles(std::move(plan.indexEntries));
  return generator.result();
}

}  // namespace thc
