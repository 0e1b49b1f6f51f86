#include "results/viewer_loader_qt.h"

#include <QPlainTextDocumentLayout>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QThread>
#include <future>
#include <new>

#include "results/viewer_pane.h"
#include "results/viewer_settings.h"

namespace {

// The text goes into the document this many units at a time (cut after a paragraph break where there is
// one), with a look at the stop between: a document of a 40 MB file takes most of a second to build.
constexpr size_t kInsertStep = 1 << 20;

// The pane's document of `text`, set out as the pane sets out its own; nothing when asked to stop.
std::unique_ptr<QTextDocument> BuildDocument(const std::u16string& text, const ViewerJob& job,
                                             std::stop_token stop) {
  auto document = NewPaneDocument(job.font, job.option, job.margin);
  QTextCursor cursor(document.get());
  for (size_t from = 0; from < text.size();) {
    if (stop.stop_requested()) return nullptr;
    size_t to = std::min(text.size(), from + kInsertStep);
    if (to < text.size()) {
      const size_t brk = text.rfind(u'\n', to - 1);
      if (brk != std::u16string::npos && brk >= from) to = brk + 1;
    }
    cursor.insertText(
        QString(reinterpret_cast<const QChar*>(text.data() + from), static_cast<qsizetype>(to - from)));
    from = to;
  }
  // Every paragraph gets its layout object here: the pane makes those it lacks, all of them, on the
  // window's thread when it takes the document (a tenth of a second for a large file).
  for (QTextBlock block = document->begin(); block.isValid(); block = block.next()) block.layout();
  return document;
}

}  // namespace

std::unique_ptr<QTextDocument> NewPaneDocument(const QFont& font, const QTextOption& option, qreal margin) {
  auto document = std::make_unique<QTextDocument>();
  document->setUndoRedoEnabled(false);
  document->setDefaultFont(font);
  document->setDefaultTextOption(option);
  document->setDocumentMargin(margin);
  document->setDocumentLayout(new QPlainTextDocumentLayout(document.get()));
  return document;
}

ViewerPrepared::ViewerPrepared() = default;
ViewerPrepared::~ViewerPrepared() = default;

// A file above this many bytes is shown first in part, the lines around the top line, which come in a
// fraction of the time the whole takes.
constexpr size_t kFirstPartAbove = size_t{1} << 20;

// The first part of a large file shown whole or in its "<HR>" range: the lines around the hit within the
// range (the whole text's lines exactly; for JIS text as far as each line starts in ASCII, as the code
// asks), coloured and made into a document of their own. Nothing when asked to stop.
std::unique_ptr<ViewerPrepared> PrepareFirstPart(const ViewerJob& job, std::string_view bytes,
                                                 std::stop_token stop) {
  ViewerRequest request = job.request;
  request.partBefore = 100;
  request.partAfter = 400;
  const ViewerText lines = MakeViewerText(bytes, request);
  auto part = std::make_unique<ViewerPrepared>();
  part->generation = job.generation;
  part->loaded = true;
  part->part = true;
  part->text = lines.text;
  part->topLine = job.request.line;
  part->highlights = job.useRegex ? RegexHighlights(part->text, job.pattern, job.ignoreCase, stop)
                                  : PlainHighlights(part->text, job.pattern, job.ignoreCase);
  part->colourPositions = PanePositions(part->text, part->highlights);
  const PaneText pane = MakePaneText(part->text, lines.topLine);
  part->topPosition = pane.topPosition;
  part->document = BuildDocument(pane.text, job, stop);
  if (!part->document) return nullptr;
  part->document->moveToThread(job.home);
  return part;
}

