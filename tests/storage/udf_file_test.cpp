#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "catalogue/catalogue.h"
#include "module/module_state.h"
#include "platform/files.h"
#include "storage/byte_io.h"
#include "storage/file_names.h"
#include "storage/udf_file.h"
#include "storage/udf_format.h"
#include "stored_bytes.h"
#include "save_faults.h"
#include "test_support.h"
#include "text/unit_format.h"

namespace units {
namespace {

using testing::Bytes;
using testing::DefineUnit;
using testing::InstallCatalogue;
using testing::MakeQuantity;
using testing::ReadWholeFile;
using testing::RecordImage;
using testing::SameBytes;
using testing::SubEntry;
using testing::UdfHeader;
using testing::UnitEntry;
using testing::Val;
using testing::WriteWholeFile;

using testing::FailLikeAFullDisk;
using testing::g_temporary_bytes;
using testing::g_temporary_path;
using testing::ScopedDebugLog;
using testing::ScopedReplaceHook;

bool Allow(const std::string& /*temporary_path*/) { return true; }

class UdfFileTest : public testing::ModuleTest {
 protected:
  std::string Path(const std::string& name) const { return folder_ + name; }

  std::vector<std::string> FolderEntries() const {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder_)) names.push_back(entry.path().filename());
    std::sort(names.begin(), names.end());
    return names;
  }

  static std::vector<t_quantity> Snapshot() {
    std::vector<t_quantity> copies;
    for (const auto& record : TheCatalogue().Records()) copies.push_back(*record);
    return copies;
  }
};

// Two records: pressure with a second unit and a registered subquantity, and
// a plain temperature.
std::string TwoRecordBody() {
  RecordImage pressure = RecordImage::Plain(11, "Pressure", "p");
  pressure.state = 0x2;
  pressure.unit = 1;
  pressure.units[0] = UnitEntry(1.0, 0.0, "Pa", 1);
  pressure.units[1] = UnitEntry(1e-5, 0.0, "bar", 1);
  SubEntry set;
  set.number = 1;
  set.name = "Setpoint";
  set.symbol = "ps";
  set.state = 3;
  set.flags = kFlagSet;
  set.pairs = {{4, 1}, {4, 2}};
  pressure.slots[0] = set.Encode();
  return pressure.Encode() + RecordImage::Plain(12, "Temperature", "T").Encode();
}

// ---------------------------------------------------------------- loading

TEST_F(UdfFileTest, LoadReadsAHandBuiltFileAndAppliesItsSettings) {
  WriteWholeFile(Path("PLANT.udf"), UdfHeader(2, 3, 1) + TwoRecordBody());
  EXPECT_TRUE(LoadUdfFile("PLANT"));
  ASSERT_EQ(TheCatalogue().Count(), 2);
  const t_quantity* pressure = FindQuantity(11);
  ASSERT_NE(pressure, nullptr);
  EXPECT_STREQ(pressure->szName, "Pressure");
  EXPECT_EQ(Val(pressure->dwUnit), 1u);
  EXPECT_EQ(Val(pressure->aUnit[1].dFactor), 1e-5);
  EXPECT_STREQ(pressure->aUnit[1].szText, "bar");
  EXPECT_EQ(Val(pressure->aSubQuantity[0].wCount), 2);
  EXPECT_EQ(Val(pressure->aSubQuantity[0].awIndex[1]), 2);
  EXPECT_STREQ(TheCatalogue().At(1)->szName, "Temperature");
  EXPECT_EQ(UnitFormat(), 3);
  EXPECT_EQ(TextMode(), 1);
}

TEST_F(UdfFileTest, SettingsMarkedNotSetLeaveTheLibrarySettingsUnchanged) {
  SetUnitFormat(2);
  SetTextMode(1);
  WriteWholeFile(Path("EXPORT.udf"), UdfHeader(2, -1, 0xFFFF) + TwoRecordBody());
  EXPECT_TRUE(LoadUdfFile("EXPORT"));
  EXPECT_EQ(TheCatalogue().Count(), 2);
  EXPECT_EQ(UnitFormat(), 2);
  EXPECT_EQ(TextMode(), 1);
}

TEST_F(UdfFileTest, StoredZeroSettingsAreValuesNotGaps) {
  SetUnitFormat(2);
  SetTextMode(1);
  WriteWholeFile(Path("ZERO.udf"), UdfHeader(0, 0, 0));
  EXPECT_TRUE(LoadUdfFile("ZERO"));
  EXPECT_EQ(UnitFormat(), 0);
  EXPECT_EQ(TextMode(), 0);
}

