#include "common/Files.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <string>
#include <vector>

#include "support/TempDir.h"

namespace pelorin {
namespace {

namespace fs = std::filesystem;
using testing::ReadBytes;
using testing::TempDir;
using testing::WriteBytes;
using Names = std::vector<std::string>;

TEST(FileNameParts, DirectoryAndExtension) {
  struct Case {
    const char* name;
    const char* directory;
    const char* extension;
  };
  const Case cases[] = {
      {"/home/u/Profiles/MASTER/note.hif", "/home/u/Profiles/MASTER/", "hif"},
      {"/media/disc/Music/song.tar.MP3", "/media/disc/Music/", "MP3"},
      {"plain", "", ""},
      {"name.", "", ""},
      {"/dir/", "/dir/", ""},
      // A dot in a directory name is not an extension (~/.local/share/...).
      {"/home/u/.local/share/pelorin/System/Snd/ring", "/home/u/.local/share/pelorin/System/Snd/",
       ""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(FileDirectory(c.name), c.directory) << c.name;
    EXPECT_EQ(FileExtension(c.name), c.extension) << c.name;
  }
}

TEST(SplitCommandLine, ProgramAndParameters) {
  struct Case {
    const char* line;
    const char* program;
    const char* parameters;
  };
  const Case cases[] = {
      {"\"/opt/My Programs/run me\" -x", "/opt/My Programs/run me", "-x"},
      {"\"/opt/My Programs/run me\"", "/opt/My Programs/run me", ""},
      {"\"/opt/prog\"/s", "/opt/prog", "/s"},  // no blank: nothing of the parameters is lost
      {"\"/opt/unclosed -x", "/opt/unclosed -x", ""},
      {"gedit /tmp/a b.txt", "gedit", "/tmp/a b.txt"},
      {"gedit", "gedit", ""},
      {"gedit ", "gedit", ""},
  };
  for (const Case& c : cases) {
    std::string program = "old";
    std::string parameters = "old";
    EXPECT_TRUE(SplitCommandLine(c.line, program, parameters)) << c.line;
    EXPECT_EQ(program, c.program) << c.line;
    EXPECT_EQ(parameters, c.parameters) << c.line;
  }
  std::string program = "old";
  std::string parameters = "old";
  EXPECT_FALSE(SplitCommandLine("", program, parameters));
  EXPECT_EQ(program, "");
  EXPECT_EQ(parameters, "");
}

// A folder of sounds: files of either case, a hidden file, a read-only file and
// subdirectories, created out of order.
class FileListing : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const char* name : {"b.wav", "c.txt", "A.WAV", ".hidden.wav", "ring"}) {
      WriteBytes(dir / name, "x");
    }
    WriteBytes(dir / "sub" / "inner.wav", "x");
    fs::create_directories(dir / ".cache");
    fs::create_directories(dir / "Alarm.wav");  // a directory whose name fits the mask
    fs::create_symlink(dir / "b.wav", dir / "link.wav");
  }

  TempDir temp;
  fs::path dir = temp / "Snd";
};

TEST_F(FileListing, ListFilesSortedWithoutDirectories) {
  Names names{"stale"};
  EXPECT_TRUE(ListFiles(dir / "*.wav", false, names));
  EXPECT_EQ(names, (Names{"A.WAV", "b.wav", "link.wav"}));
  EXPECT_TRUE(ListFiles(dir / "*.wav", true, names));
  EXPECT_EQ(names, (Names{".hidden.wav", "A.WAV", "b.wav", "link.wav"}));
  EXPECT_TRUE(ListFiles(dir / "*.*", false, names));
  EXPECT_EQ(names, (Names{"A.WAV", "b.wav", "c.txt", "link.wav", "ring"}));
  EXPECT_FALSE(ListFiles(dir / "*.mp3", true, names));
  EXPECT_TRUE(names.empty());
}

TEST_F(FileListing, ListEntriesIncludesDirectories) {
  Names names;
  EXPECT_TRUE(ListEntries(dir / "*.wav", false, names));
  EXPECT_EQ(names, (Names{"A.WAV", "Alarm.wav", "b.wav", "link.wav"}));
  EXPECT_TRUE(ListEntries(dir / "*", true, names));
  EXPECT_EQ(names, (Names{".cache", ".hidden.wav", "A.WAV", "Alarm.wav", "b.wav", "c.txt",
                          "link.wav", "ring", "sub"}));
}