std::unique_ptr<ViewerPrepared> PrepareViewer(
    const ViewerJob& job, std::stop_token stop,
    const std::function<void(std::unique_ptr<ViewerPrepared>)>& early) {
  const ViewerFile file = ReadViewerFile(job.nativePath);
  if (stop.stop_requested()) return nullptr;
  auto prepared = std::make_unique<ViewerPrepared>();
  prepared->generation = job.generation;
  if (!file.data) return prepared;
  const bool whole = job.request.range == VIEWER_ALL;
  if (early && job.request.range != VIEWER_LINES && file.size > kFirstPartAbove) {
    if (auto part = PrepareFirstPart(job, file.Bytes(), stop)) early(std::move(part));
  }
  ViewerText text = MakeViewerText(file.Bytes(), job.request);
  if (stop.stop_requested()) return nullptr;
  if (!text.loaded) return prepared;
  prepared->loaded = true;
  prepared->text = std::move(text.text);
  prepared->stamp = file.stamp;
  prepared->topLine = whole ? job.request.line : text.topLine;
  const std::string& shown = prepared->text;
  // The coloured ranges and their pane positions are found beside the building of the document, which
  // is most of the time of a large file; both only read the shown text.
  std::future<void> colours = std::async(std::launch::async, [&] {
    prepared->highlights = job.useRegex ? RegexHighlights(shown, job.pattern, job.ignoreCase, stop)
                                        : PlainHighlights(shown, job.pattern, job.ignoreCase);
    prepared->colourPositions = PanePositions(shown, prepared->highlights);
  });
  PaneText pane = MakePaneText(shown, prepared->topLine, whole);
  prepared->topPosition = pane.topPosition;
  prepared->linePositions = std::move(pane.linePositions);
  prepared->document = BuildDocument(pane.text, job, stop);
  colours.wait();
  if (!prepared->document) return nullptr;
  prepared->document->moveToThread(job.home);
  return prepared;
}

ViewerLoader::ViewerLoader(Deliver deliver) : deliver_(std::move(deliver)) {
  std::promise<QThread*> started;
  std::future<QThread*> thread = started.get_future();
  worker_ = std::jthread([this, &started](std::stop_token stop) {
    started.set_value(QThread::currentThread());
    Run(stop);
  });
  thread_ = thread.get();
}

ViewerLoader::~ViewerLoader() {
  {
    std::lock_guard lock(mutex_);
    next_.reset();
    running_.request_stop();
  }
  worker_.request_stop();
  worker_.join();
}

void ViewerLoader::Start(ViewerJob job) {
  std::lock_guard lock(mutex_);
  next_ = std::move(job);
  running_.request_stop();
  wake_.notify_one();
}

void ViewerLoader::Cancel() {
  std::lock_guard lock(mutex_);
  next_.reset();
  running_.request_stop();
}

void ViewerLoader::Dispose(std::unique_ptr<QTextDocument> document) {
  if (!document) return;
  document->setParent(nullptr);
  document->moveToThread(thread_);
  std::lock_guard lock(mutex_);
  disposals_.push_back(std::move(document));
  wake_.notify_one();
}

void ViewerLoader::Run(std::stop_token stop) {
  for (;;) {
    ViewerJob job;
    std::vector<std::unique_ptr<QTextDocument>> disposals;
    std::stop_token jobStop;
    {
      std::unique_lock lock(mutex_);
      wake_.wait(lock, stop, [this] { return next_.has_value() || !disposals_.empty(); });
      disposals.swap(disposals_);
      if (next_) {
        job = std::move(*next_);
        next_.reset();
        running_ = std::stop_source();
        jobStop = running_.get_token();
      }
    }
    disposals.clear();
    if (stop.stop_requested()) break;
    if (!jobStop.stop_possible()) continue;
    std::unique_ptr<ViewerPrepared> prepared;
    try {
      prepared = PrepareViewer(job, jobStop, deliver_);
    } catch (const std::bad_alloc&) {
      // A file too large for the memory there is: the pane is emptied, as for a file that cannot be read.
      prepared = std::make_unique<ViewerPrepared>();
      prepared->generation = job.generation;
    }
    if (prepared) deliver_(std::move(prepared));
  }
  std::lock_guard lock(mutex_);
  disposals_.clear();
}
