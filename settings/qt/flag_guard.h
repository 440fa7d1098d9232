#pragma once

namespace tarvik {

// Sets a flag for as long as it lives and restores it after, so guarded runs may nest: the
// dialog's loading flag, the skin editor's busy flag.
class FlagGuard {
 public:
  explicit FlagGuard(bool& flag) : flag_(flag), was_(flag) { flag_ = true; }
  ~FlagGuard() { flag_ = was_; }
  FlagGuard(const FlagGuard&) = delete;
  FlagGuard& operator=(const FlagGuard&) = delete;

 private:
  bool& flag_;
  bool was_;
};

}  // namespace tarvik
