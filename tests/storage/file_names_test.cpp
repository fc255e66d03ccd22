#include "storage/file_names.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <string>

#include "storage/udf_file.h"
#include "test_support.h"

namespace units {
namespace {

class FileNameCaseTest : public testing::ModuleTest {};

// Stored catalogues come from systems whose file names ignore case: a bare
// "DEFAULT" must find the shipped "DEFAULT.UDF".
TEST_F(FileNameCaseTest, ExistingFileIsFoundWhateverTheCaseOfTheName) {
  testing::WriteWholeFile(folder_ + "DEFAULT.UDF", "x");
  EXPECT_EQ(ResolveStoreFileName("DEFAULT", ".udf"), folder_ + "DEFAULT.UDF");
  EXPECT_EQ(ResolveStoreFileName("default.Udf", ".udf"), folder_ + "DEFAULT.UDF");
  EXPECT_EQ(ResolveStoreFileName(folder_ + "Default.udf", ".udf"), folder_ + "DEFAULT.UDF");
  EXPECT_EQ(ResolveStoreFileName("Other", ".udf"), folder_ + "Other.udf");
}

TEST_F(FileNameCaseTest, ExactNameWinsAndSavesReplaceTheExistingFile) {
  testing::WriteWholeFile(folder_ + "plant.udf", "lower");
  testing::WriteWholeFile(folder_ + "PLANT.UDF", "upper");
  EXPECT_EQ(ResolveStoreFileName("plant", ".udf"), folder_ + "plant.udf");
  testing::WriteWholeFile(folder_ + "LINE.UDF", "old");
  ASSERT_TRUE(SaveUdfFile("Line.udf"));
  EXPECT_EQ(testing::ReadWholeFile(folder_ + "LINE.UDF").substr(0, 2), "\xFF\xFF");
  EXPECT_NE(access((folder_ + "Line.udf").c_str(), F_OK), 0) << "no second file beside the first";
}

}  // namespace
}  // namespace units
