#include "load/image_loader.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <stdexcept>

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
      if (i % 7 == 3) {
        files.add(path, MemoryFile{});  // empty: skipped
        continue;
      }
      PhotoSpec photo = droneFrame(30.0 + static_cast<double>(i));
      photo.make = "make" + std::to_string(random() % 5);
      photo.model = "model" + std::to_string(i);
      files.add(path, MemoryFile{makePhoto(photo)});
    }
  }
};

// The pool starts with one worker whatever the machine's cores, so that the tests with
// slow reads see it grow.
LoaderOptions optionsWith(unsigned workers,
                          std::chrono::milliseconds readTimeout = kDefaultReadTimeout) {
  LoaderOptions options;
  options.workers = workers;
  options.firstWorkers = 1;
  options.readTimeout = readTimeout;
  return options;
}

struct Taken {
  std::vector<std::string> makes;
  std::vector<std::string> notices;
};

// Asks for every record in list order, as a check does, twice, as two checks do.
Taken takeAll(Batch& batch, unsigned workers) {
  Taken taken;
  ImageLoader loader(batch.images, batch.files, optionsWith(workers),
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
  // The first file skipped too: its notice comes first, as every other comes in turn.
  Batch serial(60);
  serial.files.add("f0.jpg", MemoryFile{});
  const Taken expected = takeAll(serial, 0);
  std::vector<std::string> skipped{"f0.jpg: " + std::string(describe(SkipReason::empty))};
  for (std::size_t i = 3; i < 60; i += 7) {
    skipped.push_back("f" + std::to_string(i) + ".jpg: " + describe(SkipReason::empty));
  }
  EXPECT_EQ(expected.notices, skipped);
  for (unsigned workers : {1u, 4u, 16u}) {
    Batch batch(60);
    batch.files.add("f0.jpg", MemoryFile{});
    batch.files.readDelay = std::chrono::microseconds(300);
    const Taken taken = takeAll(batch, workers);
    EXPECT_EQ(taken.makes, expected.makes) << workers;
    EXPECT_EQ(taken.notices, expected.notices) << workers;
    EXPECT_EQ(batch.files.opens, 60) << workers;
  }
}

// The pool doubles, up to its most, while the checks wait on reads that take longer than
// the page cache's; reads that do not leave it as it started, however long it waits.
TEST(ImageLoader, ThePoolGrowsOnlyWhileReadsWait) {
  using std::chrono::microseconds;
  struct Case {
    microseconds readDelay;
    microseconds slowCall;
    unsigned first;
    unsigned most;
    std::size_t started;
  };
  const Case cases[] = {
      {microseconds(2000), kSlowCall, 2, 16, 16},  // a share: up to the most
      {microseconds(2000), kSlowCall, 4, 3, 3},    // never past the most, from the start on
      // Reads below the threshold: the checks wait, the pool stays as it started.
      {microseconds(300), microseconds(20000), 2, 16, 2},
  };
  for (const Case& test : cases) {
    Batch batch(200);
    batch.files.readDelay = test.readDelay;
    LoaderOptions options = optionsWith(test.most);
    options.firstWorkers = test.first;
    options.slowCall = test.slowCall;
    ImageLoader loader(batch.images, batch.files, options);
    for (std::size_t i = 0; i < loader.size(); ++i) loader.record(i);
    EXPECT_EQ(loader.workersStarted(), test.started) << test.most;
    EXPECT_EQ(batch.files.opens, 200) << test.most;
  }
}

// Each record's details are its own image's, whoever read it, and stay as they are
// once the loader is gone.
TEST(ImageLoader, DetailsBelongToTheirImageAndOutliveTheLoader) {
  for (unsigned workers : {0u, 4u}) {
    Batch batch(30);
    std::vector<std::shared_ptr<const ImageDetails>> kept;
    {
      LoaderOptions options = optionsWith(workers);
      options.keepDetails = true;
      ImageLoader loader(batch.images, batch.files, options, nullptr);
      for (std::size_t i = 0; i < loader.size(); ++i) kept.push_back(loader.record(i).details);
    }
    for (std::size_t i = 0; i < kept.size(); ++i) {
      if (i % 7 == 3) {
        EXPECT_EQ(kept[i], nullptr) << i;  // skipped
        continue;
      }
      ASSERT_NE(kept[i], nullptr) << i;
      EXPECT_EQ(kept[i]->model, "model" + std::to_string(i)) << workers;
      EXPECT_TRUE(kept[i]->survey.hasPosition) << i;
    }
  }
}

// Workers stay within a window ahead of the records asked for: memory stays bounded
// however long the list.
TEST(ImageLoader, WorkersStayAWindowAheadOfTheChecks) {
  Batch batch(400);
  ImageLoader loader(batch.images, batch.files, optionsWith(2));
  loader.record(0);
  // Time for the workers to run as far as they may.
  std::this_thread::sleep_for(std::chrono::milliseconds(200));
  const int opened = batch.files.opens;
  EXPECT_GE(opened, 2);
  EXPECT_LE(opened, 1 + 2 * 8);
  for (std::size_t i = 0; i < loader.size(); ++i) loader.record(i);
  EXPECT_EQ(batch.files.opens, 400);
}

// What a file is told about the order of its reads reaches it through the workers.
TEST(ImageLoader, WorkersPassOnThatAFileIsReadInOrder) {
  Batch batch(3);
  JpegSpec stripped = photoJpeg(droneFrame(30.5));
  stripped.app1.reset();
  stripped.bodyBytes = 400000;
  batch.files.add(batch.images.paths[1], MemoryFile{buildJpeg(stripped)});
  ImageLoader loader(batch.images, batch.files, optionsWith(2));
  for (std::size_t i = 0; i < loader.size(); ++i) loader.record(i);
  EXPECT_EQ(batch.files.inOrderHints, 1);
}

TEST(ImageLoader, ReadsNothingUntilARecordIsAskedFor) {
  Batch batch(10);
  {
    ImageLoader loader(batch.images, batch.files, optionsWith(4));
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  EXPECT_EQ(batch.files.opens, 0);
}

// A read that never answers costs its image, not the run: the image is skipped and
// told as such, every other image is read, whatever the number of workers (one: its
// place must be taken), and the loader goes away without waiting for the stuck read.
// Reads that are only slow are waited for.
TEST(ImageLoader, AReadWithoutAnswerSkipsItsImageAndTheRunGoesOn) {
  struct Case {
    unsigned workers;
    std::vector<std::size_t> stuck;
  };
  const Case cases[] = {{1, {5}}, {4, {0, 1, 2, 4, 5}}, {3, {12, 13}}, {2, {29}}};
  // Never destroyed: the stuck reads go on using them after the test.
  static MemoryImageFiles* const neverFreed[] = {new MemoryImageFiles, new MemoryImageFiles,
                                                 new MemoryImageFiles, new MemoryImageFiles};
  for (const Case& test : cases) {
    MemoryImageFiles& files = *neverFreed[&test - cases];
    Batch batch(30);
    Taken expected = takeAll(batch, 0);
    expected.notices.clear();
    for (std::size_t i = 0; i < 30; ++i) {
      const std::string& path = batch.images.paths[i];
      MemoryFile file{batch.files.bytesOf(path)};
      // An empty file is told empty without a read, so only files with bytes can stall.
      file.neverAnswers = !file.bytes.empty() &&
                          std::find(test.stuck.begin(), test.stuck.end(), i) != test.stuck.end();
      if (file.neverAnswers) {
        expected.makes[i] = "(skipped)";
        expected.notices.push_back(path + ": " + describe(SkipReason::noAnswer));
      } else if (file.bytes.empty()) {
        expected.notices.push_back(path + ": " + describe(SkipReason::empty));
      }
      files.add(path, std::move(file));
    }
    files.readDelay = std::chrono::microseconds(200);
    Taken taken;
    {
      ImageLoader loader(batch.images, files,
                         optionsWith(test.workers, std::chrono::milliseconds(150)),
                         [&](const std::string& path, SkipReason reason) {
                           taken.notices.push_back(path + ": " + describe(reason));
                         });
      for (std::size_t i = 0; i < loader.size(); ++i) {
        const ImageRecord& record = loader.record(i);
        taken.makes.push_back(record.read() ? record.make.kept : "(skipped)");
      }
    }
    EXPECT_EQ(taken.makes, expected.makes) << test.workers;
    EXPECT_EQ(taken.notices, expected.notices) << test.workers;
  }
}

// The checks' thread is told before it may wait for the file system, so that a
// transcript it holds back goes out first: before the first file is opened, before a
// read that never answers, and before each read it makes itself when it has no workers.
TEST(ImageLoader, TheChecksThreadIsToldBeforeItWaitsForAFile) {
  static MemoryImageFiles* const neverFreed = new MemoryImageFiles;  // see above
  Batch batch(3);
  for (const std::string& path : batch.images.paths) {
    MemoryFile file{batch.files.bytesOf(path)};
    file.neverAnswers = path == batch.images.paths[1];
    neverFreed->add(path, std::move(file));
  }
  std::vector<int> opensWhenTold;
  LoaderOptions options = optionsWith(2, std::chrono::milliseconds(150));
  options.beforeWaiting = [&] { opensWhenTold.push_back(neverFreed->opens.load()); };
  {
    ImageLoader loader(batch.images, *neverFreed, options);
    loader.record(0);
    ASSERT_FALSE(opensWhenTold.empty());
    EXPECT_EQ(opensWhenTold.front(), 0);
    const std::size_t toldBefore = opensWhenTold.size();
    EXPECT_FALSE(loader.record(1).read());
    EXPECT_GT(opensWhenTold.size(), toldBefore);
  }
  // Without workers every read is the checks' own: each is told before it opens.
  opensWhenTold.clear();
  options = optionsWith(0);
  options.beforeWaiting = [&] { opensWhenTold.push_back(batch.files.opens.load()); };
  ImageLoader serial(batch.images, batch.files, options);
  for (std::size_t i = 0; i < serial.size(); ++i) serial.record(i);
  for (int opened = 0; opened < 3; ++opened) {
    EXPECT_NE(std::find(opensWhenTold.begin(), opensWhenTold.end(), opened), opensWhenTold.end())
        << opened;
  }
}

// What a worker cannot handle reaches the thread that asks for the records, whatever
// the number of workers, instead of ending the process from the worker's thread.
TEST(ImageLoader, WhatAWorkerCannotHandleIsRethrownToTheChecks) {
  for (unsigned workers : {0u, 1u, 4u}) {
    Batch batch(40);
    MemoryFile thrower{batch.files.bytesOf(batch.images.paths[17])};
    thrower.onOpen = [] { throw std::runtime_error("the share fell over"); };
    batch.files.add(batch.images.paths[17], std::move(thrower));
    ImageLoader loader(batch.images, batch.files, optionsWith(workers));
    std::string caught;
    std::size_t reached = 0;
    try {
      for (; reached < loader.size(); ++reached) loader.record(reached);
    } catch (const std::runtime_error& error) {
      caught = error.what();
    }
    EXPECT_EQ(caught, "the share fell over") << workers;
    EXPECT_LE(reached, 17u) << workers;
  }
}

}  // namespace
