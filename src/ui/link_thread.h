// The window's radio link on a thread of its own. The core's linear routines (read, write,
// embedded information, port scan, tune mode) run there over a clock that sleeps to its
// deadlines, so their frames and waits depend on nothing the window thread does: a title
// bar held down, a slow paint or a question on the screen. The window thread meanwhile
// paints, shows the progress window and answers the questions the routine asks.
//
// Who owns what:
// - The window thread owns every widget, the document and the editors. While a routine runs
//   it waits in run() and touches none of the routine's data; it only paints, runs timers
//   and answers what the link thread hands it.
// - The link thread owns the serial port while a routine runs and the routine's clock. It
//   reaches the window only through onWindow(): the prompter and every hook of the routine
//   that touches widgets or the document cross there and the link thread waits for them.
// - Progress crosses the other way round without waiting: the bar's updates are queued to
//   the window thread in order, and run() returns only after the last of them was shown.
#pragma once

#include <QObject>
#include <QThread>
#include <functional>
#include <memory>

#include "base/prompter.h"
#include "radio/clock.h"
#include "radio/progress.h"

namespace qm::ui {

// A widget with this property set to true takes the user's input while a command runs
// (the progress window's Cancel); every other widget's is dropped.
inline constexpr const char* kTakesInputDuringLink = "qmTakesInputDuringLink";

class LinkThread : public QObject {
 public:
  // `windowPrompter` and `windowProgress` are the window's, used on the window thread.
  LinkThread(Prompter& windowPrompter, Progress& windowProgress, QObject* parent = nullptr);
  ~LinkThread() override;
  LinkThread(const LinkThread&) = delete;
  LinkThread& operator=(const LinkThread&) = delete;

  // The seams a routine runs over. Each may be used from either thread: on the window
  // thread they act at once.
  Prompter& prompter() { return *prompter_; }
  Progress& progress() { return *progress_; }
  Clock& clock() { return *clock_; }

  // How the window treats the user's input while a job runs.
  enum class Input {
    Dropped,  // dropped at once, except by the widgets marked kTakesInputDuringLink
    Held,     // held back until the job ends (a drag of the tune scroll bar goes on)
  };
  // Runs `job` on the link thread and returns when it has ended (rethrowing what it threw).
  // Meanwhile the window thread paints, runs timers and answers the job's crossings (a box
  // asked for takes input as usual). Called on the link thread, or from a crossing of it,
  // `job` runs at once: the link thread is the one waiting then.
  void run(const std::function<void()>& job, Input input = Input::Dropped);
  // Runs `fn` on the window thread and waits for it (at once when called there).
  void onWindow(const std::function<void()>& fn);

  bool onLinkThread() const { return QThread::currentThread() == thread_.get(); }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  std::unique_ptr<QThread> thread_;
  QObject* worker_ = nullptr;  // lives on thread_; the jobs are queued to it
  std::unique_ptr<Clock> clock_;
  std::unique_ptr<Prompter> prompter_;
  std::unique_ptr<Progress> progress_;
  int crossings_ = 0;  // onWindow() calls being run on the window thread now
};

// Drops the mouse and key events that were held back while a command ran: a click made
// during a read must not start something once the read is over.
void DiscardHeldInput();

}  // namespace qm::ui
