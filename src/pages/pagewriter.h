// Writing the pages of one run on a second thread: creating and writing a
// file is mostly the kernel's work, and while it is done for one page the
// next page's body is built. The pages are written one after the other in
// the order they are handed over, and finish() reports them in that order,
// so the console lines and the list of pages written come out exactly as if each
// page had been written at once.
#pragma once

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "base/console.h"
#include "common/output.h"

namespace thc {

class PageWriter {
 public:
  explicit PageWriter(OutputFolder& folder);
  ~PageWriter();
  PageWriter(const PageWriter&) = delete;
  PageWriter& operator=(const PageWriter&) = delete;

  // Hands one page over. Waits while the pages not yet written hold more than
  // a few megabytes, so memory stays bounded however fast the bodies come.
  void write(std::u16string file, std::u16string title, std::u16string body);

  // Waits until every page is written, then prints "Unable to create " /
  // "Unable to write " + the path of each page that was not written
  // completely and appends the others to `written`, all in the order the
  // pages were handed over. True when every page was written.
  bool finish(Console& console, std::vector<std::u16string>& written);

 private:
  struct Page {
    std::u16string file;
    std::u16string title;
    std::u16string body;
  };

  WriteOutcome writeOne(const Page& page) const;
  void run();
  void stop();

  OutputFolder& folder_;
  std::vector<std::u16string> files_;     // every page handed over, in order
  std::vector<WriteOutcome> outcomes_;    // of the pages written, in order

  std::mutex mutex_;
  std::condition_variable pageQueued_;
  std::condition_variable pageTaken_;
  std::deque<Page> queue_;
  size_t queuedUnits_ = 0;
  bool closing_ = false;
  bool writerWaiting_ = false;   // for pages
  bool builderWaiting_ = false;  // for room in the queue
  std::thread worker_;  // not started when no thread could be made
};

}  // namespace thc
