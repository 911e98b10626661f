#include "scan/ignore_pattern.h"

#include <cstddef>
#include <vector>

namespace {

enum class Token { literal, one, star, globStar, folders };

struct Part {
  Token token;
  char c = '\0';  // for a literal
};

std::vector<Part> partsOf(std::string_view pattern) {
  std::vector<Part> parts;
  for (std::size_t i = 0; i < pattern.size(); ++i) {
    const char c = pattern[i];
    if (c == '?') {
      parts.push_back({Token::one});
    } else if (c != '*') {
      parts.push_back({Token::literal, c});
    } else if (i + 1 < pattern.size() && pattern[i + 1] == '*') {
      std::size_t stars = 2;  // "***" is "**"
      while (i + stars < pattern.size() && pattern[i + stars] == '*') ++stars;
      const bool startsAPart = i == 0 || pattern[i - 1] == '/';
      const bool endsAPart = i + stars < pattern.size() && pattern[i + stars] == '/';
      if (startsAPart && endsAPart) {
        parts.push_back({Token::folders});
        i += stars;  // the "/" too
      } else {
        parts.push_back({Token::globStar});
        i += stars - 1;
      }
    } else {
      parts.push_back({Token::star});
    }
  }
  return parts;
}

}  // namespace

bool matchesIgnorePattern(std::string_view pattern, std::string_view path) {
  const std::vector<Part> parts = partsOf(pattern);
  const std::size_t n = path.size();
  // matches[j]: the parts from the current one on match path[j..]; one row at a time,
  // from the last part back.
  std::vector<char> next(n + 1, 0);
  next[n] = 1;
  std::vector<char> row(n + 1, 0);
  for (std::size_t p = parts.size(); p-- > 0;) {
    const Part& part = parts[p];
    // For "**/": some run from j that ends with "/" is followed by a match of the rest.
    bool folderThenRest = false;
    for (std::size_t j = n + 1; j-- > 0;) {
      bool match = false;
      switch (part.token) {
        case Token::literal:
          match = j < n && path[j] == part.c && next[j + 1];
          break;
        case Token::one:
          match = j < n && path[j] != '/' && next[j + 1];
          break;
        case Token::star:  // nothing more, or one more character but "/"
          match = next[j] || (j < n && path[j] != '/' && row[j + 1]);
          break;
        case Token::globStar:
          match = next[j] || (j < n && row[j + 1]);
          break;
        case Token::folders:
          folderThenRest = folderThenRest || (j < n && path[j] == '/' && next[j + 1]);
          match = next[j] || folderThenRest;
          break;
      }
      row[j] = match ? 1 : 0;
    }
    next.swap(row);
  }
  return next[0] != 0;
}
