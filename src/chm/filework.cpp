#include "chm/filework.h"

#include "chm/pagelinks.h"
#include "chm/sitemapcheck.h"

namespace thc::chm {

FileWorker::FileWorker(const FileWorkSettings& settings)
    : settings_(settings), pages_(settings.codePage), words_(settings.codePage) {}

ReadFile FileWorker::read(FileJob& job) {
  ReadFile result{std::move(job.file), std::nullopt, std::move(job.why), true, {}, {}, {}};
  if (!job.input) return result;
  result.bytes = job.input->readAll();
  job.input.reset();  // closed as soon as read: thousands may follow
  if (!result.bytes) {
    result.why = u"cannot be read";
    return result;
  }
  const SourceFile& file = result.file;
  if (file.linkedFrom.empty() && (file.path == settings_.contentsFile || file.path == settings_.indexFile)) {
    result.listsClose = listsClose(*result.bytes);
  }
  if (file.topic) {
    readPage(result);
  } else if (file.styleSheet) {
    result.linked = styleSheetFiles(*result.bytes, file.path);
  }
  return result;
}

void FileWorker::readPage(ReadFile& file) {
  const PageText page = pages_.read(*file.bytes);
  if (settings_.search) file.words = words_.wordsOf(page);
  file.title = page.title;
  file.linked = linkedFiles(*file.bytes, file.file.path);
}

}  // namespace thc::chm