TEST_F(FileListing, ListSubdirectories) {
  Names names{"stale"};
  EXPECT_TRUE(ListSubdirectories(dir, false, names));
  EXPECT_EQ(names, (Names{"Alarm.wav", "sub"}));
  EXPECT_TRUE(ListSubdirectories(dir.string() + "/", true, names));
  EXPECT_EQ(names, (Names{".cache", "Alarm.wav", "sub"}));
  EXPECT_FALSE(ListSubdirectories(dir / "sub", true, names));
  EXPECT_TRUE(names.empty());
}

TEST_F(FileListing, MissingOrNonDirectoryListsNothing) {
  Names names{"stale"};
  EXPECT_FALSE(ListFiles(temp / "missing" / "*.*", true, names));
  EXPECT_TRUE(names.empty());
  EXPECT_FALSE(ListEntries(dir / "ring" / "*.*", true, names));
  EXPECT_FALSE(ListSubdirectories(temp / "missing", true, names));
  EXPECT_FALSE(FindFilesDeep(temp / "missing", "*.*", true, true, names));
}

// A disc-like tree: files at every level, a hidden file and a hidden folder, and a
// link back to the root.
class DeepSearch : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const char* file : {"z.mp3", "readme.txt", ".dot.mp3", "b/w.MP3", "a/x.mp3",
                             "a/deep/y.mp3", ".hid/h.mp3", "a/deep/.also/n.mp3"}) {
      WriteBytes(root / file, "x");
    }
    fs::create_directory_symlink(root, root / "a" / "loop");
  }

  std::string R(const std::string& tail) const { return root.string() + "/" + tail; }

  TempDir temp;
  fs::path root = temp / "disc";
};

TEST_F(DeepSearch, FilesInPreOrderOfDirectories) {
  Names names{"stale"};
  EXPECT_TRUE(FindFilesDeep(root, "*.mp3", false, false, names));
  EXPECT_EQ(names, (Names{R("z.mp3"), R("a/x.mp3"), R("a/deep/y.mp3"), R("b/w.MP3")}));
}

TEST_F(DeepSearch, HiddenFilesButNoHiddenFolders) {
  Names names;
  EXPECT_TRUE(FindFilesDeep(root.string() + "/", "*.mp3", true, false, names));
  EXPECT_EQ(names,
            (Names{R(".dot.mp3"), R("z.mp3"), R("a/x.mp3"), R("a/deep/y.mp3"), R("b/w.MP3")}));
}

TEST_F(DeepSearch, DirectoriesListedButLinksNotFollowed) {
  Names names;
  EXPECT_TRUE(FindFilesDeep(root, "*", false, true, names));
  EXPECT_EQ(names, (Names{R("a"), R("b"), R("readme.txt"), R("z.mp3"), R("a/deep"), R("a/loop"),
                          R("a/x.mp3"), R("a/deep/y.mp3"), R("b/w.MP3")}));
  EXPECT_FALSE(FindFilesDeep(root, "*.none", true, true, names));
  EXPECT_TRUE(names.empty());
}

TEST(DeleteFiles, OrdinaryAndReadOnlyFilesThatMatch) {
  TempDir temp;
  const fs::path dir = temp / "Data";
  for (const char* name : {"a.tmp", "B.TMP", "locked.tmp", "keep.txt", ".hidden.tmp"}) {
    WriteBytes(dir / name, "x");
  }
  fs::permissions(dir / "locked.tmp", fs::perms::owner_read | fs::perms::group_read);
  fs::create_directories(dir / "folder.tmp");

  EXPECT_TRUE(DeleteFiles(dir, "*.tmp"));
  Names left;
  ListEntries(dir / "*", true, left);
  EXPECT_EQ(left, (Names{".hidden.tmp", "folder.tmp", "keep.txt"}));
  EXPECT_FALSE(DeleteFiles(dir, "*.tmp"));
  EXPECT_FALSE(DeleteFiles(temp / "missing", "*.*"));
}

