// The shell's own windows on the desktop: the confirmation, progress and
// error windows of a delete request, and the message box. While an object
// of this class lives, SHFileOperationA and MessageBoxA use them.
#pragma once

#include <memory>

namespace shell {

class DesktopShell {
 public:
  DesktopShell();
  ~DesktopShell();
  DesktopShell(const DesktopShell&) = delete;
  DesktopShell& operator=(const DesktopShell&) = delete;

  // Runs of the trash this short show no progress window.
  static constexpr int kProgressDelayMs = 500;

 private:
  struct Parts;
  std::unique_ptr<Parts> parts_;
};

}  // namespace shell