TEST_F(UdfFileTest, OldFileWithoutHeaderGivesItsRecordsAndKeepsTheSettings) {
  SetUnitFormat(1);
  SetTextMode(1);
  WriteWholeFile(Path("OLD.udf"), Bytes().U16(3).Raw(TwoRecordBody()).Raw(RecordImage::Plain(13, "Time", "t").Encode()));
  EXPECT_TRUE(LoadUdfFile("OLD"));
  ASSERT_EQ(TheCatalogue().Count(), 3);
  EXPECT_EQ(Val(TheCatalogue().At(0)->wId), 11);
  EXPECT_EQ(Val(TheCatalogue().At(2)->wId), 13);
  EXPECT_EQ(UnitFormat(), 1);
  EXPECT_EQ(TextMode(), 1);
}

TEST_F(UdfFileTest, MissingOrEmptyFileGivesAnEmptyCatalogue) {
  QuantityTable previous;
  previous.push_back(MakeQuantity(1));
  InstallCatalogue(std::move(previous));
  EXPECT_TRUE(LoadUdfFile("NOWHERE"));
  EXPECT_EQ(TheCatalogue().Count(), 0);
  EXPECT_EQ(FindQuantity(1), nullptr);

  WriteWholeFile(Path("EMPTY.udf"), "");
  EXPECT_TRUE(LoadUdfFile("EMPTY"));
  EXPECT_EQ(TheCatalogue().Count(), 0);
}

TEST_F(UdfFileTest, FileOnlyModeReportsAFileThatGaveNoQuantity) {
  Module().from_file_only = 1;
  EXPECT_FALSE(LoadUdfFile("NOWHERE"));
  WriteWholeFile(Path("EMPTY.udf"), "");
  EXPECT_FALSE(LoadUdfFile("EMPTY"));
  WriteWholeFile(Path("NONE.udf"), UdfHeader(0, 1, 0));
  EXPECT_FALSE(LoadUdfFile("NONE"));
  // A count the bytes do not back yields no quantity either.
  WriteWholeFile(Path("HOLLOW.udf"), UdfHeader(2, 1, 0));
  EXPECT_FALSE(LoadUdfFile("HOLLOW"));
  EXPECT_EQ(TheCatalogue().Count(), 0);

  WriteWholeFile(Path("ONE.udf"), UdfHeader(1, 1, 0) + RecordImage::Plain(5, "q", "s").Encode());
  EXPECT_TRUE(LoadUdfFile("ONE"));
  EXPECT_EQ(TheCatalogue().Count(), 1);
}

TEST_F(UdfFileTest, HugeCountInAHeaderOnlyFileGivesAnEmptyCatalogue) {
  WriteWholeFile(Path("HUGE.udf"), UdfHeader(65535, 1, 1));
  EXPECT_TRUE(LoadUdfFile("HUGE"));
  EXPECT_EQ(TheCatalogue().Count(), 0);
}

TEST_F(UdfFileTest, FileReaderAgreesWithMemoryReaderAtEveryTruncation) {
  const std::string whole = UdfHeader(2, 3, 1) + TwoRecordBody();
  const std::string path = Path("CUT.udf");
  // The decoder itself is checked at every length elsewhere; here the ends of
  // the file and a spread of cuts in between cover the buffered file reader.
  std::vector<size_t> lengths;
  for (size_t length = 0; length <= whole.size(); ++length) {
    if (length < 40 || length % 61 == 0 || length + 40 > whole.size()) lengths.push_back(length);
  }
  for (const size_t length : lengths) {
    const std::string prefix = whole.substr(0, length);
    WriteWholeFile(path, prefix);
    const UdfContents from_file = ReadUdfFile(path);
    ByteReader reader(prefix.data(), prefix.size());
    const UdfContents from_memory = DecodeUdf(reader);
    ASSERT_EQ(from_file.has_header, from_memory.has_header) << length;
    ASSERT_EQ(from_file.unit_format, from_memory.unit_format) << length;
    ASSERT_EQ(from_file.text_mode, from_memory.text_mode) << length;
    ASSERT_EQ(from_file.records.size(), from_memory.records.size()) << length;
    for (size_t r = 0; r < from_file.records.size(); ++r) {
      ASSERT_TRUE(SameBytes(*from_file.records[r], *from_memory.records[r])) << length;
    }
  }
}

// ---------------------------------------------------------------- saving

