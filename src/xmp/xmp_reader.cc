#include "xmp/xmp_reader.h"

#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <string>
#include <string_view>

namespace {

// The namespaces the reader knows, by URI; a prefix means whichever the packet binds
// to it.
enum class Space : unsigned char { none, other, rdf, dji, micaSense, camera };

struct KnownSpace {
  std::string_view uri;
  Space space;
};
constexpr KnownSpace kKnownSpaces[] = {
    {"http://www.w3.org/1999/02/22-rdf-syntax-ns#", Space::rdf},
    {"http://www.dji.com/drone-dji/1.0/", Space::dji},
    {"http://micasense.com/MicaSense/1.0/", Space::micaSense},
    {"http://pix4d.com/camera/1.0/", Space::camera},
};

Space spaceOf(std::string_view uri) {
  for (const KnownSpace& known : kKnownSpaces) {
    if (known.uri == uri) return known.space;
  }
  return Space::other;
}

// Numbers and texts longer than these are no values of ours: a number is never this
// long, and the kept texts are shorter.
constexpr std::size_t kLongestNumber = 64;

bool isSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }

std::string_view trimmed(std::string_view text) {
  while (!text.empty() && isSpace(text.front())) text.remove_prefix(1);
  while (!text.empty() && isSpace(text.back())) text.remove_suffix(1);
  return text;
}

void appendUtf8(std::uint32_t code, std::string& out) {
  if (code < 0x80) {
    out += static_cast<char>(code);
  } else if (code < 0x800) {
    out += static_cast<char>(0xC0 | (code >> 6));
    out += static_cast<char>(0x80 | (code & 0x3F));
  } else if (code < 0x10000) {
    out += static_cast<char>(0xE0 | (code >> 12));
    out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (code & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (code >> 18));
    out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (code & 0x3F));
  }
}

// The character a numeric reference ("#65" or "#x41") names, or 0 when it names none
// that XML allows.
std::uint32_t referencedCode(std::string_view digits) {
  int base = 10;
  if (!digits.empty() && (digits.front() == 'x' || digits.front() == 'X')) {
    base = 16;
    digits.remove_prefix(1);
  }
  if (digits.empty() || digits.size() > 8) return 0;
  std::uint32_t code = 0;
  const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), code, base);
  if (error != std::errc() || end != digits.data() + digits.size()) return 0;
  if (code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return 0;
  return code;
}

// `raw` with its entity and character references replaced, at most `most` bytes of
// it; false when it is longer. A reference the reader does not know stays as it is.
bool decoded(std::string_view raw, std::size_t most, std::string& out) {
  out.clear();
  static constexpr std::pair<std::string_view, char> kEntities[] = {
      {"amp", '&'}, {"lt", '<'}, {"gt", '>'}, {"quot", '"'}, {"apos", '\''}};
  while (!raw.empty()) {
    if (out.size() >= most) return false;
    // References are short: the semicolon is looked for only that far, so that a value
    // of ampersands costs no more than its length.
    const std::size_t semicolon =
        raw.front() == '&' ? raw.substr(0, 12).find(';') : std::string_view::npos;
    if (semicolon == std::string_view::npos) {
      out += raw.front();
      raw.remove_prefix(1);
      continue;
    }
    const std::string_view name = raw.substr(1, semicolon - 1);
    std::size_t before = out.size();
    if (!name.empty() && name.front() == '#') {
      if (const std::uint32_t code = referencedCode(name.substr(1))) appendUtf8(code, out);
    } else {
      for (const auto& entity : kEntities) {
        if (entity.first == name) out += entity.second;
      }
    }
    if (out.size() == before) {
      out += raw.front();
      raw.remove_prefix(1);
    } else {
      raw.remove_prefix(semicolon + 1);
    }
  }
  return out.size() <= most;
}

