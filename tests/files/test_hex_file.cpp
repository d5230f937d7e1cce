#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include <unistd.h>

#include "files/atomic_file.h"
#include "files/hex_file.h"

using namespace qm47;
namespace fs = std::filesystem;

namespace {
fs::path TempDir() {
  const fs::path dir = fs::temp_directory_path() / ("qm47-hex-" + std::to_string(::getpid()));
  fs::remove_all(dir);
  fs::create_directories(dir);
  return dir;
}
void WriteBytes(const fs::path& p, std::size_t n, char fill) {
  std::ofstream(p, std::ios::binary) << std::string(n, fill);
}
}  // namespace

TEST(HexFile, OnlyExactImageLengthPasses) {
  const fs::path dir = TempDir();
  WriteBytes(dir / "short.hex", 16383, 'a');
  WriteBytes(dir / "long.hex", 16385, 'a');
  WriteBytes(dir / "exact.hex", 16384, 'a');
  EXPECT_FALSE(HasImageLength((dir / "short.hex").string()));
  EXPECT_FALSE(HasImageLength((dir / "long.hex").string()));
  EXPECT_TRUE(HasImageLength((dir / "exact.hex").string()));
  EXPECT_FALSE(HasImageLength((dir / "missing.hex").string()));
  EXPECT_FALSE(HasImageLength(dir.string()));  // a folder is no image
  const HexReadResult r = ReadHexFile((dir / "exact.hex").string());
  ASSERT_FALSE(r.error);
  EXPECT_EQ(r.image.GetByte(16383), 'a');
  EXPECT_EQ(ReadHexFile((dir / "missing.hex").string()).error->number, 53);
  EXPECT_TRUE(ReadHexFile((dir / "long.hex").string()).error);
  fs::remove_all(dir);
}

TEST(HexFile, SavingReplacesALongerFileWhole) {
  const fs::path dir = TempDir();
  WriteBytes(dir / "radio.hex", 20000, 'z');
  MemoryImage img;
  img.SetByte(0, 0x10);
  ASSERT_FALSE(WriteHexFile((dir / "radio.hex").string(), img));
  EXPECT_EQ(fs::file_size(dir / "radio.hex"), 16384u);
  EXPECT_EQ(ReadHexFile((dir / "radio.hex").string()).image, img);
  // Nothing is left beside the target.
  EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 1);
  fs::remove_all(dir);
}

TEST(AtomicFile, ReadingStopsAtTheLimit) {
  const fs::path dir = TempDir();
  WriteBytes(dir / "big", 50000, 'b');
  const FileBytes r = ReadWholeFile((dir / "big").string(), 1000);
  EXPECT_TRUE(r.error);
  EXPECT_TRUE(r.data.empty());
  EXPECT_EQ(ReadWholeFile((dir / "big").string(), 50000).data.size(), 50000u);
  fs::remove_all(dir);
}
