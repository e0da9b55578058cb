#include <gtest/gtest.h>

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

TEST(LinuxDriveTable, WithoutCdDevicesOnlyTheRootFileSystem) {
  TempDir temp;
  lnx::LinuxDriveTable drives{temp / "no-dev", temp / "no-mounts"};
  EXPECT_EQ(drives.Drive('C').type, DriveType::Fixed);
  EXPECT_EQ(drives.Drive('D').type, DriveType::NoRootDir);
}

}  // namespace
}  // namespace pelorin
