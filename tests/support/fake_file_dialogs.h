// Scripted open and save dialogs for tests: record every request, answer from a queue
// (an empty queue cancels).
#pragma once

#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "base/file_dialogs.h"

namespace qm::test {

class FakeFileDialogs : public FileDialogs {
 public:
  FakeFileDialogs& choose(std::string path) {
    answers_.push_back(std::move(path));
    return *this;
  }
  FakeFileDialogs& cancel() {
    answers_.push_back(std::nullopt);
    return *this;
  }

  std::optional<std::string> openFile(const FileDialogRequest& request) override {
    opened.push_back(request);
    return next();
  }
  std::optional<std::string> saveFile(const FileDialogRequest& request) override {
    saved.push_back(request);
    return next();
  }

  std::vector<FileDialogRequest> opened;
  std::vector<FileDialogRequest> saved;

 private:
  std::optional<std::string> next() {
    if (answers_.empty()) return std::nullopt;
    auto a = answers_.front();
    answers_.pop_front();
    return a;
  }
  std::deque<std::optional<std::string>> answers_;
};

}  // namespace qm::test
