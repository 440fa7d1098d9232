#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace tarvik {

// A new file text as the pieces it is made of: stretches of the old text with the new bytes
// between them. A huge file is then written out without a second copy of it in memory. The
// pieces point into texts owned elsewhere, which must outlive them.
class TextPieces {
 public:
  void add(std::string_view piece) {
    if (piece.empty()) return;
    pieces_.push_back(piece);
    size_ += piece.size();
  }

  std::size_t size() const { return size_; }
  bool empty() const { return size_ == 0; }
  char back() const { return pieces_.back().back(); }
  const std::vector<std::string_view>& pieces() const { return pieces_; }

  std::string joined() const {
    std::string text;
    text.reserve(size_);
    for (const std::string_view piece : pieces_) text += piece;
    return text;
  }

 private:
  std::vector<std::string_view> pieces_;
  std::size_t size_ = 0;
};

}  // namespace tarvik
