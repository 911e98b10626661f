// One line on a terminal's standard error that says how far the run has read its
// images: a bar, images done of all, the rate and the time left. It is drawn again in
// place, at most ten times a second however fast images come, and cleared when the run
// is done or something else is about to be written there.
#ifndef PRECHECK_APP_PROGRESS_BAR_H_
#define PRECHECK_APP_PROGRESS_BAR_H_

#include <cstddef>
#include <functional>
#include <string>
#include <utility>

#include "common/bilingual.h"

// The line's text, without the returns that place it: own text, GBK or ASCII, whose
// length in bytes is its width on a terminal.
std::string progressText(Language language, std::size_t done, std::size_t all, double seconds);

// A time such as "4 s", "2 min 5 s", "1 h 3 min".
std::string durationText(Language language, double seconds);

class ProgressBar {
 public:
  // Seconds since any fixed moment; a seam for tests.
  using Clock = std::function<double()>;
  // Writes own text to the terminal as it is, line breaks and returns included.
  using Draw = std::function<void(const std::string& text)>;

  ProgressBar(Language language, Draw draw, Clock clock)
      : language_(language), draw_(std::move(draw)), clock_(std::move(clock)) {}

  // `done` of `all` images have been read.
  void update(std::size_t done, std::size_t all);

  // Removes the line, if it is shown; the next update draws it again.
  void clear();

 private:
  static constexpr double kLeastPause = 0.1;  // ten times a second

  const Language language_;
  const Draw draw_;
  const Clock clock_;
  bool started_ = false;
  double start_ = 0;
  bool drawn_ = false;      // drawn at least once
  double lastDrawn_ = 0;
  std::size_t shownWidth_ = 0;  // of the line on the terminal now; 0: none
};

#endif  // PRECHECK_APP_PROGRESS_BAR_H_
