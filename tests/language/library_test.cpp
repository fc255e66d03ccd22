// liblanguage.so as a host uses it: the exported functions, the catalogue
// found beside the loaded library, and the environment read at every call.
#include <gtest/gtest.h>

#include <atomic>
#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <regex>
#include <set>
#include <string>
#include <thread>

#include "language.h"

namespace {

#if defined(_WIN32)
// The Windows C runtime sets and removes variables with _putenv_s; an empty
// value removes one.
int setenv(const char* name, const char* value, int) { return _putenv_s(name, value); }
int unsetenv(const char* name) { return _putenv_s(name, ""); }
#endif

class LanguageLibraryTest : public ::testing::Test {
 protected:
  void SetUp() override { TearDown(); }
  void TearDown() override {
    for (const char* name : {"UNITS_LANG", "LANGUAGE", "LC_ALL", "LC_MESSAGES", "LANG"}) unsetenv(name);
    setlocale(LC_ALL, "C");
  }
};

// The catalogue built from data/locale/de/units.po, found beside the library.
TEST_F(LanguageLibraryTest, TranslatesWithTheGermanCatalogueByteForByte) {
  const std::pair<const char*, const char*> german[] = {
      {"Time", "Zeit"}, {"Length", "L\xC3\xA4nge"}, {"Dev1", "Pr\xC3\xBC" "fstand"},
      {"Messverst\xC3\xA4rker2", "Kanal B"}};
  // Only the environment counts, also when setlocale knows no such locale.
  setenv("LANG", "de_DE.UTF-8", 1);
  setlocale(LC_ALL, "");
  for (const auto& [english, translation] : german) EXPECT_STREQ(LangGetText(english, 1), translation);
  // Every name of a quantity, subquantity or group of the default data.
  size_t checked = 0;
  for (const char* file : {"data/default_units.json", "data/default_groups.json"}) {
    std::ifstream in(std::string(UNITS_SOURCE_DIR) + file);
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const std::regex name(R"re("name"\s*:\s*"([^"\\]*)")re");
    for (std::sregex_iterator it(text.begin(), text.end(), name), end; it != end; ++it, ++checked) {
      const std::string english = (*it)[1];
      EXPECT_NE(LangGetText(english.c_str(), 1), english.c_str()) << "no German text for " << english;
    }
  }
  EXPECT_GT(checked, 20u);
  EXPECT_STREQ(LangGetText(nullptr, 1), "");
  LangSetText(nullptr, "ignored");
  setenv("UNITS_LANG", "C", 1);
  EXPECT_STREQ(LangGetText("Dev1", 0), LANG_NO_DEVICE_NAME);
}

// Each thread's answer stays its own and whole while another thread asks
// for other texts and replaces the one it reads.
TEST_F(LanguageLibraryTest, ThreadsGetTheirOwnAnswers) {
  setenv("UNITS_LANG", "de", 1);
  const std::string shared[2] = {std::string(40, 'a'), std::string(60, 'b')};
  std::atomic<int> wrong{0};
  const auto run = [&](const char* key, const char* expected, int turn) {
    for (int i = 0; i < 3000; ++i) {
      LangSetText("Shared", shared[(i + turn) % 2].c_str());
      const char* answer = LangGetText(key, 1);
      std::this_thread::yield();
      wrong += std::strcmp(answer, expected) != 0;
      answer = LangGetText("Shared", 1);
      std::this_thread::yield();
      wrong += answer != shared[0] && answer != shared[1];
    }
  };
  std::thread other(run, "Dev1", "Pr\xC3\xBC" "fstand", 1);
  run("Time", "Zeit", 0);
  other.join();
  EXPECT_EQ(wrong, 0);
  LangSetText("Shared", nullptr);
}

#if !defined(_WIN32)  // the DLLs' exports are checked by scripts/check-windows-dlls
TEST_F(LanguageLibraryTest, ExportsOnlyTheInterfaceUnderItsVersion) {
  FILE* pipe = popen(("nm -D --defined-only '" LANGUAGE_LIBRARY_PATH "' 2>/dev/null"), "r");
  ASSERT_NE(pipe, nullptr);
  std::set<std::string> names;
  char name[256];
  while (std::fscanf(pipe, "%*s %*s %255s", name) == 1) names.insert(name);
  ASSERT_EQ(pclose(pipe), 0) << "nm failed";
  // Each under the library's version node, which nm lists as a name of its own.
  EXPECT_EQ(names, (std::set<std::string>{"LANGUAGE_1", "LangGetText@@LANGUAGE_1", "LangSetText@@LANGUAGE_1"}));
}
#endif

}  // namespace
