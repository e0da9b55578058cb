#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <string>

#include "common/Drives.h"
#include "linux/LinuxDriveTable.h"
#include "sim/SimDriveTable.h"
#include "support/TempDir.h"

namespace pelorin {
namespace {

namespace fs = std::filesystem;
using ports::DriveType;
using testing::TempDir;
using testing::WriteBytes;

TEST(SimDriveTable, LettersSetByTheTest) {
  TempDir temp;
  sim::SimDriveTable drives;
  drives.SetDrive('c', DriveType::Fixed, temp.path());
  drives.SetDrive('E', DriveType::CdRom);               // a CD drive without a disc
  drives.SetDrive('1', DriveType::Fixed, temp.path());  // not a letter: ignored

  EXPECT_EQ(drives.Drive('C').type, DriveType::Fixed);
  EXPECT_EQ(drives.Drive('c').root, temp.path());
  EXPECT_EQ(drives.Drive('e').type, DriveType::CdRom);
  EXPECT_TRUE(drives.Drive('E').root.empty());
  for (char unset : {'A', 'D', 'Z', '1', '\0'}) {
    EXPECT_EQ(drives.Drive(unset).type, DriveType::NoRootDir) << unset;
    EXPECT_TRUE(drives.Drive(unset).root.empty()) << unset;
  }

  EXPECT_TRUE(DriveExists(drives, "C"));
  EXPECT_FALSE(DriveExists(drives, "E"));
  EXPECT_FALSE(DriveExists(drives, "D"));
  EXPECT_FALSE(DriveExists(drives, "C:"));

  drives.SetDrive('F', DriveType::CdRom, temp / "not-mounted-yet");
  EXPECT_FALSE(DriveExists(drives, "F"));
  fs::create_directory(temp / "not-mounted-yet");
  EXPECT_TRUE(DriveExists(drives, "f"));

  drives.RemoveDrive('c');
  EXPECT_EQ(drives.Drive('C').type, DriveType::NoRootDir);
  EXPECT_FALSE(DriveExists(drives, "C"));
}

TEST(SimDriveTable, SpaceIsTheSetOneWhileTheRootIsThere) {
  TempDir temp;
  sim::SimDriveTable drives;
  drives.SetDrive('C', DriveType::Fixed, temp / "c");
  drives.SetSpace('c', {1000, 5000});
  drives.SetSpace('D', {7, 8});           // no drive there: it reports none
  EXPECT_EQ(drives.Space('C').free, -1);  // the root is not there yet
  fs::create_directory(temp / "c");
  EXPECT_EQ(drives.Space('C').free, 1000);
  EXPECT_EQ(drives.Space('C').size, 5000);
  EXPECT_EQ(drives.Space('D').size, -1);
  EXPECT_EQ(drives.Space('?').size, -1);
  drives.RemoveDrive('C');
  drives.SetDrive('C', DriveType::Fixed, temp / "c");
  EXPECT_EQ(drives.Space('C').free, 0);
}

// A fake /dev with CD devices sr0, sr1, sr2 and sr10 (and names that only look
// alike), and a fake mount table.
class LinuxDriveTableTest : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const char* name : {"sr10", "sr1", "sda", "sr", "srx", "sr2", "sr0", "sr1a"}) {
      WriteBytes(dev / name, "");
    }
    fs::create_symlink(dev / "sr2", dev / "cdrom");
    fs::create_directories(media / "My Disc\\1");
  }

  void WriteMounts(const std::string& text) { WriteBytes(mounts, text); }

  TempDir temp;
  fs::path dev = temp / "dev";
  fs::path mounts = temp / "mounts";
  fs::path media = temp / "media";
  lnx::LinuxDriveTable drives{dev, mounts};
};

TEST_F(LinuxDriveTableTest, RootFileSystemAndCdDrivesInDeviceOrder) {
  // Blanks and backslashes in mount points are written as octal escapes; a disc
  // mounted through a link to its device counts too.
  WriteMounts(
      "proc /proc proc rw 0 0\n"
      "/dev/sda1 / ext4 rw 0 0\n" +
      dev.string() + "/sr1 " + media.string() + "/My\\040Disc\\1341 iso9660 ro 0 0\n" +
      dev.string() + "/cdrom /media/other udf ro 0 0\n");

  EXPECT_EQ(drives.Drive('C').type, DriveType::Fixed);
  EXPECT_EQ(drives.Drive('c').root, fs::path("/"));

  const struct {
    char letter;
    fs::path root;
  } cds[] = {{'D', {}}, {'E', media / "My Disc\\1"}, {'F', "/media/other"}, {'G', {}}};
  for (const auto& cd : cds) {
    EXPECT_EQ(drives.Drive(cd.letter).type, DriveType::CdRom) << cd.letter;
    EXPECT_EQ(drives.Drive(cd.letter).root, cd.root) << cd.letter;
  }
  for (char none : {'A', 'B', 'H', 'Z', '1'}) {
    EXPECT_EQ(drives.Drive(none).type, DriveType::NoRootDir) << none;
    EXPECT_TRUE(drives.Drive(none).root.empty()) << none;
  }

  EXPECT_TRUE(DriveExists(drives, "C"));
  EXPECT_FALSE(DriveExists(drives, "D"));
  EXPECT_TRUE(DriveExists(drives, "E"));
}

TEST_F(LinuxDriveTableTest, FollowsDiscsBeingMountedAndUnmounted) {
  WriteMounts("");
  EXPECT_TRUE(drives.Drive('D').root.empty());
  WriteMounts(dev.string() + "/sr0 " + media.string() + " iso9660 ro 0 0\n");
  EXPECT_EQ(drives.Drive('D').root, media);
  fs::remove(mounts);  // an unreadable mount table: the drives stay, without discs
  EXPECT_EQ(drives.Drive('D').type, DriveType::CdRom);
  EXPECT_TRUE(drives.Drive('D').root.empty());
}

TEST_F(LinuxDriveTableTest, SpaceOfTheFileSystemHoldingTheRoot) {
  WriteMounts(dev.string() + "/sr0 " + media.string() + " iso9660 ro 0 0\n");
  const ports::DiskSpace space = drives.Space('D');
  EXPECT_EQ(space.size, static_cast<std::int64_t>(fs::space(media).capacity));
  EXPECT_GE(space.free, 0);
  EXPECT_LE(space.free, space.size);
  const ports::DiskSpace root = drives.Space('C');
  EXPECT_GT(root.size, 0);

  // No root: no disc in E:, no drive Z:, not a letter, a mount point that is gone.
  for (char none : {'E', 'Z', '1'}) {
    EXPECT_EQ(drives.Space(none).free, -1) << none;
    EXPECT_EQ(drives.Space(none).size, -1) << none;
  }
  WriteMounts(dev.string() + "/sr0 " + (temp / "gone").string() + " iso9660 ro 0 0\n");
  EXPECT_EQ(drives.Space('D').free, -1);
  EXPECT_EQ(drives.Space('D').size, -1);
}

TEST(LinuxDriveTable, WithoutCdDevicesOnlyTheRootFileSystem) {
  TempDir temp;
  lnx::LinuxDriveTable drives{temp / "no-dev", temp / "no-mounts"};
  EXPECT_EQ(drives.Drive('C').type, DriveType::Fixed);
  EXPECT_EQ(drives.Drive('D').type, DriveType::NoRootDir);
}

}  // namespace
}  // namespace pelorin
