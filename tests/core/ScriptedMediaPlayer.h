#pragma once

#include <string>
#include <vector>

#include "ports/MediaPlayer.h"

namespace pelorin::testing {

// A media player whose playlist position follows a set (121) only after it has been
// asked for the position (120) a given number of times, as a slow player does; it
// records every command and query in order ("cmd 40047", "query 121 4").
class ScriptedMediaPlayer : public ports::MediaPlayer {
 public:
  bool Find() override { return running; }
  bool Running() const override { return running; }
  void Command(int command) override { log.push_back("cmd " + std::to_string(command)); }
  int Query(int request, int parameter) override {
    log.push_back("query " + std::to_string(request) + " " + std::to_string(parameter));
    if (request == kSetPlaylistPosition) requested_ = parameter;
    if (request != kPlaylistPosition) return 0;
    if (positionQueriesBeforeConfirming > 0) {
      --positionQueriesBeforeConfirming;
      return position;
    }
    position = requested_;
    return position;
  }
  void BringToFront() override { log.push_back("front"); }

  bool running = true;
  int position = 0;
  // Position queries answered with the old position before the new one holds; a huge
  // number makes a player that never follows.
  int positionQueriesBeforeConfirming = 0;
  std::vector<std::string> log;

 private:
  int requested_ = 0;
};

}  // namespace pelorin::testing
