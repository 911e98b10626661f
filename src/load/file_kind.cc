#include "load/file_kind.h"

#include <cstring>
#include <string_view>

namespace {

using Head = std::string_view;

bool startsWith(Head head, const char* prefix, std::size_t length) {
  return head.size() >= length && std::memcmp(head.data(), prefix, length) == 0;
}

// A JPEG is what the JPEG parse takes: FF D8 and anything after.
bool isJpeg(Head head) { return startsWith(head, "\xFF\xD8", 2); }
bool isTiff(Head head) {
  return startsWith(head, "II*\0", 4) || startsWith(head, "MM\0*", 4);
}
bool isBigTiff(Head head) {
  return startsWith(head, "II+\0", 4) || startsWith(head, "MM\0+", 4);
}

// The first header line of a RINEX file ends with this label in columns 61 to 80, and
// gives the file type in column 21; compressed observations say "CRINEX".
char rinexType(Head head) {
  const std::size_t line = head.find('\n');
  const Head first = head.substr(0, line);
  if (first.find("RINEX VERSION / TYPE") != 60 && first.find("CRINEX VERS   / TYPE") != 60) {
    return '\0';
  }
  if (first.find("CRINEX") == 60) return 'O';
  return first.size() > 20 ? first[20] : '\0';
}
bool isRinexObservation(Head head) { return rinexType(head) == 'O'; }
// N (GPS, or any system in version 3), G (GLONASS), H (SBAS), L (Galileo), and the
// letters of the other systems' navigation files.
bool isRinexNavigation(Head head) {
  const char type = rinexType(head);
  return type != '\0' && Head("NGHBLECJIQ").find(type) != Head::npos;
}

// An RTK drone's MRK file: per photograph a line of its number, the GPS time of the
// shutter, "[week]", offsets and the position, as "value,Lat" "value,Lon".
bool isDjiTimestamps(Head head) {
  const Head first = head.substr(0, head.find('\n'));
  return first.find("\t[") != Head::npos && first.find(",Lat") != Head::npos &&
         first.find(",Lon") != Head::npos;
}

bool isThumbnailCache(Head head) {
  return startsWith(head, "\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8);
}
bool isFinderSettings(Head head) { return startsWith(head, "\0\0\0\1Bud1", 8); }
bool isAppleDouble(Head head) { return startsWith(head, "\0\x05\x16\x07", 4); }

// Text: no NUL and no control characters but the usual white space. Bytes above 127
// pass, as UTF-8 and the legacy code pages use them.
bool isText(Head head) {
  if (head.empty()) return false;
  for (const char c : head) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 0x20 && byte != '\t' && byte != '\n' && byte != '\r' && byte != '\f') {
      return false;
    }
    if (byte == 0x7F) return false;
  }
  return true;
}

// The one table of kinds: how each is recognised and what people are told. The first
// that matches names the file, so the more particular come first.
struct KindRule {
  FileKind kind;
  bool (*recognise)(Head head);  // null: never by content alone
  bool image;
  const char* words;
};

const KindRule kKinds[] = {
    {FileKind::jpeg, isJpeg, true, "JPEG image"},
    {FileKind::tiff, isTiff, true, "TIFF image"},
    {FileKind::dng, nullptr, true, "DNG image"},
    {FileKind::bigTiff, isBigTiff, true, "BigTIFF image, which is not read"},
    {FileKind::thumbnailCache, isThumbnailCache, false, "thumbnail cache"},
    {FileKind::finderSettings, isFinderSettings, false, "Finder folder settings"},
    {FileKind::appleDouble, isAppleDouble, false, "AppleDouble resource fork"},
    {FileKind::rinexObservation, isRinexObservation, false, "RINEX observation file"},
    {FileKind::rinexNavigation, isRinexNavigation, false, "RINEX navigation file"},
    {FileKind::djiTimestamps, isDjiTimestamps, false, "DJI timestamp file"},
    {FileKind::text, isText, false, "text file"},
    {FileKind::unknown, nullptr, false, "unknown content"},
};

const KindRule* ruleOf(FileKind kind) {
  for (const KindRule& rule : kKinds) {
    if (rule.kind == kind) return &rule;
  }
  return nullptr;
}

}  // namespace

FileKind fileKindOf(const unsigned char* head, std::size_t length) {
  if (head == nullptr) return FileKind::unknown;
  const Head bytes(reinterpret_cast<const char*>(head), length < kKindBytes ? length : kKindBytes);
  for (const KindRule& rule : kKinds) {
    if (rule.recognise != nullptr && rule.recognise(bytes)) return rule.kind;
  }
  return FileKind::unknown;
}

bool isImage(FileKind kind) {
  const KindRule* rule = ruleOf(kind);
  return rule != nullptr && rule->image;
}

const char* describe(FileKind kind) {
  const KindRule* rule = ruleOf(kind);
  return rule != nullptr ? rule->words : "";
}
