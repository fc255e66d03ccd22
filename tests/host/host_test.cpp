// The library as a host sees it: a copy of the built libunits.so in a folder
// of its own, with its own data folder, loaded at run time by a separate
// host process.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "model/group_model.h"
#include "model/fdf_format.h"
#include "model/udf_format.h"
#include "test_support.h"

namespace units {
namespace {

namespace fs = std::filesystem;

std::string Quote(const std::string& text) { return "'" + text + "'"; }

class HostTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    root_ = ::testing::TempDir() + "units_host_" + info->name() + "_" + std::to_string(getpid()) + "/";
    fs::remove_all(root_);
    library_ = root_ + "lib/libunits.so";
    data_ = root_ + "lib/Units/";
    fs::create_directories(data_);
    fs::create_directories(root_ + "docs");
    fs::create_directories(root_ + "xdg");
    fs::copy_file(UNITS_LIBRARY_PATH, library_);
    fs::copy_file(UNITS_LANGUAGE_PATH, root_ + "lib/" UNITS_LANGUAGE_SONAME);  // the name the library needs
  }
  void TearDown() override { fs::remove_all(root_); }

  // Runs the host with the library's environment pointed into the test folder.
  std::string Run(const std::string& commands, const std::string& extra_env = "", const std::string& cwd = ".") {
    std::ostringstream command;
    command << "cd " << Quote(cwd) << " && env -u UNITS_REGISTRY_DB HOME=" << Quote(root_) << " XDG_DATA_HOME=" << Quote(root_ + "xdg")
            << " XDG_DOCUMENTS_DIR=" << Quote(root_ + "docs") << " UNITS_DEBUG_LOG=" << Quote(root_ + "debug.log")
            << " " << extra_env << " " << UNITS_HOST_PATH << " load " << Quote(library_) << " " << commands
            << " 2>" << Quote(root_ + "stderr.txt");
    std::FILE* pipe = popen(command.str().c_str(), "r");
    std::string output;
    char buffer[512];
    while (pipe != nullptr && std::fgets(buffer, sizeof(buffer), pipe) != nullptr) output += buffer;
    if (pipe != nullptr) pclose(pipe);
    return output;
  }

  std::string DebugLog() { return testing::ReadWholeFile(root_ + "debug.log"); }

  // DEFAULT.UDF with a temperature (id 12) shown in degrees Fahrenheit.
  void WriteDefaultUdf() {
    QuantityTable table;
    auto temperature = testing::MakeQuantity(12, "Temperature", "T");
    testing::DefineUnit(temperature.get(), 0, "\xC2\xB0" "C", 1.0, 0.0);
    testing::DefineUnit(temperature.get(), 1, "\xC2\xB0" "F", 1.8, 32.0);
    temperature->dwUnit = 1;
    table.push_back(std::move(temperature));
    testing::WriteWholeFile(data_ + "DEFAULT.UDF", EncodeUdf(table, 1, 0));
  }

  void WriteDefaultFdf() {
    t_FilterEntry group;
    InitFilterEntry(&group);
    std::strcpy(group.szName, "Temperatures");
    testing::WriteWholeFile(data_ + "DEFAULT.FDF", EncodeFdf({group}, 1));
  }

  std::string root_;
  std::string library_;
  std::string data_;
};

TEST_F(HostTest, StartsFromTheDefaultFilesAndWritesNothingToTheStore) {
  WriteDefaultUdf();
  WriteDefaultFdf();
  EXPECT_EQ(Run("current 12 100 base 12 212 current 13 1 groups index unload"),
            "loaded\nok 212\nok 100\nfail\n2 All quantities Temperatures\n1\nunloaded\n");
  EXPECT_FALSE(fs::exists(data_ + "REGISTRY.DB"));
  EXPECT_EQ(DebugLog(),
            "UNITS-DLL: DLL_PROCESS_ATTACH (Mensora)\n"
            "Units-DLL: ExitLib Begin\nUnits-DLL: ExitLib End\n"
            "UNITS-DLL: DLL_PROCESS_DETACH (Mensora)\n");
  EXPECT_TRUE(fs::is_directory(root_ + "xdg/Quorin"));
  EXPECT_TRUE(fs::is_directory(root_ + "docs/Quorin"));
  EXPECT_FALSE(fs::exists(data_ + "KEY.LOG"));
}

