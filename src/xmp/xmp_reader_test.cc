#include "xmp/xmp_reader.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// The packet in a heap buffer of exactly its size, so that AddressSanitizer sees a read
// past its end.
XmpValues read(const std::string& packet) {
  const std::vector<char> exact(packet.begin(), packet.end());
  return readXmp(exact.data(), exact.size());
}

const char kRdf[] = "http://www.w3.org/1999/02/22-rdf-syntax-ns#";

// A packet as DJI writes it: every value an attribute of one rdf:Description.
std::string attributeForm(const std::string& attributes,
                          const std::string& prefix = "drone-dji") {
  return "<?xpacket begin=\"\xEF\xBB\xBF\" id=\"W5M0MpCehiHzreSzNTczkc9d\"?>\n"
         "<x:xmpmeta xmlns:x=\"adobe:ns:meta/\">\n <rdf:RDF xmlns:rdf=\"" +
         std::string(kRdf) + "\">\n  <rdf:Description rdf:about=\"DJI Meta Data\"\n" +
         "    xmlns:" + prefix + "=\"http://www.dji.com/drone-dji/1.0/\"\n" + attributes +
         ">\n  </rdf:Description>\n </rdf:RDF>\n</x:xmpmeta>\n<?xpacket end=\"w\"?>";
}

// The same values as an editing tool rewrites them: child elements of the description.
std::string elementForm(const std::string& elements) {
  return "<x:xmpmeta xmlns:x=\"adobe:ns:meta/\"><rdf:RDF xmlns:rdf=\"" + std::string(kRdf) +
         "\"><rdf:Description rdf:about=\"\" xmlns:dd=\"http://www.dji.com/drone-dji/1.0/\""
         " xmlns:ms=\"http://micasense.com/MicaSense/1.0/\""
         " xmlns:Camera=\"http://pix4d.com/camera/1.0/\">" +
         elements + "</rdf:Description></rdf:RDF></x:xmpmeta>";
}

TEST(ReadXmp, AttributeFormAsDroneCamerasWriteIt) {
  const XmpValues values = read(attributeForm(
      "    drone-dji:AbsoluteAltitude=\"+198.61\" drone-dji:RelativeAltitude=\"+40.10\"\n"
      "    drone-dji:GimbalRollDegree=\"+0.00\" drone-dji:GimbalYawDegree=\"+44.20\"\n"
      "    drone-dji:GimbalPitchDegree=\"-89.90\" drone-dji:FlightRollDegree=\"+1.10\"\n"
      "    drone-dji:FlightYawDegree=\"+42.80\" drone-dji:FlightPitchDegree=\"+0.90\"\n"
      "    drone-dji:FlightXSpeed=\"+7.5\" drone-dji:FlightYSpeed=\"-0.2\"\n"
      "    drone-dji:FlightZSpeed='0' drone-dji:RtkFlag=\"50\"\n"
      "    drone-dji:CaptureUUID=\"a3b1c2d4e5f60718293a4b5c6d7e8f90\"\n"));
  EXPECT_EQ(values.relativeAltitude, 40.10f);
  EXPECT_EQ(values.absoluteAltitude, 198.61f);
  EXPECT_EQ(values.gimbalPitch, -89.90f);
  EXPECT_EQ(values.gimbalYaw, 44.20f);
  EXPECT_EQ(values.gimbalRoll, 0.0f);
  EXPECT_EQ(values.flightYaw, 42.80f);
  EXPECT_EQ(values.flightPitch, 0.90f);
  EXPECT_EQ(values.flightRoll, 1.10f);
  EXPECT_EQ(values.flightXSpeed, 7.5f);
  EXPECT_EQ(values.flightYSpeed, -0.2f);
  EXPECT_EQ(values.flightZSpeed, 0.0f);
  EXPECT_EQ(values.rtkFlag, 50);
  EXPECT_EQ(values.captureId, "a3b1c2d4e5f60718293a4b5c6d7e8f90");
}