TEST_F(UdfFileTest, SaveWritesTheCurrentHeaderAndTheRecordsInTableOrder) {
  QuantityTable table;
  table.push_back(MakeQuantity(30, "c", "z"));
  table.push_back(MakeQuantity(10, "a", "x"));
  table.push_back(MakeQuantity(20, "b", "y"));
  InstallCatalogue(std::move(table));
  SetUnitFormat(2);
  SetTextMode(1);
  ASSERT_TRUE(SaveUdfFile("ORDER"));
  EXPECT_EQ(ReadWholeFile(Path("ORDER.udf")), UdfHeader(3, 2, 1) + RecordImage::Plain(30, "c", "z").Encode() +
                                                  RecordImage::Plain(10, "a", "x").Encode() +
                                                  RecordImage::Plain(20, "b", "y").Encode());
}

TEST_F(UdfFileTest, SavedFileLoadsBackWithEveryFieldAndTheSettings) {
  QuantityTable table;
  for (uint16_t id : {900, 1, 65535}) {
    auto quantity = MakeQuantity(id, "Quantity", "Q");
    CopyText(quantity->szText, sizeof(quantity->szText), "°C");
    quantity->dwState = 0xFFFFFFFF;
    quantity->dwUnit = 9;
    DefineUnit(quantity.get(), 9, "mK", 1000.0, -273150.0);
    t_subquantity& slot = quantity->aSubQuantity[id % 10];
    slot.lSubQuan = id;
    CopyText(slot.szName, sizeof(slot.szName), "Mean value");
    CopyText(slot.szSymbol, sizeof(slot.szSymbol), "Qm");
    CopyText(slot.szText, sizeof(slot.szText), "Q_mean");
    slot.wState = 0xF003;
    slot.dwFlags = kFlagData | kFlagMean | kFlagEqui;
    slot.wCount = static_cast<uint16_t>(id % 51);
    for (int p = 0; p < slot.wCount; ++p) {
      slot.awDevice[p] = static_cast<uint16_t>(p + id);
      slot.awIndex[p] = static_cast<uint16_t>(p);
    }
    table.push_back(std::move(quantity));
  }
  InstallCatalogue(std::move(table));
  SetUnitFormat(3);
  SetTextMode(1);
  const std::vector<t_quantity> saved = Snapshot();
  ASSERT_TRUE(SaveUdfFile("ROUND"));

  InstallCatalogue(QuantityTable());
  SetUnitFormat(0);
  SetTextMode(0);
  ASSERT_TRUE(LoadUdfFile("ROUND"));
  ASSERT_EQ(TheCatalogue().Count(), 3);
  for (size_t i = 0; i < saved.size(); ++i) EXPECT_TRUE(SameBytes(*TheCatalogue().At(static_cast<int32_t>(i)), saved[i]));
  EXPECT_EQ(UnitFormat(), 3);
  EXPECT_EQ(TextMode(), 1);
}

TEST_F(UdfFileTest, LargeCatalogueLoadsBackIntactAcrossReadBuffers) {
  // 30 records of 3483 bytes: fields straddle every refill of the file reader.
  QuantityTable table;
  for (uint16_t id = 0; id < 30; ++id) {
    auto quantity = MakeQuantity(id, ("q" + std::to_string(id)).c_str(), "s");
    for (t_subquantity& slot : quantity->aSubQuantity) {
      slot.wCount = 50;
      for (int p = 0; p < 50; ++p) {
        slot.awDevice[p] = static_cast<uint16_t>(id * 1000 + p);
        slot.awIndex[p] = static_cast<uint16_t>(p * 7 + 1);
      }
    }
    table.push_back(std::move(quantity));
  }
  InstallCatalogue(std::move(table));
  const std::vector<t_quantity> saved = Snapshot();
  ASSERT_TRUE(SaveUdfFile("LARGE"));
  EXPECT_EQ(ReadWholeFile(Path("LARGE.udf")).size(), 12u + 30 * 3483);
  InstallCatalogue(QuantityTable());
  ASSERT_TRUE(LoadUdfFile("LARGE"));
  ASSERT_EQ(TheCatalogue().Count(), 30);
  for (size_t i = 0; i < saved.size(); ++i) {
    ASSERT_TRUE(SameBytes(*TheCatalogue().At(static_cast<int32_t>(i)), saved[i])) << "record " << i;
  }
}

