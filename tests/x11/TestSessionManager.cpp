#include "TestSessionManager.h"

#include <poll.h>

#include <algorithm>
#include <cstdlib>

namespace pelorin::testing {
namespace {

Bool AcceptAnyHost(char*) {
  return True;
}

}  // namespace

TestSessionManager::TestSessionManager() {
  char error[256] = {};
  if (!SmsInitialize(const_cast<char*>("pelorin-test"), const_cast<char*>("1.0"), NewClient, this,
                     AcceptAnyHost, sizeof error, error)) {
    return;
  }
  if (!IceListenForConnections(&listenerCount_, &listeners_, sizeof error, error)) return;
  for (int i = 0; i < listenerCount_; ++i)
    IceSetHostBasedAuthProc(listeners_[i], AcceptAnyHost);
  char* ids = IceComposeNetworkIdList(listenerCount_, listeners_);
  // A client connects to the first address it can reach; the local socket is enough.
  const std::string all = ids;
  std::free(ids);
  address_ = all.substr(0, all.find(','));
}

TestSessionManager::~TestSessionManager() {
  for (IceConn connection : connections_)
    IceCloseConnection(connection);
  if (listeners_ != nullptr) IceFreeListenObjs(listenerCount_, listeners_);
}

Status TestSessionManager::NewClient(SmsConn connection, SmPointer data, unsigned long* mask,
                                     SmsCallbacks* callbacks, char**) {
  auto* self = static_cast<TestSessionManager*>(data);
  self->client_ = connection;
  *mask = SmsRegisterClientProcMask | SmsInteractRequestProcMask | SmsInteractDoneProcMask |
          SmsSaveYourselfRequestProcMask | SmsSaveYourselfP2RequestProcMask |
          SmsSaveYourselfDoneProcMask | SmsCloseConnectionProcMask | SmsSetPropertiesProcMask |
          SmsDeletePropertiesProcMask | SmsGetPropertiesProcMask;
  callbacks->register_client.callback = [](SmsConn c, SmPointer d, char* previousId) -> Status {
    std::free(previousId);
    char* id = SmsGenerateClientID(c);
    SmsRegisterClientReply(c, id);
    std::free(id);
    static_cast<TestSessionManager*>(d)->registered_ = true;
    return 1;
  };
  callbacks->register_client.manager_data = self;
  callbacks->interact_request.callback = [](SmsConn c, SmPointer, int) { SmsInteract(c); };
  callbacks->interact_done.callback = [](SmsConn, SmPointer, Bool) {};
  callbacks->save_yourself_request.callback = [](SmsConn, SmPointer, int, Bool, int, Bool, Bool) {};
  callbacks->save_yourself_phase2_request.callback = [](SmsConn c, SmPointer) {
    SmsSaveYourselfPhase2(c);
  };
  callbacks->save_yourself_done.callback = [](SmsConn, SmPointer d, Bool success) {
    auto* manager = static_cast<TestSessionManager*>(d);
    manager->saveDone_ = true;
    manager->saveSucceeded_ = success;
  };
  callbacks->save_yourself_done.manager_data = self;
  callbacks->close_connection.callback = [](SmsConn c, SmPointer d, int count, char** reasons) {
    SmFreeReasons(count, reasons);
    auto* manager = static_cast<TestSessionManager*>(d);
    manager->closed_ = true;
    manager->closing_.push_back(SmsGetIceConnection(c));
    SmsCleanUp(c);
    manager->client_ = nullptr;
  };
  callbacks->close_connection.manager_data = self;
  callbacks->set_properties.callback = [](SmsConn, SmPointer, int count, SmProp** properties) {
    for (int i = 0; i < count; ++i)
      SmFreeProperty(properties[i]);
    std::free(properties);
  };
  callbacks->delete_properties.callback = [](SmsConn, SmPointer, int count, char** names) {
    for (int i = 0; i < count; ++i)
      std::free(names[i]);
    std::free(names);
  };
  callbacks->get_properties.callback = [](SmsConn c, SmPointer) {
    SmsReturnProperties(c, 0, nullptr);
  };
  return 1;
}

bool TestSessionManager::RunUntil(const std::function<bool()>& done,
                                  std::chrono::milliseconds limit) {
  const auto deadline = std::chrono::steady_clock::now() + limit;
  while (!done()) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    std::vector<pollfd> fds;
    for (int i = 0; i < listenerCount_; ++i)
      fds.push_back({IceGetListenConnectionNumber(listeners_[i]), POLLIN, 0});
    for (IceConn connection : connections_)
      fds.push_back({IceConnectionNumber(connection), POLLIN, 0});
    if (::poll(fds.data(), fds.size(), 50) <= 0) continue;
    for (int i = 0; i < listenerCount_; ++i) {
      if ((fds[static_cast<std::size_t>(i)].revents & POLLIN) == 0) continue;
      IceAcceptStatus status;
      IceConn connection = IceAcceptConnection(listeners_[i], &status);
      if (connection == nullptr) continue;
      // The ICE handshake runs before the connection counts as open.
      while (IceConnectionStatus(connection) == IceConnectPending) {
        if (IceProcessMessages(connection, nullptr, nullptr) == IceProcessMessagesIOError) break;
      }
      if (IceConnectionStatus(connection) == IceConnectAccepted) {
        connections_.push_back(connection);
      } else {
        IceCloseConnection(connection);
      }
    }
    const std::vector<IceConn> open = connections_;
    for (std::size_t i = 0; i < open.size(); ++i) {
      if ((fds[static_cast<std::size_t>(listenerCount_) + i].revents & (POLLIN | POLLHUP)) == 0) {
        continue;
      }
      if (IceProcessMessages(open[i], nullptr, nullptr) == IceProcessMessagesIOError) {
        closed_ = true;
        closing_.push_back(open[i]);
      }
    }
    // Closed only here, once ICE no longer works on them.
    for (IceConn connection : closing_) {
      const auto found = std::find(connections_.begin(), connections_.end(), connection);
      if (found == connections_.end()) continue;
      connections_.erase(found);
      IceSetShutdownNegotiation(connection, False);
      IceCloseConnection(connection);
    }
    closing_.clear();
  }
  return true;
}

bool TestSessionManager::WaitForClient(std::chrono::milliseconds limit) {
  return RunUntil([this] { return registered_; }, limit);
}

bool TestSessionManager::SaveYourselfForShutdown(std::chrono::milliseconds limit, bool& success) {
  if (client_ == nullptr) return false;
  saveDone_ = false;
  SmsSaveYourself(client_, SmSaveBoth, True, SmInteractStyleAny, False);
  const bool done = RunUntil([this] { return saveDone_; }, limit);
  success = saveSucceeded_;
  return done;
}

bool TestSessionManager::Die(std::chrono::milliseconds limit) {
  if (client_ == nullptr) return false;
  SmsDie(client_);
  return RunUntil([this] { return closed_; }, limit);
}

}  // namespace pelorin::testing