TEST_F(HostTest, DataFolderFollowsTheLibraryNotTheWorkingDirectory) {
  WriteDefaultUdf();
  const std::string elsewhere = root_ + "elsewhere/";
  fs::create_directories(elsewhere + "Units");
  testing::WriteWholeFile(elsewhere + "Units/UNITS.INI", "[Units]\nMode=Invalid\n");
  EXPECT_EQ(Run("current 12 0", "", elsewhere), "loaded\nok 32\n");
}

TEST_F(HostTest, UnknownModeLeavesTheLibraryRefusingEveryCall) {
  WriteDefaultUdf();
  testing::WriteWholeFile(data_ + "UNITS.INI", "[Units]\nMode=vorta\n");
  EXPECT_EQ(Run("current 12 100 privilege 1 textmode groups"), "loaded\nfail\n0\n65535\n0\n");
  EXPECT_NE(testing::ReadWholeFile(root_ + "stderr.txt").find("Invalid Mode"), std::string::npos);
  EXPECT_NE(DebugLog().find("Invalid Mode"), std::string::npos);
  EXPECT_EQ(DebugLog().find("DLL_PROCESS_ATTACH"), std::string::npos);
}

TEST_F(HostTest, SecondAttachBuildsEverythingAgain) {
  WriteDefaultUdf();
  const std::string reload = "current 12 0 unload load " + Quote(library_) + " current 12 0";
  // Between the two loads the host changes nothing: the same answer twice.
  EXPECT_EQ(Run(reload), "loaded\nok 32\nunloaded\nloaded\nok 32\n");
  const std::string log = DebugLog();
  size_t attaches = 0;
  for (size_t at = log.find("DLL_PROCESS_ATTACH"); at != std::string::npos; at = log.find("DLL_PROCESS_ATTACH", at + 1)) {
    ++attaches;
  }
  EXPECT_EQ(attaches, 2u);
}

// A data folder this user cannot write, as that of a system-wide install:
// the store goes below $XDG_DATA_HOME/units/, and the next process reads it
// from there, even when the data folder's files are gone.
TEST_F(HostTest, ReadOnlyDataFolderStoresBelowTheUsersDataFolder) {
  WriteDefaultUdf();
  std::string as_user;
  if (geteuid() == 0) {  // root writes anywhere: the host runs as nobody
    as_user = "setpriv --reuid=65534 --regid=65534 --clear-groups";
    for (const std::string& folder : {root_, root_ + "xdg", root_ + "docs"}) fs::permissions(folder, fs::perms::all);
  } else {
    fs::permissions(data_, fs::perms::owner_read | fs::perms::owner_exec);
  }
  const std::string key = "key 'Software\\Plant\\' Operator";
  EXPECT_EQ(Run(key + " current 12 0", as_user), "loaded\nkey\nok 32\n");
  EXPECT_TRUE(fs::exists(root_ + "xdg/units/REGISTRY.DB"));
  EXPECT_FALSE(fs::exists(data_ + "REGISTRY.DB"));
  fs::permissions(data_, fs::perms::owner_all);
  fs::remove(data_ + "DEFAULT.UDF");
  EXPECT_EQ(Run(key + " current 12 0", as_user), "loaded\nkey\nok 32\n") << DebugLog();
}

// A host that never opens a dialog never maps the toolkit; a dialog without
// its plugin, or without a display, is a false result and a reason in the
// debug channel, never an aborted host.
TEST_F(HostTest, DialogsWithoutPluginOrDisplayFailWithAReason) {
  WriteDefaultUdf();
  const std::string no_display = "env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM";
  EXPECT_EQ(Run("selectunit 999", no_display), "loaded\n0\n");
  EXPECT_EQ(DebugLog().find("dialog"), std::string::npos) << "an unknown quantity loads no dialogs";
  EXPECT_EQ(Run("current 12 0 toolkit selectunit 12 toolkit", no_display), "loaded\nok 32\ntoolkit 0\n0\ntoolkit 0\n");
  EXPECT_NE(DebugLog().find("dialogs unavailable: "), std::string::npos) << DebugLog();

  if (std::string(UNITS_DIALOGS_PATH).empty()) return;  // built without the plugin
  fs::copy_file(UNITS_DIALOGS_PATH, root_ + "lib/libunits_dialogs.so");
  EXPECT_EQ(Run("selectunit 12 edit selectunit 12 unload", no_display), "loaded\n0\n0\n0\nunloaded\n");
  EXPECT_NE(DebugLog().find("dialog not shown: no usable display"), std::string::npos) << DebugLog();
}

}  // namespace
}  // namespace units
