// Stand-ins for the shell's windows and the message box that answer as the
// test tells them and record what they were asked.
#pragma once

#include <deque>
#include <string>
#include <vector>

#include "platform/shell/DeleteRequest.h"
#include "platform/winapi/MessageBox.h"

namespace testsupport {

class ScriptedPrompts : public shell::ShellPrompts {
 public:
  bool confirm = true;
  std::deque<shell::NoTrashAnswer> noTrashAnswers;  // when empty: No
  std::deque<shell::ErrorAnswer> errorAnswers;      // when empty: Skip
  size_t cancelAfter = SIZE_MAX;                    // Cancelled() once this many paths began

  int confirmations = 0;
  std::vector<std::string> confirmedPaths;
  std::vector<std::string> askedNoTrash;
  std::vector<std::pair<std::string, trash::TrashStatus>> failures;
  size_t progressCalls = 0, lastDone = 0;

  bool ConfirmRecycle(HWND, const std::vector<std::string>& paths) override {
    ++confirmations;
    confirmedPaths = paths;
    return confirm;
  }
  shell::NoTrashAnswer AskDeletePermanently(const std::string& path) override {
    askedNoTrash.push_back(path);
    if (noTrashAnswers.empty()) return shell::NoTrashAnswer::No;
    auto a = noTrashAnswers.front();
    noTrashAnswers.pop_front();
    return a;
  }
  shell::ErrorAnswer OperationFailed(const std::string& path, const trash::TrashResult& why) override {
    failures.emplace_back(path, why.status);
    if (errorAnswers.empty()) return shell::ErrorAnswer::Skip;
    auto a = errorAnswers.front();
    errorAnswers.pop_front();
    return a;
  }
  void Progress(size_t done, size_t, const std::string&) override {
    ++progressCalls;
    lastDone = done;
  }
  bool Cancelled() override { return progressCalls >= cancelAfter; }
};

// Installs a DirectExecutor over `prompts` for the life of the object.
class ScopedExecutor {
 public:
  explicit ScopedExecutor(shell::ShellPrompts& prompts) : executor_(prompts) {
    old_ = shell::SetRequestExecutor(&executor_);
  }
  ~ScopedExecutor() { shell::SetRequestExecutor(old_); }

 private:
  shell::DirectExecutor executor_;
  shell::RequestExecutor* old_;
};

struct ShownMessage {
  HWND owner;
  std::string text, caption;
  UINT type;
};

class RecordingMessageBox : public MessageBoxHandler {
 public:
  RecordingMessageBox() { old_ = SetMessageBoxHandler(this); }
  ~RecordingMessageBox() override { SetMessageBoxHandler(old_); }
  int Show(HWND owner, const std::string& text, const std::string& caption, UINT type) override {
    shown.push_back({owner, text, caption, type});
    return 1;
  }
  std::vector<ShownMessage> shown;

 private:
  MessageBoxHandler* old_;
};

}  // namespace testsupport
