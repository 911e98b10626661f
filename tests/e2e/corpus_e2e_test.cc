// The real photographs of tests/corpus through all four checks. Their keys follow
// from the values an independent reading of each file gives (see the EXIF corpus
// test): Make up to its first NUL with its blanks, the 35 mm focal length when it is
// not 0, else the focal length truncated.
#include <gtest/gtest.h>

#include "batch_run.h"

namespace {

const std::vector<std::string> kPhotos{
    "Apple_iPhone_4.jpg",        "Canon_EOS_REBEL_T3i.jpg",
    "Casio_QV-7000SX.jpg",       "DJI_0020.JPG",
    "DJI_0025.JPG",              "FLIR_Vue_Pro_640.jpg",
    "FujiFilm_FinePixS1Pro_(1).jpg", "Nikon_D5000.jpg",
    "Ricoh_DC-3Z_(low_res).jpg", "Samsung_GT-I9000_(Galaxy_S).jpg",
    "Sony_Cybershot_(7).jpg",    "Sony_D700.jpg",
    "User_Comment_Encoding.jpg",
};

// Casio's first APP1 is too short, Sony Cybershot has none, and the last end marker of
// User_Comment_Encoding lies inside its APP1.
const std::vector<std::string> kUnreadable{"Casio_QV-7000SX.jpg", "Sony_Cybershot_(7).jpg",
                                           "User_Comment_Encoding.jpg"};

TEST(Corpus, RealPhotographsThroughAllFourChecks) {
  Batch batch;
  for (const std::string& name : kPhotos) {
    batch.add(name, readFileBytes(std::string(PRECHECK_CORPUS_DIR "/") + name));
  }
  ProgramRun run = batch.run(kAllChecks);

  // The two DJI frames form the largest group by resolution and by make.
  const std::vector<std::string> otherResolutions{
      "Ricoh_DC-3Z_(low_res).jpg", "Apple_iPhone_4.jpg", "Sony_D700.jpg",
      "FujiFilm_FinePixS1Pro_(1).jpg", "Nikon_D5000.jpg", "Canon_EOS_REBEL_T3i.jpg",
      "Samsung_GT-I9000_(Galaxy_S).jpg", "FLIR_Vue_Pro_640.jpg"};
  const std::vector<std::string> otherMakes{
      "Apple_iPhone_4.jpg", "Canon_EOS_REBEL_T3i.jpg", "FLIR_Vue_Pro_640.jpg",
      "FujiFilm_FinePixS1Pro_(1).jpg", "Nikon_D5000.jpg", "Ricoh_DC-3Z_(low_res).jpg",
      "Samsung_GT-I9000_(Galaxy_S).jpg", "Sony_D700.jpg"};
  const std::vector<std::string> zeroFocal{"FLIR_Vue_Pro_640.jpg", "FujiFilm_FinePixS1Pro_(1).jpg",
                                           "Sony_D700.jpg"};
  const std::vector<std::string> noPosition{
      "Canon_EOS_REBEL_T3i.jpg", "FLIR_Vue_Pro_640.jpg", "Ricoh_DC-3Z_(low_res).jpg",
      "Samsung_GT-I9000_(Galaxy_S).jpg", "Sony_D700.jpg"};
  auto then = [](std::vector<std::string> first, const std::vector<std::string>& second) {
    first.insert(first.end(), second.begin(), second.end());
    return first;
  };

  const std::string report =
      reportOf({entry(101, messages::kResolutionMismatch, then(kUnreadable, otherResolutions)),
                entry(102, messages::kCameraMakeMismatch, then(kUnreadable, otherMakes)),
                entry(103, messages::kFocalLengthZero, then(zeroFocal, kUnreadable)),
                entry(104, messages::kNoGps, then(noPosition, kUnreadable))});
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(run.output,
            batch.echo(kAllChecks) +
                resolutionStart(kPhotos) + group("error", 3) + block(kUnreadable) +
                group("0*0", 1) + group("1296*968", 1) + group("1344*1024", 1) +
                group("2400*1600", 1) + group("4000*2250", 2) + group("4288*2848", 1) +
                group("5184*3456", 1) + group("640*480", 1) + group("640*512", 1) +
                block(otherResolutions) +
                cameraMakeStart(kPhotos) + group("error", 3) + block(kUnreadable) +
                group("Apple", 1) + group("Canon", 1) + group("DJI", 2) + group("FLIR", 1) +
                group("FUJIFILM", 1) + group("NIKON CORPORATION", 1) + group("RICOH      ", 1) +
                group("SAMSUNG            ", 1) + group("SONY", 1) + block(otherMakes) +
                focalLengthStart(kPhotos) + group("0", 3) + block(zeroFocal) + group("20", 2) +
                group("27", 1) + group("3", 2) + group("33", 1) + group("5", 1) +
                group("error", 3) + block(kUnreadable) +
                gpsStart(kPhotos) + group("1", 5) + block(noPosition) + group("error", 3) +
                block(kUnreadable) + line(report));
  EXPECT_EQ(batch.report(), report);
}

}  // namespace
