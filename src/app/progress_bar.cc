#include "app/progress_bar.h"

#include <cmath>
#include <cstdio>

#include "app/people_texts.h"

namespace {

// Short enough that the whole line fits 80 columns with the largest numbers.
constexpr std::size_t kBarCells = 10;
constexpr double kLongestTimeLeft = 96 * 3600;

std::string whole(double value) { return std::to_string(static_cast<unsigned long long>(value)); }

// Whole images a second, or tenths when fewer than ten come a second.
std::string rateText(double rate) {
  if (rate >= 10) return whole(rate);
  char text[16];
  std::snprintf(text, sizeof text, "%.1f", rate);
  return text;
}

}  // namespace

std::string durationText(Language language, double seconds) {
  const double rounded = std::ceil(seconds < 0 ? 0 : seconds);
  if (rounded < 60) return fill(textIn(texts::kSeconds, language), {whole(rounded)});
  if (rounded < 3600) {
    return fill(textIn(texts::kMinutes, language),
                {whole(rounded / 60), whole(std::fmod(rounded, 60))});
  }
  return fill(textIn(texts::kHours, language),
              {whole(rounded / 3600), whole(std::fmod(rounded, 3600) / 60)});
}

std::string progressText(Language language, std::size_t done, std::size_t all, double seconds) {
  const std::size_t cells = all == 0 ? kBarCells : done * kBarCells / all;
  std::string text = "[" + std::string(cells, '#') + std::string(kBarCells - cells, '-') + "] ";
  text += counted(texts::kImagesDone, language, done, all);
  // The first second says too little about the rate to promise a time.
  if (seconds >= 1 && done > 0) {
    const double rate = static_cast<double>(done) / seconds;
    text += fill(textIn(texts::kRate, language), {rateText(rate)});
    // Past four days a time left says nothing but "slow", which the rate says.
    const double left = static_cast<double>(all - done) / rate;
    if (done < all && left < kLongestTimeLeft) {
      text += fill(textIn(texts::kTimeLeft, language), {durationText(language, left)});
    }
  }
  return text;
}

void ProgressBar::update(std::size_t done, std::size_t all) {
  const double now = clock_();
  if (!started_) {
    started_ = true;
    start_ = now;
  }
  if (drawn_ && now - lastDrawn_ < kLeastPause) return;
  const std::string text = progressText(language_, done, all, now - start_);
  // Blanks cover what is left of a longer line before.
  const std::size_t blanks = shownWidth_ > text.size() ? shownWidth_ - text.size() : 0;
  draw_("\r" + text + std::string(blanks, ' '));
  drawn_ = true;
  lastDrawn_ = now;
  shownWidth_ = text.size() + blanks;
}

void ProgressBar::clear() {
  if (shownWidth_ == 0) return;
  draw_("\r" + std::string(shownWidth_, ' ') + "\r");
  shownWidth_ = 0;
}
