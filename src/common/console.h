// The console transcript. Callers read it live, so it is never held back while the
// run waits (for the file system, for a record) or before anything on standard error;
// in between, a pipeline's console gathers lines in the stream's buffer, as a system
// call for each line cost a run of small files a quarter of its time. A line is made
// of pieces: the program's own texts, and bytes that come from outside it (file
// names, camera makes, configuration values, arguments), so that a console for people
// can show each kind as it must be shown, while the console of a pipeline writes the
// bytes as they are.
#ifndef PRECHECK_COMMON_CONSOLE_H_
#define PRECHECK_COMMON_CONSOLE_H_

#include <cstddef>
#include <functional>
#include <initializer_list>
#include <string_view>
#include <vector>

// A colour for people: the verdict, and the names of offending images. A console that
// shows no colour ignores it.
enum class Tint : unsigned char { none, good, bad };

struct Piece {
  std::string_view bytes;
  bool fromOutside = false;
  Tint tint = Tint::none;
};

// The program's own text: GBK bytes, digits and ASCII.
inline Piece own(std::string_view text) { return Piece{text, false}; }
// Bytes from outside the program, kept as they came.
inline Piece outside(std::string_view bytes) { return Piece{bytes, true}; }

inline Piece tinted(Piece piece, Tint tint) {
  piece.tint = tint;
  return piece;
}

// Bytes from outside too long to hold at once: `produce` hands them over in pieces, in
// order, each to `take`.
using LongText = std::function<void(const std::function<void(std::string_view)>& take)>;

class Console {
 public:
  virtual ~Console() = default;
  void writeLine(std::initializer_list<Piece> pieces) { write(pieces.begin(), pieces.size()); }
  // For a line whose number of pieces is known only at run time.
  void writeLine(const std::vector<Piece>& pieces) { write(pieces.data(), pieces.size()); }
  // A line of bytes from outside, such as a camera make as long as its file.
  void writeLongLine(const LongText& text) { writeLong(text); }
  // Writes out what the console holds: before the run waits, or works long without a
  // word.
  virtual void flush() {}

 private:
  virtual void write(const Piece* pieces, std::size_t count) = 0;
  // Gathers the text into one line; a console that can do better streams it.
  virtual void writeLong(const LongText& text);
};

// Standard output, byte for byte.
class PlainConsole final : public Console {
 public:
  void flush() override;

 private:
  void write(const Piece* pieces, std::size_t count) override;
  void writeLong(const LongText& text) override;
};

// Nothing at all: for a transcript that people at a terminal are shown otherwise.
class SilentConsole final : public Console {
 private:
  void write(const Piece*, std::size_t) override {}
  void writeLong(const LongText&) override {}
};

// Gives standard output a buffer of its own for lines that a console gathers; before
// anything is written there.
void bufferStandardOutput();

// Writes out what standard output holds, then one line on standard error, so that
// both read in order when they go to one place.
void printErrorLine(const char* format, ...)
#if defined(__GNUC__) && !defined(_WIN32)  // MinGW checks against another printf
    __attribute__((format(printf, 1, 2)))
#endif
    ;

#endif  // PRECHECK_COMMON_CONSOLE_H_
