// A line for people, built piece by piece: the program's own texts made on the way are
// kept here as long as the line, so that its pieces can point into them.
#ifndef PRECHECK_APP_PEOPLE_LINE_H_
#define PRECHECK_APP_PEOPLE_LINE_H_

#include <cstddef>
#include <deque>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "common/console.h"

class PeopleLine {
 public:
  PeopleLine& own(std::string text, Tint tint = Tint::none) {
    kept_.push_back(std::move(text));
    pieces_.push_back(tinted(::own(kept_.back()), tint));
    width_ += kept_.back().size();
    return *this;
  }
  // Bytes that live longer than the line.
  PeopleLine& outside(std::string_view bytes, Tint tint = Tint::none) {
    pieces_.push_back(tinted(::outside(bytes), tint));
    width_ += bytes.size();
    return *this;
  }
  // Blanks up to `column`, at least one; own texts are GBK or ASCII, whose bytes are
  // as wide as their characters on a terminal.
  PeopleLine& padTo(std::size_t column) {
    return own(std::string(width_ < column ? column - width_ : 1, ' '));
  }
  void writeTo(Console& console) const { console.writeLine(pieces_); }

 private:
  std::deque<std::string> kept_;  // a deque keeps its strings where they are
  std::vector<Piece> pieces_;
  std::size_t width_ = 0;
};

#endif  // PRECHECK_APP_PEOPLE_LINE_H_