TEST(DeleteDirectory, RemovedOnlyWhenNothingIsLeft) {
  TempDir temp;
  WriteBytes(temp / "plain" / "a.txt", "x");
  WriteBytes(temp / "plain" / "b", "x");
  WriteBytes(temp / "hidden" / "visible.txt", "x");
  WriteBytes(temp / "hidden" / ".keep", "x");
  WriteBytes(temp / "nested" / "inner" / "c.txt", "x");
  WriteBytes(temp / "target" / "precious.txt", "x");
  fs::create_directory_symlink(temp / "target", temp / "link");

  EXPECT_TRUE(DeleteDirectory(temp.path().string() + "/plain/"));
  EXPECT_FALSE(PathExists(temp / "plain"));

  EXPECT_FALSE(DeleteDirectory(temp / "hidden"));
  EXPECT_FALSE(PathExists(temp / "hidden" / "visible.txt"));
  EXPECT_TRUE(PathExists(temp / "hidden" / ".keep"));

  EXPECT_FALSE(DeleteDirectory(temp / "nested"));
  EXPECT_TRUE(PathExists(temp / "nested" / "inner" / "c.txt"));

  EXPECT_FALSE(DeleteDirectory(temp / "missing"));
  // A link to a directory is not a directory to empty.
  EXPECT_FALSE(DeleteDirectory(temp / "link"));
  EXPECT_TRUE(PathExists(temp / "target" / "precious.txt"));
}

TEST(PathExists, FilesAndDirectories) {
  TempDir temp;
  WriteBytes(temp / "file", "x");
  fs::create_directory_symlink(temp / "gone", temp / "dangling");
  EXPECT_TRUE(PathExists(temp / "file"));
  EXPECT_TRUE(PathExists(temp.path()));
  EXPECT_FALSE(PathExists(temp / "missing"));
  EXPECT_FALSE(PathExists(temp / "dangling"));
  EXPECT_FALSE(PathExists(""));
}

class FileBlocks : public ::testing::Test {
 protected:
  void SetUp() override {
    for (int i = 0; i < 10000; ++i)
      content.push_back(static_cast<char>(i % 251));
    WriteBytes(file, content);
  }

  TempDir temp;
  fs::path file = temp / "page.rtf";
  std::string content;
};

TEST_F(FileBlocks, ReadFileBlockCountsAndOffsets) {
  struct Case {
    std::size_t count;
    std::size_t offset;
    std::size_t expected;
  };
  const Case cases[] = {
      {0, 0, 10000},    // count 0: the whole file
      {0, 4095, 5905},  // to the end from a piece boundary
      {4097, 1, 4097},  // across two pieces
      {100, 9950, 50},  // cut at the end
      {10, 10000, 0},   // at the end
      {0, 20000, 0},    // beyond the end
  };
  for (const Case& c : cases) {
    std::string buffer = "stale";
    EXPECT_EQ(ReadFileBlock(file, buffer, c.count, c.offset), static_cast<long long>(c.expected))
        << c.count << " from " << c.offset;
    EXPECT_EQ(buffer, content.substr(std::min(c.offset, content.size()), c.expected));
  }
  EXPECT_EQ(FileSizeOf(file), 10000u);
}

TEST_F(FileBlocks, MissingFileOrDirectory) {
  std::string buffer = "stale";
  EXPECT_EQ(ReadFileBlock(temp / "missing", buffer), -1);
  EXPECT_EQ(ReadFileBlock(temp.path(), buffer), -1);
  EXPECT_TRUE(buffer.empty());
  EXPECT_EQ(FileSizeOf(temp / "missing"), 0u);
  EXPECT_EQ(FileSizeOf(temp.path()), 0u);
}

TEST_F(FileBlocks, WriteFileBlockReplacesTheWholeFile) {
  EXPECT_EQ(WriteFileBlock(file, "short"), 5);
  EXPECT_EQ(ReadBytes(file), "short");  // no tail of the longer old file
  EXPECT_EQ(WriteFileBlock(temp / "new.hif", ""), 0);
  EXPECT_TRUE(PathExists(temp / "new.hif"));
  EXPECT_EQ(FileSizeOf(temp / "new.hif"), 0u);
}

TEST_F(FileBlocks, WriteFileBlockReportsFailure) {
  // The parent is a regular file: nothing can be created below it.
  EXPECT_EQ(WriteFileBlock(file / "inside.hif", "data"), -1);
  EXPECT_EQ(ReadBytes(file), content);
  Names names;
  ListFiles(temp / "*", true, names);
  EXPECT_EQ(names, (Names{"page.rtf"}));
}

}  // namespace
}  // namespace pelorin
