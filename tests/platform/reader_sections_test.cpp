// Read sections with each barrier: a writer replaces and frees a published
// value while readers read it; no reader may ever see a freed one.
#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "platform/reader_sections.h"

namespace units {
namespace platform {
namespace {

using Barrier = ReaderSections::Barrier;

class ReaderSectionsTest : public ::testing::TestWithParam<Barrier> {};

TEST_P(ReaderSectionsTest, NoReaderSeesAFreedValue) {
  // Static, as in the library: slots may outlive their threads.
  static ReaderSections instances[3];
  ReaderSections* sections = &instances[static_cast<int>(GetParam())];
  sections->Prepare(2, GetParam());
  if (sections->barrier() != GetParam() && GetParam() == Barrier::kMembarrier) GTEST_SKIP() << "no membarrier";
  EXPECT_EQ(sections->barrier(), GetParam());
  EXPECT_EQ(sections->asymmetric(), GetParam() != Barrier::kReaderFence);
  std::atomic<int*> published{new int(1)};
  std::atomic<bool> done{false};
  std::atomic<int> freed_seen{0};
  // Fresh threads: the slot cache belongs to one instance per thread.
  std::vector<std::thread> readers;
  for (int r = 0; r < 2; ++r) {
    readers.emplace_back([&] {
      while (!done.load()) {
        ReadSection section(*sections);
        if (*published.load(std::memory_order_acquire) < 0) ++freed_seen;
      }
    });
  }
  for (int round = 2; round < 2000; ++round) {
    int* old = published.exchange(new int(round), std::memory_order_acq_rel);
    sections->WaitQuiescent(sections->Retire());
    *old = -1;  // what a reader of freed memory would see
    delete old;
  }
  done = true;
  for (std::thread& reader : readers) reader.join();
  delete published.load();
  EXPECT_EQ(freed_seen.load(), 0);
}

std::string BarrierName(const ::testing::TestParamInfo<Barrier>& param) {
  static const char* const kNames[] = {"Membarrier", "PageProtection", "ReaderFence"};
  return kNames[static_cast<int>(param.param)];
}

INSTANTIATE_TEST_SUITE_P(Barriers, ReaderSectionsTest,
                         ::testing::Values(Barrier::kMembarrier, Barrier::kPageProtection, Barrier::kReaderFence),
                         BarrierName);

}  // namespace
}  // namespace platform
}  // namespace units
