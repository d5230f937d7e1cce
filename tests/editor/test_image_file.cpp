#include <gtest/gtest.h>

#include "editor/documents/image_file.h"
#include "model/codec.h"
#include "session_fixture.h"

using namespace qm47;
using qm47::testing::SessionFixture;

TEST(ImageFile, SavedImageOpensToTheSameRecord) {
  SessionFixture f(1);
  Session& s = f.session;
  s.record.CHUSA[32].ChTag = "MAYDAY";
  s.flags.dirty = true;
  ASSERT_TRUE(SaveImageFile(s, f.dir / "radio.hex"));
  EXPECT_TRUE(s.flags.dirty);  // saving an image changes neither flag nor file name
  EXPECT_TRUE(s.currentFileName.empty());
  const std::string bytes = f.dir.Read("radio.hex");
  ASSERT_EQ(bytes.size(), 16384u);
  unsigned sum = 0;
  for (int i = 66; i <= 94; ++i) sum += static_cast<unsigned char>(bytes[static_cast<std::size_t>(i)]);
  EXPECT_EQ(static_cast<unsigned char>(bytes[95]), sum % 256);

  NewImageSetup(s);
  ASSERT_TRUE(OpenImageFile(s, f.dir / "radio.hex"));
  EXPECT_EQ(s.record.CHUSA[32].ChTag, "MAYDAY");
  EXPECT_EQ(s.currentFileName, f.dir / "radio.hex");
  EXPECT_FALSE(s.flags.dirty);
  EXPECT_TRUE(f.ui.shown.empty());
  EXPECT_EQ(f.ui.pausedMs, 1000);  // after the save and after the open
}

TEST(ImageFile, WrongLengthAndWrongModelAreRefusedWithoutChanges) {
  SessionFixture f(2);
  Session& s = f.session;
  f.dir.Write("short.hex", std::string(16383, '\0'));
  f.dir.Write("model1.hex", f.Image(1));
  std::string halfMatch = f.Image(2);
  halfMatch[16383] = 0x09;  // second copy of the model code differs
  f.dir.Write("half.hex", halfMatch);
  s.record.CHUSA[0].ChTag = "UNSAVED";
  s.flags.dirty = true;
  const MemoryImage before = s.image;

  EXPECT_FALSE(OpenImageFile(s, f.dir / "short.hex"));
  EXPECT_FALSE(OpenImageFile(s, f.dir / "model1.hex"));
  EXPECT_FALSE(OpenImageFile(s, f.dir / "half.hex"));
  ASSERT_EQ(f.ui.shown.size(), 3u);
  EXPECT_EQ(f.ui.shown[0].text, "bad file!!");
  EXPECT_EQ(f.ui.shown[0].caption, "PC Program for TK520B");
  EXPECT_EQ(f.ui.shown[0].icon, Icon::Critical);
  EXPECT_EQ(f.ui.shown[1].text, "ModelType Error !!");
  EXPECT_EQ(f.ui.shown[1].caption, "Read from Radio");
  EXPECT_EQ(f.ui.shown[2].text, "ModelType Error !!");
  EXPECT_EQ(s.image, before);
  EXPECT_EQ(s.record.CHUSA[0].ChTag, "UNSAVED");
  EXPECT_TRUE(s.flags.dirty);
  EXPECT_TRUE(s.currentFileName.empty());
}

TEST(ImageFile, FailedSaveReportsLogsAndKeepsTheOldFile) {
  SessionFixture f(3);
  Session& s = f.session;
  std::filesystem::create_directories(f.dir.path() / "taken.hex");
  EXPECT_FALSE(SaveImageFile(s, f.dir / "taken.hex"));
  EXPECT_EQ(f.ui.Texts(), (std::vector<std::string>{"FileSave Error!!"}));
  EXPECT_EQ(f.ui.shown[0].icon, Icon::Exclamation);
  EXPECT_TRUE(std::filesystem::is_directory(f.dir.path() / "taken.hex"));
  EXPECT_NE(f.dir.Read("err.log").find("frmMain.SaveHexFileAs -> "), std::string::npos);
}
