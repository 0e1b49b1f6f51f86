// The viewer's loads on a thread of their own: the hit's file is read, cut and converted, the pattern's
// ranges found and the pane's document built away from the window's thread, so the window answers while
// a file of tens of megabytes is prepared. Only the newest request counts: a request not yet begun is
// replaced by a newer one, and the one running is asked to stop.
#pragma once

#include <QFont>
#include <QTextOption>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <stop_token>
#include <string>
#include <thread>
#include <vector>

#include "results/viewer_highlight.h"
#include "results/viewer_text.h"

class QTextDocument;
class QThread;

// One request: what to read and colour, and how the pane sets out its document.
struct ViewerJob {
  uint64_t generation = 0;  // the viewer's count of its requests; the answer carries it back
  std::string nativePath;
  ViewerRequest request;
  std::string pattern;  // code page 932, entities already decoded for the "<HR>" range
  bool ignoreCase = false;
  bool useRegex = false;
  QFont font;               // the pane's document font
  QTextOption option;       // and its text option
  qreal margin = 4;         // and its margin
  QThread* home = nullptr;  // the thread the document is handed to (the pane's)
};

// The answer to a request.
struct ViewerPrepared {
  uint64_t generation = 0;
  bool loaded = false;  // false: the file could not be read; the pane is emptied
  // The first part of a large text, the lines around the top line, shown while the whole is prepared;
  // positions and ranges are the part's own. The whole follows in an answer of its own.
  bool part = false;
  std::string text;     // the shown text, code page 932
  int topLine = 1;      // the line of the shown text scrolled to the top
  int topPosition = 0;  // where that line begins in the document
  std::vector<HighlightRange> highlights;
  std::vector<int> colourPositions;  // the ranges as pane positions, [begin, end) pairs
  std::vector<int> linePositions;    // for the whole file: where each line begins
  FileStamp stamp;
  std::unique_ptr<QTextDocument> document;  // belongs to the job's home thread
  ViewerPrepared();
  ~ViewerPrepared();
};

class ViewerLoader {
 public:
  // Called on the loader's thread with each answer that was not stopped.
  using Deliver = std::function<void(std::unique_ptr<ViewerPrepared>)>;
  explicit ViewerLoader(Deliver deliver);
  // Stops the running request and waits for the thread; documents given to Dispose are deleted.
  ~ViewerLoader();
  ViewerLoader(const ViewerLoader&) = delete;
  ViewerLoader& operator=(const ViewerLoader&) = delete;

  // Replaces a request not yet begun and asks the running one to stop.
  void Start(ViewerJob job);
  // Drops a request not yet begun and asks the running one to stop.
  void Cancel();
  // Deletes a document on the loader's thread: a document of hundreds of thousands of paragraphs takes
  // a while to take apart. Called on the document's thread.
  void Dispose(std::unique_ptr<QTextDocument> document);

 private:
  void Run(std::stop_token stop);

  Deliver deliver_;
  std::mutex mutex_;
  std::condition_variable_any wake_;
  std::optional<ViewerJob> next_;
  std::vector<std::unique_ptr<QTextDocument>> disposals_;
  std::stop_source running_;   // the stop of the request being prepared
  QThread* thread_ = nullptr;  // the loader's thread as the toolkit knows it
  std::jthread worker_;        // last: started when everything above exists
};

// An empty document set out as the pane sets out its own, with the pane's kind of layout.
std::unique_ptr<QTextDocument> NewPaneDocument(const QFont& font, const QTextOption& option, qreal margin);

// Prepares one request (on any thread); nothing when asked to stop first. A large text's first part goes
// to `early` before the whole is prepared.
std::unique_ptr<ViewerPrepared> PrepareViewer(
    const ViewerJob& job, std::stop_token stop,
    const std::function<void(std::unique_ptr<ViewerPrepared>)>& early = {});