// A plain decimal number as XMP writes one: "+40.10", "-89.9", "12", "1.5e2".
std::optional<double> numberOf(std::string_view text) {
  text = trimmed(text);
  std::size_t at = 0;
  if (!text.empty() && text.front() == '+') {
    text.remove_prefix(1);  // which the conversion below does not take
  } else if (!text.empty() && text.front() == '-') {
    at = 1;
  }
  std::size_t digits = 0;
  auto skipDigits = [&] {
    while (at < text.size() && text[at] >= '0' && text[at] <= '9') {
      ++at;
      ++digits;
    }
  };
  skipDigits();
  if (at < text.size() && text[at] == '.') {
    ++at;
    skipDigits();
  }
  if (digits == 0) return std::nullopt;
  if (at < text.size() && (text[at] == 'e' || text[at] == 'E')) {
    ++at;
    if (at < text.size() && (text[at] == '+' || text[at] == '-')) ++at;
    digits = 0;
    skipDigits();
    if (digits == 0) return std::nullopt;
  }
  if (at != text.size()) return std::nullopt;
  double value = 0.0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size() || !std::isfinite(value)) {
    return std::nullopt;
  }
  return value;
}

template <std::optional<float> XmpValues::*field>
void takeNumber(std::string_view raw, XmpValues& values) {
  std::string text;
  if (!decoded(raw, kLongestNumber, text)) return;
  const std::optional<double> number = numberOf(text);
  if (number && std::fabs(*number) <= std::numeric_limits<float>::max()) {
    values.*field = static_cast<float>(*number);
  }
}

template <std::optional<int> XmpValues::*field>
void takeWholeNumber(std::string_view raw, XmpValues& values) {
  std::string text;
  if (!decoded(raw, kLongestNumber, text)) return;
  const std::optional<double> number = numberOf(text);
  if (number && std::fabs(*number) <= 1e9 && std::trunc(*number) == *number) {
    values.*field = static_cast<int>(*number);
  }
}

// The text cut to `most` bytes at the start of a UTF-8 character.
template <std::string XmpValues::*field, std::size_t most>
void takeText(std::string_view raw, XmpValues& values) {
  std::string text;
  decoded(trimmed(raw), 4 * most, text);
  text = std::string(trimmed(text));
  if (text.size() > most) {
    std::size_t cut = most;
    while (cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80) --cut;
    text.resize(cut);
  }
  values.*field = std::move(text);
}

// The one list of the properties read: a row is a namespace, a name and what takes
// the value.
struct Property {
  Space space;
  std::string_view name;
  void (*take)(std::string_view raw, XmpValues& values);
};
constexpr Property kProperties[] = {
    {Space::dji, "RelativeAltitude", takeNumber<&XmpValues::relativeAltitude>},
    {Space::dji, "AbsoluteAltitude", takeNumber<&XmpValues::absoluteAltitude>},
    {Space::dji, "GimbalPitchDegree", takeNumber<&XmpValues::gimbalPitch>},
    {Space::dji, "GimbalYawDegree", takeNumber<&XmpValues::gimbalYaw>},
    {Space::dji, "GimbalRollDegree", takeNumber<&XmpValues::gimbalRoll>},
    {Space::dji, "FlightPitchDegree", takeNumber<&XmpValues::flightPitch>},
    {Space::dji, "FlightYawDegree", takeNumber<&XmpValues::flightYaw>},
    {Space::dji, "FlightRollDegree", takeNumber<&XmpValues::flightRoll>},
    {Space::dji, "FlightXSpeed", takeNumber<&XmpValues::flightXSpeed>},
    {Space::dji, "FlightYSpeed", takeNumber<&XmpValues::flightYSpeed>},
    {Space::dji, "FlightZSpeed", takeNumber<&XmpValues::flightZSpeed>},
    {Space::dji, "RtkFlag", takeWholeNumber<&XmpValues::rtkFlag>},
    {Space::dji, "CaptureUUID", takeText<&XmpValues::captureId, kCaptureIdBytesKept>},
    {Space::micaSense, "CaptureId", takeText<&XmpValues::captureId, kCaptureIdBytesKept>},
    {Space::camera, "BandName", takeText<&XmpValues::bandName, kBandNameBytesKept>},
};

const Property* propertyOf(Space space, std::string_view name) {
  for (const Property& property : kProperties) {
    if (property.space == space && property.name == name) return &property;
  }
  return nullptr;
}

struct Binding {
  std::string_view prefix;  // empty for the default namespace
  Space space = Space::none;
};

