#include "ui/link_thread.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QEvent>
#include <QEventLoop>
#include <QVariant>
#include <exception>

#include "platform/sleep_clock.h"

namespace qm::ui {

namespace {

// The window's prompter as the link thread reaches it: each question waits for the user on
// the window thread, and only the link thread waits meanwhile.
class CrossingPrompter : public Prompter {
 public:
  CrossingPrompter(LinkThread& link, Prompter& target) : link_(link), target_(target) {}
  Answer ask(const Message& message) override {
    Answer answer = Answer::Ok;
    link_.onWindow([&] { answer = target_.ask(message); });
    return answer;
  }
  WarningAnswer warn(int selIndex, const std::string& text) override {
    WarningAnswer answer;
    link_.onWindow([&] { answer = target_.warn(selIndex, text); });
    return answer;
  }

 private:
  LinkThread& link_;
  Prompter& target_;
};

// The progress window as the link thread drives it: every change is queued to the window
// thread, in order, and the routine goes on without waiting for the paint.
class CrossingProgress : public Progress {
 public:
  CrossingProgress(LinkThread& link, Progress& target) : link_(link), target_(target) {}
  // The window's Cancel button sets the window's flag.
  bool cancelRequested() const override { return target_.cancelRequested(); }

 protected:
  void onOpen() override {
    post([this, c = caption(), t = title(), m = maximum(), x = cancellable()] {
      target_.open(c, t, m, x);
    });
  }
  void onChange(int position) override {
    post([this, position] { target_.show(position); });
  }
  void onClose() override {
    post([this] { target_.close(); });
  }

 private:
  void post(std::function<void()> fn) {
    if (link_.onLinkThread()) {
      QMetaObject::invokeMethod(&link_, std::move(fn), Qt::QueuedConnection);
    } else {
      fn();
    }
  }
  LinkThread& link_;
  Progress& target_;
};

}  // namespace

LinkThread::LinkThread(Prompter& windowPrompter, Progress& windowProgress, QObject* parent)
    : QObject(parent),
      thread_(std::make_unique<QThread>()),
      prompter_(std::make_unique<CrossingPrompter>(*this, windowPrompter)),
      progress_(std::make_unique<CrossingProgress>(*this, windowProgress)) {
  thread_->setObjectName("radio link");
  worker_ = new QObject;
  worker_->moveToThread(thread_.get());
  connect(thread_.get(), &QThread::finished, worker_, &QObject::deleteLater);
  thread_->start();
  // The clock is made on the thread that sleeps on it: what it sets up for precise sleeps
  // (the timer slack on Linux) belongs to the calling thread.
  QMetaObject::invokeMethod(
      worker_, [this] { clock_ = std::make_unique<SleepClock>(); }, Qt::BlockingQueuedConnection);
}

LinkThread::~LinkThread() {
  thread_->quit();
  // A routine stuck in the system (a port whose open does not return) must not keep the
  // program from ending: after a while the thread is left to the end of the process.
  if (!thread_->wait(QDeadlineTimer(3000))) {
    (void)thread_.release();
    (void)clock_.release();
  }
}

namespace {

bool IsUserInput(QEvent::Type type) {
  switch (type) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
    case QEvent::Wheel:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::Shortcut:
    case QEvent::ShortcutOverride:
    case QEvent::ContextMenu:
    case QEvent::DragEnter:
    case QEvent::DragMove:
    case QEvent::Drop:
    case QEvent::TouchBegin:
    case QEvent::TouchUpdate:
    case QEvent::TouchEnd:
      return true;
    default:
      return false;
  }
}

bool TakesInputDuringLink(QObject* o) {
  for (; o != nullptr; o = o->parent()) {
    if (o->property(kTakesInputDuringLink).toBool()) return true;
  }
  return false;
}

}  // namespace

bool LinkThread::eventFilter(QObject* watched, QEvent* event) {
  // A box a job asked for is answered as usual.
  if (crossings_ > 0 || !IsUserInput(event->type())) return false;
  return !TakesInputDuringLink(watched);
}

void LinkThread::run(const std::function<void()>& job, Input input) {
  if (onLinkThread() || crossings_ > 0) {
    job();
    return;
  }
  QEventLoop loop;
  bool done = false;
  std::exception_ptr error;
  QMetaObject::invokeMethod(
      worker_,
      [&] {
        try {
          job();
        } catch (...) {
          error = std::current_exception();
        }
        // Queued behind the progress updates the job made, so they are all shown first.
        QMetaObject::invokeMethod(
            this,
            [&] {
              done = true;
              loop.quit();
            },
            Qt::QueuedConnection);
      },
      Qt::QueuedConnection);
  const bool gate = input == Input::Dropped;
  if (gate) QCoreApplication::instance()->installEventFilter(this);
  // An application quit ends every event loop; the routine still runs, so the wait goes on.
  while (!done) {
    loop.exec(gate ? QEventLoop::AllEvents : QEventLoop::ExcludeUserInputEvents);
  }
  if (gate) QCoreApplication::instance()->removeEventFilter(this);
  if (error) std::rethrow_exception(error);
}

void LinkThread::onWindow(const std::function<void()>& fn) {
  if (!onLinkThread()) {
    fn();
    return;
  }
  std::exception_ptr error;
  QMetaObject::invokeMethod(
      this,
      [&] {
        ++crossings_;
        try {
          fn();
        } catch (...) {
          error = std::current_exception();
        }
        --crossings_;
      },
      Qt::BlockingQueuedConnection);
  if (error) std::rethrow_exception(error);
}

namespace {

class InputSwallower : public QObject {
 protected:
  bool eventFilter(QObject*, QEvent* event) override { return IsUserInput(event->type()); }
};

}  // namespace

void DiscardHeldInput() {
  InputSwallower swallow;
  QCoreApplication::instance()->installEventFilter(&swallow);
  QCoreApplication::processEvents(QEventLoop::AllEvents);
  QCoreApplication::instance()->removeEventFilter(&swallow);
}

}  // namespace qm::ui
