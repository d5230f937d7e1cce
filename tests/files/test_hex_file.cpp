#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "files/atomic_file.h"
#include "files/hex_file.h"
#include "temp_dir.h"

using namespace qm47;
using qm47::testing::TempDir;

TEST(HexFile, OnlyExactImageLengthPasses) {
  const TempDir dir("hex-length");
  dir.Write("short.hex", std::string(16383, 'a'));
  dir.Write("long.hex", std::string(16385, 'a'));
  dir.Write("exact.hex", std::string(16384, 'a'));
  EXPECT_FALSE(HasImageLength(dir / "short.hex"));
  EXPECT_FALSE(HasImageLength(dir / "long.hex"));
  EXPECT_TRUE(HasImageLength(dir / "exact.hex"));
  EXPECT_FALSE(HasImageLength(dir / "missing.hex"));
  EXPECT_FALSE(HasImageLength(dir.path().string()));  // a folder is no image
  const HexReadResult r = ReadHexFile(dir / "exact.hex");
  ASSERT_FALSE(r.error);
  EXPECT_EQ(r.image.GetByte(16383), 'a');
  EXPECT_EQ(ReadHexFile(dir / "missing.hex").error->number, 53);
  EXPECT_TRUE(ReadHexFile(dir / "long.hex").error);
}

TEST(HexFile, SavingReplacesALongerFileWhole) {
  const TempDir dir("hex-save");
  dir.Write("radio.hex", std::string(20000, 'z'));
  MemoryImage img;
  img.SetByte(0, 0x10);
  ASSERT_FALSE(WriteHexFile(dir / "radio.hex", img));
  EXPECT_EQ(std::filesystem::file_size(dir / "radio.hex"), 16384u);
  EXPECT_EQ(ReadHexFile(dir / "radio.hex").image, img);
  EXPECT_EQ(qm47::testing::Listing(dir.path()), std::vector<std::string>{"radio.hex"}) << "nothing left beside it";
}

TEST(AtomicFile, ReadingStopsAtTheLimit) {
  const TempDir dir("hex-limit");
  dir.Write("big", std::string(50000, 'b'));
  const FileBytes r = ReadWholeFile(dir / "big", 1000);
  EXPECT_TRUE(r.error);
  EXPECT_TRUE(r.data.empty());
  EXPECT_EQ(ReadWholeFile(dir / "big", 50000).data.size(), 50000u);
}