// An element whose end tag is still to come.
struct OpenElement {
  std::string_view name;
  std::size_t bindingsBefore = 0;  // those of its parents
  bool description = false;        // rdf:Description
  const Property* property = nullptr;  // a property of ours, as a child of a description
  const char* content = nullptr;   // just past its start tag
  bool plain = true;               // nothing but text inside so far
};

// What a tag holds once read: its name, where its attributes lie, whether it closes
// itself, and where the reader goes on.
struct Tag {
  std::string_view name;
  std::string_view attributes;
  bool selfClosing = false;
  const char* next = nullptr;
};

struct Attribute {
  std::string_view name;
  std::string_view value;
};

bool isNameEnd(char c) { return isSpace(c) || c == '>' || c == '/' || c == '='; }

// Reads the next attribute of `rest`, which it shortens. False at the end of the
// attributes, with `bad` set when what is left is not an attribute.
bool nextAttribute(std::string_view& rest, Attribute& attribute, bool& bad) {
  rest = trimmed(rest);
  if (rest.empty()) return false;
  std::size_t at = 0;
  while (at < rest.size() && !isNameEnd(rest[at])) ++at;
  attribute.name = rest.substr(0, at);
  while (at < rest.size() && isSpace(rest[at])) ++at;
  if (attribute.name.empty() || at == rest.size() || rest[at] != '=') {
    bad = true;
    return false;
  }
  ++at;
  while (at < rest.size() && isSpace(rest[at])) ++at;
  if (at == rest.size() || (rest[at] != '"' && rest[at] != '\'')) {
    bad = true;
    return false;
  }
  const std::size_t close = rest.find(rest[at], at + 1);
  if (close == std::string_view::npos) {
    bad = true;
    return false;
  }
  attribute.value = rest.substr(at + 1, close - at - 1);
  rest.remove_prefix(close + 1);
  return true;
}

class Reader {
 public:
  Reader(const char* packet, std::size_t length) : at_(packet), end_(packet + length) {}

  XmpValues read() {
    while (step()) {
    }
    return std::move(values_);
  }

 private:
  // Reads from `at_` to past the next markup; false when the packet ends or cannot be
  // read on.
  bool step() {
    const char* open = static_cast<const char*>(
        std::memchr(at_, '<', static_cast<std::size_t>(end_ - at_)));
    if (open == nullptr) return false;
    const std::string_view rest(open, static_cast<std::size_t>(end_ - open));
    if (startsWith(rest, "<?")) return skipPast(rest, "?>");
    if (startsWith(rest, "<!--")) return skipPast(rest, "-->");
    if (startsWith(rest, "<![CDATA[")) return skipPast(rest, "]]>");
    if (startsWith(rest, "<!")) return skipPast(rest, ">");
    if (startsWith(rest, "</")) return endTag(rest);
    return startTag(rest);
  }

  static bool startsWith(std::string_view text, std::string_view start) {
    return text.substr(0, start.size()) == start;
  }

  // Declarations, comments and CDATA: a property element that holds one is not plain
  // text, and is not read.
  bool skipPast(std::string_view rest, std::string_view close) {
    const std::size_t found = rest.find(close, 2);
    if (found == std::string_view::npos) return false;
    if (depth_ > 0) open_[depth_ - 1].plain = false;
    at_ = rest.data() + found + close.size();
    return true;
  }

  bool endTag(std::string_view rest) {
    const std::size_t close = rest.find('>');
    if (close == std::string_view::npos || depth_ == 0) return false;
    OpenElement& element = open_[depth_ - 1];
    if (trimmed(rest.substr(2, close - 2)) != element.name) return false;
    if (element.property != nullptr && element.plain) {
      element.property->take(
          std::string_view(element.content, static_cast<std::size_t>(rest.data() - element.content)),
          values_);
    }
    bindings_ = element.bindingsBefore;
    --depth_;
    at_ = rest.data() + close + 1;
    return true;
  }

