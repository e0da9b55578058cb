#include "linux/InstanceChannel.h"

#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QLocalSocket>
#include <algorithm>
#include <cstring>
#include <functional>
#include <future>
#include <optional>
#include <string>
#include <vector>

#include "linux/ChannelRecord.h"
#include "linux/InstanceLock.h"
#include "platform/QtTestApplication.h"
#include "support/TempDir.h"

namespace pelorin::lnx {
namespace {

namespace fs = std::filesystem;
using testing::ProcessEventsUntil;
using testing::ReadBytes;
using testing::TempDir;
using testing::WriteBytes;

// Another user for the tests that only root can run.
constexpr uid_t kOtherUid = 4242;

std::vector<fs::path> Listing(const fs::path& folder) {
  std::vector<fs::path> names;
  for (const auto& entry : fs::directory_iterator(folder))
    names.push_back(entry.path().filename());
  std::sort(names.begin(), names.end());
  return names;
}

// Binds a socket file at `path` that nobody listens on, as a crashed program leaves it.
void LeaveStaleSocket(const fs::path& path) {
  const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  std::strncpy(address.sun_path, path.c_str(), sizeof address.sun_path - 1);
  ASSERT_EQ(::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
  ::close(fd);
}

class InstanceTest : public ::testing::Test {
 protected:
  void SetUp() override {
    testing::EnsureQtApplication();
    fs::create_directories(paths.home);
    fs::create_directories(paths.runtime.path);
    ::chmod(paths.runtime.path.c_str(), 0700);
  }

  // Sends a line as the second copy of the suite does, from another thread, while this
  // thread runs the event loop that serves the channel.
  InstanceChannel::SendResult SendFromOutside(const std::string& line, const InstancePaths& from) {
    auto reply =
        std::async(std::launch::async, [&] { return InstanceChannel::Send(from, line, 10000); });
    ProcessEventsUntil(
        [&] { return reply.wait_for(std::chrono::seconds(0)) == std::future_status::ready; },
        20000);
    return reply.get();
  }
  std::optional<std::string> SendFromOutside(const std::string& line) {
    return SendFromOutside(line, paths).reply;
  }

  TempDir temp;
  InstancePaths paths{temp / "home", {temp / "run", false}, "pelorin-0123456789abcdef"};
};

TEST_F(InstanceTest, TheLockFileInTheHomeIsTheLockAndASecondTakerChangesNothing) {
  WriteBytes(paths.home / "pelorin.hf", "x");
  auto first = std::make_unique<InstanceLock>(paths);
  ASSERT_TRUE(first->Held());
  struct stat info {};
  ASSERT_EQ(::stat(paths.LockFile().c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0600u);
  ASSERT_EQ(first->WriteRecord({::getpid(), paths.SuiteSocket()}), "");
  const std::string record = ReadBytes(paths.LockFile());
  EXPECT_EQ(record, std::to_string(::getpid()) + "\n" + paths.SuiteSocket().string() + "\n");
  const auto homeBefore = Listing(paths.home);
  EXPECT_EQ(homeBefore, (std::vector<fs::path>{".pelorin-instance", "pelorin.hf"}));

  // Whatever its runtime folder: the lock depends on the home alone.
  InstancePaths otherEnvironment = paths;
  otherEnvironment.runtime.path = temp / "other-run";
  for (const InstancePaths& second : {paths, otherEnvironment}) {
    InstanceLock attempt(second);
    EXPECT_EQ(attempt.state(), InstanceLock::State::TakenByAnother);
    EXPECT_EQ(attempt.Error(), "");
  }
  EXPECT_TRUE(first->Held());  // the second's attempt did not release the first's lock
  EXPECT_EQ(Listing(paths.home), homeBefore);
  EXPECT_EQ(ReadBytes(paths.LockFile()), record);
  EXPECT_TRUE(Listing(paths.runtime.path).empty());
  EXPECT_FALSE(fs::exists(temp / "other-run"));

  // The holder ends: its record goes, the file stays, and the next start takes the lock.
  first.reset();
  EXPECT_EQ(ReadBytes(paths.LockFile()), "");
  EXPECT_TRUE(InstanceLock(otherEnvironment).Held());
}

TEST_F(InstanceTest, AMissingHomeIsCreatedPrivateAndALockFileThatCannotBeUsedIsReported) {
  InstancePaths fresh = paths;
  fresh.home = temp / "new" / "home";
  {
    InstanceLock lock(fresh);
    EXPECT_TRUE(lock.Held());
    struct stat info {};
    ASSERT_EQ(::stat(fresh.home.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0700u);
  }

  struct Case {
    const char* what;
    fs::path home;
    std::function<void(const fs::path& lockFile)> prepare;
    const char* reason;
  };
  const std::vector<Case> cases = {
      {"a home that is a file", temp / "file",
       [&](const fs::path&) { WriteBytes(temp / "file", "x"); }, "Not a directory"},
      {"a home under a file", temp / "file" / "home", [](const fs::path&) {}, "Not a directory"},
      {"a link in the lock file's place", temp / "linked",
       [&](const fs::path& lockFile) {
         fs::create_directories(lockFile.parent_path());
         WriteBytes(temp / "target", "");
         fs::create_symlink(temp / "target", lockFile);
       },
       "Too many levels of symbolic links"},
      {"a folder in the lock file's place", temp / "folder",
       [](const fs::path& lockFile) { fs::create_directories(lockFile); }, "Is a directory"},
  };
  for (const Case& c : cases) {
    InstancePaths broken = paths;
    broken.home = c.home;
    c.prepare(broken.LockFile());
    InstanceLock lock(broken);
    EXPECT_EQ(lock.state(), InstanceLock::State::Failed) << c.what;
    EXPECT_NE(lock.Error().find(broken.LockFile().string()), std::string::npos) << lock.Error();
    EXPECT_NE(lock.Error().find(c.reason), std::string::npos) << lock.Error();
  }

  if (::geteuid() == 0) {  // a lock file that another user made (and could hold)
    WriteBytes(paths.LockFile(), "");
    ASSERT_EQ(::chown(paths.LockFile().c_str(), kOtherUid, kOtherUid), 0);
    InstanceLock lock(paths);
    EXPECT_EQ(lock.state(), InstanceLock::State::Failed);
    EXPECT_NE(lock.Error().find("is not a file of this user"), std::string::npos) << lock.Error();
  }
}

TEST_F(InstanceTest, ChannelAnswersEachLineAndRemovesAStaleSocket) {
  // A crashed suite left its socket file and its record behind: nobody listens there.
  LeaveStaleSocket(paths.SuiteSocket());
  WriteBytes(paths.LockFile(), FormatChannelRecord({12345, paths.SuiteSocket()}));
  ::chmod(paths.LockFile().c_str(), 0600);
  const auto refused = InstanceChannel::Send(paths, "COMMAND 116", 1000);
  EXPECT_EQ(refused.reply, std::nullopt);
  EXPECT_NE(refused.error.find("no suite runs on " + paths.home.string()), std::string::npos)
      << refused.error;

  InstanceLock lock(paths);
  ASSERT_TRUE(lock.Held());
  EXPECT_EQ(ReadBytes(paths.LockFile()), "");  // the crashed suite's record is gone
  // Until the channel listens, a client learns that the suite runs but takes no commands.
  const auto early = InstanceChannel::Send(paths, "COMMAND 116", 1000);
  EXPECT_EQ(early.reply, std::nullopt);
  EXPECT_NE(early.error.find("runs but takes no commands"), std::string::npos) << early.error;
  std::vector<std::string> received;
  InstanceChannel channel(lock, [&](const std::string& line) {
    received.push_back(line);
    if (line == "TWO LINES") return std::string("first\nsecond\r");
    return line.rfind("COMMAND ", 0) == 0 ? std::string("OK") : std::string("UNKNOWN");
  });
  ASSERT_TRUE(channel.Listen()) << channel.Error();
  EXPECT_TRUE(channel.Listening());
  struct stat info {};
  ASSERT_EQ(::stat(paths.SuiteSocket().c_str(), &info), 0);
  EXPECT_TRUE(S_ISSOCK(info.st_mode));
  EXPECT_EQ(info.st_mode & 0777, 0600u);
  const auto record = ReadChannelRecord(paths.LockFile());
  ASSERT_TRUE(record);
  EXPECT_EQ(record->pid, ::getpid());
  EXPECT_EQ(record->socket, paths.SuiteSocket());

  EXPECT_EQ(SendFromOutside("COMMAND 116"), "OK");
  EXPECT_EQ(SendFromOutside("SIM INSERT D: Ünïcødé"), "UNKNOWN");
  EXPECT_EQ(SendFromOutside(""), "UNKNOWN");
  EXPECT_EQ(SendFromOutside("TWO LINES"), "first second ");
  // A line break would make two commands of one: refused before anything is sent.
  EXPECT_EQ(SendFromOutside("COMMAND 101\nCOMMAND 116"), std::nullopt);
  EXPECT_EQ(received,
            (std::vector<std::string>{"COMMAND 116", "SIM INSERT D: Ünïcødé", "", "TWO LINES"}));
}

TEST_F(InstanceTest, AClientOfAnotherEnvironmentFindsTheChannelByTheRecordInTheHome) {
  InstanceLock lock(paths);
  auto channel = std::make_unique<InstanceChannel>(
      lock, [](const std::string& line) { return "RUNNING " + line; });
  ASSERT_TRUE(channel->Listen()) << channel->Error();

  InstancePaths otherEnvironment = paths;
  otherEnvironment.runtime = {temp / "nowhere", true};
  EXPECT_EQ(SendFromOutside("COMMAND 116", otherEnvironment).reply, "RUNNING COMMAND 116");

  // Without the record, a client of the same environment still finds the channel where
  // its own runtime folder is.
  lock.ClearRecord();
  EXPECT_EQ(SendFromOutside("COMMAND 1"), "RUNNING COMMAND 1");
  EXPECT_EQ(SendFromOutside("COMMAND 1", otherEnvironment).reply, std::nullopt);

  // A malformed record (a part of one, as a reader may meet it while it is written) is
  // no record; nor is the record of another user.
  for (const char* bad : {"", "12", "12\n", "12\n/run/s", "x\n/run/s\n", "0\n/run/s\n",
                          "12\nrelative\n", "12\n/run/s\n/run/t\n"}) {
    EXPECT_EQ(ParseChannelRecord(bad), std::nullopt) << bad;
  }
  ASSERT_TRUE(ParseChannelRecord("12\n/run/s\n"));
  ASSERT_EQ(lock.WriteRecord({::getpid(), paths.SuiteSocket()}), "");
  if (::geteuid() == 0) {
    ASSERT_EQ(::chown(paths.LockFile().c_str(), kOtherUid, kOtherUid), 0);
    EXPECT_EQ(ReadChannelRecord(paths.LockFile()), std::nullopt);
    ASSERT_EQ(::chown(paths.LockFile().c_str(), ::getuid(), ::getgid()), 0);
  }

  // The channel takes its record with it.
  channel.reset();
  EXPECT_EQ(ReadBytes(paths.LockFile()), "");
  EXPECT_FALSE(fs::exists(paths.SuiteSocket()));
}

TEST_F(InstanceTest, OnlyTheLockHolderListens) {
  InstanceLock lock(paths);
  ASSERT_TRUE(lock.Held());
  InstanceChannel running(lock, [](const std::string&) { return std::string("RUNNING"); });
  ASSERT_TRUE(running.Listen());

  // A second copy of the suite: it does not hold the lock, so it neither removes the
  // running suite's socket nor listens; it talks to the running suite instead.
  InstanceLock secondLock(paths);
  ASSERT_FALSE(secondLock.Held());
  InstanceChannel second(secondLock, [](const std::string&) { return std::string("SECOND"); });
  EXPECT_FALSE(second.Listen());
  EXPECT_FALSE(second.Listening());
  EXPECT_EQ(SendFromOutside("COMMAND 116"), "RUNNING");
}

TEST_F(InstanceTest, ClientsThatSendNoProperLineDoNotBlockTheChannel) {
  InstanceLock lock(paths);
  InstanceChannel channel(lock, [](const std::string& line) { return "OK " + line; });
  ASSERT_TRUE(channel.Listen());

  // One client says nothing, another sends more than a line may hold.
  auto silent = std::async(std::launch::async, [&] {
    QLocalSocket socket;
    socket.connectToServer(QString::fromStdString(paths.SuiteSocket().string()));
    socket.waitForConnected(5000);
    return socket.waitForReadyRead(1000);
  });
  auto flood = std::async(std::launch::async, [&] {
    QLocalSocket socket;
    socket.connectToServer(QString::fromStdString(paths.SuiteSocket().string()));
    socket.waitForConnected(5000);
    const QByteArray bytes(InstanceChannel::kMaxLineBytes + 100, 'x');
    socket.write(bytes);
    socket.waitForBytesWritten(5000);
    while (socket.state() == QLocalSocket::ConnectedState && socket.waitForReadyRead(5000)) {
    }
    return socket.readAll().size();
  });
  EXPECT_EQ(SendFromOutside("COMMAND 116"), "OK COMMAND 116");
  ProcessEventsUntil([&] {
    return silent.wait_for(std::chrono::seconds(0)) == std::future_status::ready &&
           flood.wait_for(std::chrono::seconds(0)) == std::future_status::ready;
  });
  EXPECT_FALSE(silent.get());  // no reply to a line never sent
  EXPECT_EQ(flood.get(), 0);   // disconnected unanswered
}

// The exit status of a child process that runs `body` as another user.
pid_t AsOtherUser(const std::function<int()>& body) {
  const pid_t pid = ::fork();
  if (pid == 0) {
    if (::setgid(kOtherUid) != 0 || ::setuid(kOtherUid) != 0) ::_exit(100);
    ::_exit(body());
  }
  return pid;
}

std::optional<int> ExitStatusOnceEnded(pid_t pid) {
  int raw = 0;
  if (::waitpid(pid, &raw, WNOHANG) != pid) return std::nullopt;
  return WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
}

TEST_F(InstanceTest, TheSuiteDropsAConnectionOfAnotherUserUnread) {
  if (::geteuid() != 0) GTEST_SKIP() << "only root can act as another user";
  ::chmod(temp.path().c_str(), 0755);
  InstanceLock lock(paths);
  std::vector<std::string> received;
  InstanceChannel channel(lock, [&](const std::string& line) {
    received.push_back(line);
    return std::string("OK");
  });
  ASSERT_TRUE(channel.Listen());
  // Even with the folder and the socket opened to everyone, the peer check holds.
  ::chmod(paths.runtime.path.c_str(), 0777);
  ::chmod(paths.SuiteSocket().c_str(), 0777);

  const std::string socketPath = paths.SuiteSocket().string();
  const pid_t child = AsOtherUser([&] {
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strncpy(address.sun_path, socketPath.c_str(), sizeof address.sun_path - 1);
    if (::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) return 101;
    if (::send(fd, "COMMAND 116\n", 12, MSG_NOSIGNAL) != 12) return 0;  // dropped already
    char reply[16];
    return ::read(fd, reply, sizeof reply) > 0 ? 102 : 0;
  });
  ASSERT_GT(child, 0);
  std::optional<int> status;
  ProcessEventsUntil([&] { return (status = ExitStatusOnceEnded(child)).has_value(); });
  EXPECT_EQ(status, 0);
  EXPECT_TRUE(received.empty());
  EXPECT_EQ(SendFromOutside("COMMAND 1"), "OK");  // the owner is still served
}

TEST_F(InstanceTest, AClientSendsNothingToAChannelOfAnotherUser) {
  if (::geteuid() != 0) GTEST_SKIP() << "only root can act as another user";
  ::chmod(temp.path().c_str(), 0755);
  ::chmod(paths.runtime.path.c_str(), 0777);
  const std::string socketPath = paths.SuiteSocket().string();
  int ready[2];
  ASSERT_EQ(::pipe(ready), 0);
  // Another user's program listens where the suite's channel would be.
  const pid_t child = AsOtherUser([&] {
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strncpy(address.sun_path, socketPath.c_str(), sizeof address.sun_path - 1);
    if (::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        ::listen(fd, 1) != 0) {
      return 101;
    }
    [[maybe_unused]] const ssize_t said = ::write(ready[1], "r", 1);
    const int client = ::accept(fd, nullptr, nullptr);
    char line[64];
    return ::read(client, line, sizeof line) > 0 ? 102 : 0;  // what the client gave away
  });
  ASSERT_GT(child, 0);
  char r = 0;
  ASSERT_EQ(::read(ready[0], &r, 1), 1);

  const auto sent = InstanceChannel::Send(paths, "COMMAND 116", 5000);
  EXPECT_EQ(sent.reply, std::nullopt);
  EXPECT_NE(sent.error.find("belongs to another user (uid 4242)"), std::string::npos) << sent.error;
  int raw = 0;
  ASSERT_EQ(::waitpid(child, &raw, 0), child);
  EXPECT_TRUE(WIFEXITED(raw));
  EXPECT_EQ(WEXITSTATUS(raw), 0);
  ::close(ready[0]);
  ::close(ready[1]);
}

}  // namespace
}  // namespace pelorin::lnx