TEST(ReadXmp, ElementFormAsEditingToolsWriteIt) {
  const XmpValues values = read(elementForm(
      "<dd:RelativeAltitude>+40.10</dd:RelativeAltitude>\n"
      "<dd:GimbalPitchDegree> -89.90 </dd:GimbalPitchDegree>"
      "<ms:CaptureId>Kd1xTWK9wnNbsjL3ZCz8</ms:CaptureId>"
      "<Camera:BandName>Red &amp; NIR&#x21;</Camera:BandName>"
      "<dd:RtkFlag>16</dd:RtkFlag>"));
  EXPECT_EQ(values.relativeAltitude, 40.10f);
  EXPECT_EQ(values.gimbalPitch, -89.90f);
  EXPECT_EQ(values.captureId, "Kd1xTWK9wnNbsjL3ZCz8");
  EXPECT_EQ(values.bandName, "Red & NIR!");
  EXPECT_EQ(values.rtkFlag, 16);
}

// Names count by the namespace their prefix is bound to, in the scope it is bound in.
TEST(ReadXmp, MatchesNamesByNamespaceNotByPrefix) {
  struct Case {
    const char* name;
    std::string packet;
    bool read;
  };
  const Case cases[] = {
      {"another prefix", attributeForm(" x9:RelativeAltitude=\"12\"", "x9"), true},
      {"the prefix of another namespace",
       attributeForm(" xmlns:other=\"http://example.com/drone-dji/1.0/\""
                     " other:RelativeAltitude=\"12\""),
       false},
      {"no prefix", attributeForm(" RelativeAltitude=\"12\""), false},
      {"an unbound prefix", attributeForm(" nobody:RelativeAltitude=\"12\""), false},
      {"a near miss of the URI",
       "<r:RDF xmlns:r=\"" + std::string(kRdf) + "\"><r:Description xmlns:d="
       "\"http://www.dji.com/drone-dji/1.0\" d:RelativeAltitude=\"12\"/></r:RDF>",
       false},
      {"the default namespace for elements",
       "<r:RDF xmlns:r=\"" + std::string(kRdf) + "\"><r:Description>"
       "<RelativeAltitude xmlns=\"http://www.dji.com/drone-dji/1.0/\">12</RelativeAltitude>"
       "</r:Description></r:RDF>",
       true},
      {"a binding out of scope",
       "<r:RDF xmlns:r=\"" + std::string(kRdf) + "\"><a xmlns:d=\"http://www.dji.com/drone-dji/1.0/\"/>"
       "<r:Description d:RelativeAltitude=\"12\"/></r:RDF>",
       false},
      {"rdf rebound to another prefix",
       "<R:RDF xmlns:R=\"" + std::string(kRdf) + "\"><R:Description"
       " xmlns:d=\"http://www.dji.com/drone-dji/1.0/\" d:RelativeAltitude=\"12\"/></R:RDF>",
       true},
      {"a description of no rdf namespace",
       "<rdf:Description xmlns:rdf=\"urn:x\" xmlns:d=\"http://www.dji.com/drone-dji/1.0/\""
       " d:RelativeAltitude=\"12\"/>",
       false},
      {"the attribute on another element",
       "<r:RDF xmlns:r=\"" + std::string(kRdf) + "\" xmlns:d=\"http://www.dji.com/drone-dji/1.0/\""
       " d:RelativeAltitude=\"12\"/>",
       false},
      {"a property element not in a description",
       elementForm("<x><dd:RelativeAltitude>12</dd:RelativeAltitude></x>"), false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(read(c.packet).relativeAltitude.has_value(), c.read) << c.name;
  }
}

// A value is a plain decimal number or it is absent: never a guess.
TEST(ReadXmp, NumbersArePlainDecimalsOrAbsent) {
  struct Case {
    const char* text;
    std::optional<float> value;
  };
  const Case cases[] = {
      {"+40.10", 40.10f},   {"-89.9", -89.9f},  {"12", 12.0f},     {"1.5e2", 150.0f},
      {" 3 ", 3.0f},        {".5", 0.5f},       {"7.", 7.0f},      {"&#x34;2", 42.0f},
      {"", {}},             {"+", {}},          {"-", {}},         {"1.2.3", {}},
      {"12m", {}},          {"nan", {}},        {"inf", {}},       {"0x10", {}},
      {"1e", {}},           {"--1", {}},        {"+-1", {}},       {"1e39", {}},
      {"1,5", {}},          {"&amp;", {}},
  };
  for (const Case& c : cases) {
    const XmpValues values =
        read(attributeForm(std::string(" drone-dji:GimbalPitchDegree=\"") + c.text + "\""));
    EXPECT_EQ(values.gimbalPitch, c.value) << c.text;
  }
  // The RTK flag is a whole number.
  EXPECT_EQ(read(attributeForm(" drone-dji:RtkFlag=\"34.5\"")).rtkFlag, std::nullopt);
  EXPECT_EQ(read(attributeForm(" drone-dji:RtkFlag=\"1e10\"")).rtkFlag, std::nullopt);
}

TEST(ReadXmp, TextsAreDecodedAndCut) {
  struct Case {
    std::string raw;
    std::string kept;
  };
  const Case cases[] = {
      {"&lt;a&gt; &quot;b&quot; &apos;c&apos; &amp;amp;", "<a> \"b\" 'c' &amp;"},
      {"&#65;&#x42;&#X43;", "ABC"},
      {"&#233;", "\xC3\xA9"},
      {"&#x1F600;", "\xF0\x9F\x98\x80"},
      // Unknown or invalid references stay as written.
      {"&nbsp; &#0; &#xD800;", "&nbsp; &#0; &#xD800;"},
      {"&#x110000; &#; & b", "&#x110000; &#; & b"},
      // 31 bytes and a two-byte character: cut before it, not inside.
      {std::string(31, 'a') + "\xC3\xA9", std::string(31, 'a')},
      {std::string(5000, 'b'), std::string(32, 'b')},
      {std::string(5000, '&'), std::string(32, '&')},
  };
  for (const Case& c : cases) {
    const XmpValues values = read(elementForm("<Camera:BandName>" + c.raw + "</Camera:BandName>"));
    EXPECT_EQ(values.bandName, c.kept) << c.raw.substr(0, 40);
  }
}

// The reader stops at the first thing it cannot read and keeps what it read before;
// it reads no byte past the packet (AddressSanitizer watches the exact buffer).
TEST(ReadXmp, HostilePacketsEndTheReadSafely) {
  const std::string good = " drone-dji:RelativeAltitude=\"40\"";
  const std::string full = attributeForm(good);
  std::string deep;
  for (int i = 0; i < 100000; ++i) deep += "<a>";
  std::string manyBindings = "<r:RDF xmlns:r=\"" + std::string(kRdf) + "\">";
  for (int i = 0; i < 1000; ++i) manyBindings += "<b xmlns:p" + std::to_string(i) + "=\"u\">";
  struct Case {
    const char* name;
    std::string packet;
    bool keepsTheValue;
  };
  const Case cases[] = {
      {"empty", "", false},
      {"no markup", std::string(100000, 'x'), false},
      {"cut inside the description tag", full.substr(0, full.find(good) + good.size()), false},
      {"cut after the description tag", full.substr(0, full.find("</rdf:Description>")), true},
      {"cut inside a quoted value", full.substr(0, full.find("+198") + 2), false},
      {"an unterminated comment first", "<!-- " + full, false},
      {"an unterminated processing instruction", "<?xpacket " + std::string(5000, ' '), false},
      {"an unterminated CDATA", full + "<![CDATA[" + std::string(5000, ']'), true},
      {"a stray end tag first", "</x:xmpmeta>" + full, false},
      {"a mismatched end tag", elementForm("<dd:RelativeAltitude>4</dd:Other>"), false},
      {"nested far too deep", deep + full, false},
      {"nested far too deep after the value", full + deep, true},
      {"more bindings than held", manyBindings + full, false},
      {"a huge attribute", attributeForm(" junk=\"" + std::string(1 << 20, 'v') + "\"" + good),
       true},
      {"a huge number", attributeForm(" drone-dji:RelativeAltitude=\"" +
                                      std::string(1 << 20, '1') + "\""),
       false},
      {"an attribute without a value", attributeForm(" drone-dji:RelativeAltitude" + good), false},
      {"NUL bytes around it", std::string(100, '\0') + full + std::string(100, '\0'), true},
      {"a list instead of text",
       elementForm("<dd:RelativeAltitude><rdf:Seq><rdf:li>4</rdf:li></rdf:Seq>"
                   "</dd:RelativeAltitude>"),
       false},
      {"a comment inside the value",
       elementForm("<dd:RelativeAltitude>4<!-- -->0</dd:RelativeAltitude>"), false},
      {"a lone '<'", "<", false},
      {"a lone '</'", "</", false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(read(c.packet).relativeAltitude.has_value(), c.keepsTheValue) << c.name;
  }
}

}  // namespace