TEST_F(UdfFileTest, FailedSaveLeavesThePreviousFileAndNoTemporary) {
  const std::string previous = UdfHeader(2, 1, 0) + TwoRecordBody();
  WriteWholeFile(Path("KEEP.udf"), previous);
  QuantityTable table;
  table.push_back(MakeQuantity(77, "replacement", "r"));
  InstallCatalogue(std::move(table));
  g_temporary_path.clear();
  g_temporary_bytes.clear();
  {
    ScopedReplaceHook full_disk(&FailLikeAFullDisk);
    EXPECT_FALSE(SaveUdfFile("KEEP"));
  }
  EXPECT_EQ(ReadWholeFile(Path("KEEP.udf")), previous);
  EXPECT_EQ(FolderEntries(), std::vector<std::string>{"KEEP.udf"});
  // The new content went to a temporary beside the file, never into it.
  EXPECT_EQ(std::filesystem::path(g_temporary_path).parent_path(), std::filesystem::path(Path("KEEP.udf")).parent_path());
  EXPECT_EQ(g_temporary_bytes.size(), 12u + 1483);

  // Once the disk has room again the same save replaces the file.
  ScopedReplaceHook room(&Allow);
  EXPECT_TRUE(SaveUdfFile("KEEP"));
  EXPECT_EQ(ReadWholeFile(Path("KEEP.udf")), g_temporary_bytes);
  EXPECT_EQ(FolderEntries(), std::vector<std::string>{"KEEP.udf"});
}

TEST_F(UdfFileTest, SaveIntoAMissingFolderFailsAndCreatesNothing) {
  InstallCatalogue(QuantityTable());
  EXPECT_FALSE(SaveUdfFile(Path("missing/X.udf")));
  EXPECT_TRUE(FolderEntries().empty());
}

TEST_F(UdfFileTest, SaveWritesBeginPathAndEndLinesToTheDebugChannel) {
  const std::string log = Path("debug.log");
  {
    ScopedDebugLog channel(log);
    ASSERT_TRUE(SaveUdfFile("LOGGED"));
  }
  EXPECT_EQ(ReadWholeFile(log),
            "UNITS-SaveUnitsToFile: Begin\n" + Path("LOGGED.udf") + "\nUNITS-SaveUnitsToFile: Ende\n");
  EXPECT_EQ(std::getenv("UNITS_DEBUG_LOG"), nullptr);
}

// ---------------------------------------------------------------- names

TEST_F(UdfFileTest, BareNameLiesInTheDataFolderWithTheDefaultExtension) {
  EXPECT_EQ(ResolveStoreFileName("PLANT", ".udf"), folder_ + "PLANT.udf");
  EXPECT_EQ(ResolveStoreFileName("PLANT.DAT", ".udf"), folder_ + "PLANT.DAT");
  EXPECT_EQ(ResolveStoreFileName("PLANT.udf", ".udf"), folder_ + "PLANT.udf");
}

TEST_F(UdfFileTest, PathWithADirectoryIsUsedUnchanged) {
  EXPECT_EQ(ResolveStoreFileName(folder_ + "sub/PLANT", ".udf"), folder_ + "sub/PLANT");
  EXPECT_EQ(ResolveStoreFileName("sub/PLANT", ".udf"), "sub/PLANT");
  EXPECT_EQ(ResolveStoreFileName("/abs/PLANT.x", ".udf"), "/abs/PLANT.x");
}

TEST_F(UdfFileTest, SaveAndLoadFollowTheNameRules) {
  QuantityTable table;
  table.push_back(MakeQuantity(42, "answer", "a"));
  InstallCatalogue(std::move(table));
  ASSERT_TRUE(SaveUdfFile("BARE"));
  EXPECT_EQ(FolderEntries(), std::vector<std::string>{"BARE.udf"});

  std::filesystem::create_directory(Path("sub"));
  ASSERT_TRUE(SaveUdfFile(Path("sub/plain")));
  EXPECT_TRUE(std::filesystem::exists(Path("sub/plain")));
  EXPECT_FALSE(std::filesystem::exists(Path("sub/plain.udf")));

  // Beside it a file with the extension that must not be the one read.
  WriteWholeFile(Path("sub/plain.udf"), UdfHeader(1, 0, 0) + RecordImage::Plain(7, "wrong", "w").Encode());
  InstallCatalogue(QuantityTable());
  ASSERT_TRUE(LoadUdfFile(Path("sub/plain")));
  ASSERT_EQ(TheCatalogue().Count(), 1);
  EXPECT_EQ(Val(TheCatalogue().At(0)->wId), 42);
}

}  // namespace
}  // namespace units
