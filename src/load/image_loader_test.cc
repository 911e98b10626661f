#include "load/image_loader.h"

#include <gtest/gtest.h>

#include <random>

#include "jpeg_builder.h"
#include "memory_image_files.h"

namespace {

// A batch of photographs of several makes, with skipped files among them.
struct Batch {
  ScannedImages images;
  MemoryImageFiles files;

  explicit Batch(std::size_t size) {
    std::mt19937 random(3);
    for (std::size_t i = 0; i < size; ++i) {
      const std::string path = "f" + std::to_string(i) + ".jpg";
      images.paths.push_back(path);
      images.native.emplace_back();
      if (i % 7 == 0) {
        files.add(path, MemoryFile{});  // empty: skipped, the first one among them
        continue;
      }
      PhotoSpec photo = droneFrame(30.0 + static_cast<double>(i));
      photo.make = "make" + std::to_string(random() % 5);
      files.add(path, MemoryFile{makePhoto(photo)});
    }
  }
};

struct Taken {
  std::vector<std::string> makes;
  std::vector<std::string> notices;
};

// Asks for every record in list order, as a check does, twice, as two checks do.
Taken takeAll(Batch& batch, unsigned workers) {
  Taken taken;
  ImageLoader loader(batch.images, batch.files, workers,
                     [&](const std::string& path, SkipReason reason) {
                       taken.notices.push_back(path + ": " + describe(reason));
                     });
  for (int pass = 0; pass < 2; ++pass) {
    for (std::size_t i = 0; i < loader.size(); ++i) {
      const ImageRecord& record = loader.record(i);
      if (pass == 0) taken.makes.push_back(record.read() ? record.make.kept : "(skipped)");
    }
  }
  return taken;
}

// Workers finish in any order; the records come out in list order, each image read
// once, and each skipped image told once, in list order, whatever the number of workers.
TEST(ImageLoader, RecordsComeInListOrderWhateverTheWorkers) {
  Batch serial(60);
  const Taken expected = takeAll(serial, 0);
  std::vector<std::string> skipped;
  for (std::size_t i = 0; i < 60; i += 7) {
    skipped.push_back("f" + std::to_string(i) + ".jpg: " + describe(SkipReason::empty));
  }
  EXPECT_EQ(expected.notices, skipped);
  for (unsigned workers : {1u, 4u, 16u}) {
    Batch batch(60);
    batch.files.readDelay = std::chrono::microseconds(300);
    const Taken taken = takeAll(batch, workers);
    EXPECT_EQ(taken.makes, expected.makes) << workers;
    EXPECT_EQ(taken.notices, expected.notices) << workers;
    EXPECT_EQ(batch.files.opens, 60) << workers;
  }
}

// Workers stay within a window ahead of the records asked for: memory stays bounded
// however long the list.
TEST(ImageLoader, WorkersStayAWindowAheadOfTheChecks) {
  Batch batch(400);
  ImageLoader loader(batch.images, batch.files, 2);
  loader.record(0);
  // Time for the workers to run as far as they may.
  std::this_thread::sleep_for(std::chrono::milliseconds(200));
  const int opened = batch.files.opens;
  EXPECT_GE(opened, 2);
  EXPECT_LE(opened, 1 + 2 * 8);
  for (std::size_t i = 0; i < loader.size(); ++i) loader.record(i);
  EXPECT_EQ(batch.files.opens, 400);
}

TEST(ImageLoader, ReadsNothingUntilARecordIsAskedFor) {
  Batch batch(10);
  {
    ImageLoader loader(batch.images, batch.files, 4);
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  EXPECT_EQ(batch.files.opens, 0);
}

}  // namespace
