#include "linux/InstanceChannel.h"

#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstring>
#include <future>
#include <optional>
#include <string>
#include <vector>

#include <QLocalSocket>
#include "linux/InstanceLock.h"
#include "platform/QtTestApplication.h"
#include "support/TempDir.h"

namespace pelorin::lnx {
namespace {

namespace fs = std::filesystem;
using testing::ProcessEventsUntil;
using testing::ReadBytes;
using testing::TempDir;

class InstanceTest : public ::testing::Test {
 protected:
  void SetUp() override { testing::EnsureQtApplication(); }

  // Sends a line as the second copy of the suite does, from another thread, while this
  // thread runs the event loop that serves the channel.
  std::optional<std::string> SendFromOutside(const std::string& line) {
    auto reply =
        std::async(std::launch::async, [&] { return InstanceChannel::Send(paths, line, 10000); });
    ProcessEventsUntil(
        [&] { return reply.wait_for(std::chrono::seconds(0)) == std::future_status::ready; },
        20000);
    return reply.get();
  }

  TempDir temp;
  InstancePaths paths{temp.path(), "pelorin-0123456789abcdef"};
};

TEST_F(InstanceTest, SecondTakerOfTheLockFailsAndChangesNothing) {
  auto first = std::make_unique<InstanceLock>(paths);
  ASSERT_TRUE(first->Held());
  const std::string content = ReadBytes(paths.LockFile());
  EXPECT_EQ(content, std::to_string(::getpid()) + "\n");
  struct stat info {};
  ASSERT_EQ(::stat(paths.LockFile().c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0600u);

  {
    InstanceLock second(paths);
    EXPECT_FALSE(second.Held());
  }
  EXPECT_TRUE(first->Held());  // the second's attempt did not release the first's lock
  EXPECT_EQ(ReadBytes(paths.LockFile()), content);
  std::vector<fs::path> files;
  for (const auto& entry : fs::directory_iterator(temp.path()))
    files.push_back(entry.path());
  EXPECT_EQ(files, std::vector<fs::path>{paths.LockFile()});

  // Once the holder ends, the next start takes the lock.
  first.reset();
  InstanceLock next(paths);
  EXPECT_TRUE(next.Held());
}

TEST_F(InstanceTest, ChannelAnswersEachLineAndRemovesAStaleSocket) {
  // A crashed suite left its socket file behind: nobody listens there.
  {
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strncpy(address.sun_path, paths.SuiteSocket().c_str(), sizeof address.sun_path - 1);
    ASSERT_EQ(::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    ::close(fd);
  }
  ASSERT_TRUE(fs::exists(paths.SuiteSocket()));
  EXPECT_EQ(InstanceChannel::Send(paths, "COMMAND 116", 1000), std::nullopt);

  InstanceLock lock(paths);
  ASSERT_TRUE(lock.Held());
  std::vector<std::string> received;
  InstanceChannel channel(lock, [&](const std::string& line) {
    received.push_back(line);
    if (line == "TWO LINES") return std::string("first\nsecond\r");
    return line.rfind("COMMAND ", 0) == 0 ? std::string("OK") : std::string("UNKNOWN");
  });
  ASSERT_TRUE(channel.Listen());
  EXPECT_TRUE(channel.Listening());

  EXPECT_EQ(SendFromOutside("COMMAND 116"), "OK");
  EXPECT_EQ(SendFromOutside("SIM INSERT D: Ünïcødé"), "UNKNOWN");
  EXPECT_EQ(SendFromOutside(""), "UNKNOWN");
  EXPECT_EQ(SendFromOutside("TWO LINES"), "first second ");
  // A line break would make two commands of one: refused before anything is sent.
  EXPECT_EQ(SendFromOutside("COMMAND 101\nCOMMAND 116"), std::nullopt);
  EXPECT_EQ(received,
            (std::vector<std::string>{"COMMAND 116", "SIM INSERT D: Ünïcødé", "", "TWO LINES"}));
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

}  // namespace
}  // namespace pelorin::lnx
