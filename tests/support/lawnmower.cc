#include "lawnmower.h"

#include <cmath>
#include <cstdio>

#include "jpeg_builder.h"

namespace {

constexpr double kEarthRadiusM = 6371008.8;
constexpr double kDegreesPerRadian = 180.0 / 3.14159265358979323846;

double frameSide(const LawnmowerPlan& plan, bool longer) {
  const double w = plan.width;
  const double h = plan.height;
  const double side = longer ? std::max(w, h) : std::min(w, h);
  return 43.27 * side / std::hypot(w, h) / plan.focalLength35mm * plan.heightM;
}

std::string timeText(std::int64_t seconds) {
  const std::int64_t day = seconds / 86400;
  const std::int64_t inDay = seconds % 86400;
  // Days to a civil date (Howard Hinnant's algorithm).
  const std::int64_t z = day + 719468;
  const std::int64_t era = z / 146097;
  const std::int64_t doe = z - era * 146097;
  const std::int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const std::int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const std::int64_t mp = (5 * doy + 2) / 153;
  const std::int64_t d = doy - (153 * mp + 2) / 5 + 1;
  const std::int64_t m = mp < 10 ? mp + 3 : mp - 9;
  const std::int64_t y = yoe + era * 400 + (m <= 2 ? 1 : 0);
  char text[96];
  std::snprintf(text, sizeof text, "%04lld-%02lld-%02lldT%02lld:%02lld:%02lld",
                static_cast<long long>(y), static_cast<long long>(m), static_cast<long long>(d),
                static_cast<long long>(inDay / 3600), static_cast<long long>(inDay / 60 % 60),
                static_cast<long long>(inDay % 60));
  return text;
}

}  // namespace

double forwardSpacingM(const LawnmowerPlan& plan) {
  return frameSide(plan, false) * (1.0 - plan.forwardOverlap);
}

double lineSpacingM(const LawnmowerPlan& plan) {
  return frameSide(plan, true) * (1.0 - plan.sideOverlap);
}

void moveBy(SurveyImage& image, double northM, double eastM) {
  const double latitude = *image.latitude;
  image.latitude = latitude + northM / kEarthRadiusM * kDegreesPerRadian;
  image.longitude = *image.longitude + eastM / (kEarthRadiusM * std::cos(latitude /
                                                                         kDegreesPerRadian)) *
                                           kDegreesPerRadian;
}

SurveyImages lawnmowerImages(const LawnmowerPlan& plan) {
  const double forward = forwardSpacingM(plan);
  const double interval = forward / plan.speedMS;
  SurveyImages images;
  double seconds = 0.0;
  std::size_t number = 0;
  for (std::size_t line = 0; line < plan.lines; ++line) {
    const bool north = line % 2 == 0;
    for (std::size_t frame = 0; frame < plan.framesPerLine; ++frame) {
      if (frame > 0) seconds += interval;
      SurveyImage image;
      image.parsed = true;
      image.latitude = plan.latitude;
      image.longitude = plan.longitude;
      const double along = static_cast<double>(north ? frame : plan.framesPerLine - 1 - frame);
      moveBy(image, along * forward, static_cast<double>(line) * lineSpacingM(plan));
      SurveyTime time;
      time.seconds = plan.startSeconds + static_cast<std::int64_t>(std::floor(seconds));
      time.fraction = seconds - std::floor(seconds);
      image.time = time;
      image.relativeAltitude = plan.heightM;
      image.gimbalPitch = -90.0;
      image.flightYaw = north ? 0.0 : 180.0;
      image.gimbalYaw = image.flightYaw;
      image.speed = plan.speedMS;
      image.exposure = plan.exposureS;
      image.focalLength35mm = plan.focalLength35mm;
      image.width = plan.width;
      image.height = plan.height;
      ++number;
      if (plan.bands.empty()) {
        char name[32];
        std::snprintf(name, sizeof name, "DJI_%04zu.JPG", number);
        image.path = plan.folder + "/" + name;
        images.push_back(image);
        continue;
      }
      image.captureId = "capture-" + std::to_string(number);
      for (std::size_t band = 0; band < plan.bands.size(); ++band) {
        char name[32];
        std::snprintf(name, sizeof name, "DJI_%03zu%zu.TIF", number, band + 1);
        image.path = plan.folder + "/" + name;
        image.bandName = plan.bands[band];
        images.push_back(image);
      }
    }
    seconds += plan.turnSeconds;
  }
  return images;
}

namespace {

std::string signedText(double value) {
  char text[64];
  std::snprintf(text, sizeof text, "%+.2f", value);
  return text;
}

// The packet as DJI writes it: every value an attribute of one rdf:Description.
std::string djiPacket(const SurveyImage& image) {
  std::string attributes;
  const auto add = [&](const char* name, const std::optional<double>& value) {
    if (value) attributes += std::string(" drone-dji:") + name + "=\"" + signedText(*value) + "\"";
  };
  add("RelativeAltitude", image.relativeAltitude);
  add("GimbalPitchDegree", image.gimbalPitch);
  add("GimbalYawDegree", image.gimbalYaw);
  add("FlightYawDegree", image.flightYaw);
  if (image.speed && image.flightYaw) {
    // Along the heading: north is Y, east is X.
    const double heading = *image.flightYaw / kDegreesPerRadian;
    add("FlightXSpeed", *image.speed * std::sin(heading));
    add("FlightYSpeed", *image.speed * std::cos(heading));
    add("FlightZSpeed", 0.0);
  }
  return "<?xpacket begin=\"\xEF\xBB\xBF\" id=\"W5M0MpCehiHzreSzNTczkc9d\"?>"
         "<x:xmpmeta xmlns:x=\"adobe:ns:meta/\"><rdf:RDF "
         "xmlns:rdf=\"http://www.w3.org/1999/02/22-rdf-syntax-ns#\"><rdf:Description "
         "rdf:about=\"\" xmlns:drone-dji=\"http://www.dji.com/drone-dji/1.0/\"" +
         attributes + "/></rdf:RDF></x:xmpmeta><?xpacket end=\"w\"?>";
}

}  // namespace

std::vector<std::pair<std::string, std::string>> lawnmowerPhotos(
    const SurveyImages& images) {
  std::vector<std::pair<std::string, std::string>> photos;
  for (const SurveyImage& image : images) {
    PhotoSpec photo;
    photo.make = "DJI";
    photo.model = "FC6310";
    photo.pixelWidth = image.width;
    photo.pixelHeight = image.height;
    photo.focalLength = Fraction{88, 10};
    if (image.focalLength35mm) {
      photo.focalLength35mm = static_cast<std::uint16_t>(*image.focalLength35mm);
    }
    if (image.latitude && image.longitude) {
      photo.gps = GpsSpec{*image.latitude, *image.longitude, 152.3};
    }
    if (image.time) {
      std::string text = timeText(image.time->seconds);  // YYYY-MM-DDTHH:MM:SS
      text[4] = ':';
      text[7] = ':';
      text[10] = ' ';
      photo.dateTimeOriginal = text;
    }
    JpegSpec jpeg = photoJpeg(photo);
    jpeg.after.insert(jpeg.after.begin(),
                      jpegSegment(0xE1, std::string("http://ns.adobe.com/xap/1.0/\0", 29) +
                                            djiPacket(image)));
    photos.emplace_back(image.path, buildJpeg(jpeg));
  }
  return photos;
}