  bool startTag(std::string_view rest) {
    Tag tag;
    if (!readTag(rest, tag)) return false;
    const std::size_t bindingsBefore = bindings_;
    if (!bind(tag.attributes)) return false;
    const std::string_view local = localName(tag.name);
    const Space space = spaceOfPrefix(prefixOf(tag.name), true);
    const bool description = space == Space::rdf && local == "Description";
    if (description) takeAttributes(tag.attributes);

    at_ = tag.next;
    if (depth_ > 0) open_[depth_ - 1].plain = false;
    if (tag.selfClosing) {
      bindings_ = bindingsBefore;
      return true;
    }
    if (depth_ == open_.size()) return false;
    OpenElement& element = open_[depth_++];
    element = OpenElement();
    element.name = tag.name;
    element.bindingsBefore = bindingsBefore;
    element.description = description;
    const bool inDescription = depth_ >= 2 && open_[depth_ - 2].description;
    element.property = inDescription ? propertyOf(space, local) : nullptr;
    element.content = tag.next;
    return true;
  }

  // The tag at the start of `rest`, up to its '>' outside quotes.
  static bool readTag(std::string_view rest, Tag& tag) {
    std::size_t at = 1;
    while (at < rest.size() && !isNameEnd(rest[at])) ++at;
    tag.name = rest.substr(1, at - 1);
    if (tag.name.empty()) return false;
    const std::size_t attributesStart = at;
    char quote = 0;
    for (; at < rest.size(); ++at) {
      const char c = rest[at];
      if (quote != 0) {
        if (c == quote) quote = 0;
      } else if (c == '"' || c == '\'') {
        quote = c;
      } else if (c == '>') {
        break;
      }
    }
    if (at == rest.size()) return false;
    tag.selfClosing = rest[at - 1] == '/';
    const std::size_t attributesEnd = tag.selfClosing ? at - 1 : at;
    tag.attributes = rest.substr(attributesStart, attributesEnd - attributesStart);
    tag.next = rest.data() + at + 1;
    return true;
  }

  static std::string_view prefixOf(std::string_view name) {
    const std::size_t colon = name.find(':');
    return colon == std::string_view::npos ? std::string_view() : name.substr(0, colon);
  }

  static std::string_view localName(std::string_view name) {
    const std::size_t colon = name.find(':');
    return colon == std::string_view::npos ? name : name.substr(colon + 1);
  }

  // The namespace bound to `prefix`, the innermost binding first. An attribute without
  // a prefix is in no namespace; an element without one is in the default namespace.
  Space spaceOfPrefix(std::string_view prefix, bool element) const {
    if (prefix.empty() && !element) return Space::none;
    for (std::size_t i = bindings_; i-- > 0;) {
      if (bindingList_[i].prefix == prefix) return bindingList_[i].space;
    }
    return Space::none;
  }

  // Takes the tag's xmlns attributes as bindings; false when there are more than the
  // reader holds, or the attributes cannot be read.
  bool bind(std::string_view attributes) {
    Attribute attribute;
    bool bad = false;
    while (nextAttribute(attributes, attribute, bad)) {
      std::string_view prefix;
      if (attribute.name == "xmlns") {
        prefix = std::string_view();
      } else if (startsWith(attribute.name, "xmlns:")) {
        prefix = attribute.name.substr(6);
      } else {
        continue;
      }
      if (bindings_ == bindingList_.size()) return false;
      // URIs of ours hold no references; one written with them stays unknown.
      bindingList_[bindings_++] = Binding{prefix, spaceOf(attribute.value)};
    }
    return !bad;
  }

  void takeAttributes(std::string_view attributes) {
    Attribute attribute;
    bool bad = false;
    while (nextAttribute(attributes, attribute, bad)) {
      const Space space = spaceOfPrefix(prefixOf(attribute.name), false);
      if (space == Space::none || space == Space::other) continue;
      if (const Property* property = propertyOf(space, localName(attribute.name))) {
        property->take(attribute.value, values_);
      }
    }
  }

  const char* at_;
  const char* end_;
  std::array<OpenElement, kMostXmpDepth> open_{};
  std::size_t depth_ = 0;
  std::array<Binding, kMostXmpBindings> bindingList_{};
  std::size_t bindings_ = 0;
  XmpValues values_;
};

}  // namespace

XmpValues readXmp(const char* packet, std::size_t length) {
  if (packet == nullptr) return {};
  return Reader(packet, length).read();
}
