// An owned file descriptor, closed when it goes out of scope.
#pragma once

#include <unistd.h>

#include <utility>

namespace trash {

class UniqueFd {
 public:
  UniqueFd() = default;
  explicit UniqueFd(int fd) : fd_(fd) {}
  UniqueFd(UniqueFd&& other) noexcept : fd_(std::exchange(other.fd_, -1)) {}
  UniqueFd& operator=(UniqueFd&& other) noexcept {
    if (this != &other) {
      close();
      fd_ = std::exchange(other.fd_, -1);
    }
    return *this;
  }
  ~UniqueFd() { close(); }

  int get() const { return fd_; }
  explicit operator bool() const { return fd_ >= 0; }

  // Gives the descriptor up without closing it.
  int release() { return std::exchange(fd_, -1); }

  // Returns close()'s result so that a failed flush can be reported.
  int close() {
    if (fd_ < 0) return 0;
    return ::close(std::exchange(fd_, -1));
  }

 private:
  int fd_ = -1;
};

}  // namespace trash
