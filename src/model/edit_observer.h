// The seam where an undo history watches the editors. Every user action on an editor model
// (a press, a key, a check box, a list choice, the in-place editors) runs inside an
// EditScope; the observer compares the state before the outermost scope with the state
// after it. An in-place edit (the frequency editor, the signalling dialog) spans several
// actions: the observer keeps its step open until the model reports editBoundary().
#pragma once

#include <string>

namespace qm {

class EditObserver {
 public:
  virtual ~EditObserver() = default;
  // A user action starts; label names it when the model knows better than a comparison.
  virtual void beginEdit(const std::string& label) = 0;
  virtual void endEdit() = 0;
  // An in-place edit just ended: what came before is a step of its own.
  virtual void editBoundary() = 0;
};

class EditScope {
 public:
  explicit EditScope(EditObserver* observer, const std::string& label = {}) : observer_(observer) {
    if (observer_) observer_->beginEdit(label);
  }
  ~EditScope() {
    if (observer_) observer_->endEdit();
  }
  EditScope(const EditScope&) = delete;
  EditScope& operator=(const EditScope&) = delete;

 private:
  EditObserver* observer_;
};

inline void EditBoundary(EditObserver* observer) {
  if (observer) observer->editBoundary();
}

}  // namespace qm
