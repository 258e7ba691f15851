#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>

#include "forms/link_worker.h"
#include "journal/journaling_master.h"
#include "link/modbus_master.h"

namespace vs {

// The master the main window's commands and the dialogs use, on the window's
// thread: each request is laid out here, exchanged by `target` on the link
// worker while the window's event loop goes on, and its reply checked here,
// so a sequence of requests still reads as one. A request made once a stop
// has been asked for is not sent and gives MODBUS_CANCELLED.
//
// Every register a request writes is journaled by `target`, under the action
// the window's side names (LineAction): each request takes the action along
// to the worker, so a line never carries another job's action.
class LineMaster final : public ModbusMaster {
 public:
  LineMaster(LinkWorker& worker, JournalingMaster& target) : worker_(worker), target_(target) {}

  int transact(int slave, int function, const std::uint8_t* request, int requestLength,
               std::uint8_t* reply, int replyLength) override;

  // Runs `work` on the worker with the journaling master, under the current
  // action, while the window's event loop goes on: for what the journal must
  // hear beside the requests (the backup before a download). False, without
  // running it, once a stop has been asked for.
  bool withJournal(const std::function<void(JournalingMaster&)>& work);

 private:
  friend class LineAction;
  struct Action {
    std::string name;
    std::filesystem::path file;
  };

  LinkWorker& worker_;
  JournalingMaster& target_;
  Action action_;  // the window's side
  // The exchange in hand, copied in and out on the window's thread; the
  // worker touches them only while the window waits for it.
  Action jobAction_;
  int slave_ = 0;
  int function_ = 0;
  int requestLength_ = 0;
  int replyLength_ = 0;
  int result_ = 0;
  std::uint8_t request_[kScratchSize] = {};
  std::uint8_t reply_[kScratchSize] = {};
};

// The action (and the settings file, if any) that the journal names for every
// register written through the master while it lives: a main-window command
// holds one named after its menu item around its reads, its dialog and its
// writes. When it goes, the action it replaced is back, so actions nest.
class LineAction {
 public:
  LineAction(LineMaster& master, std::string name, std::filesystem::path file = {});
  ~LineAction();
  LineAction(const LineAction&) = delete;
  LineAction& operator=(const LineAction&) = delete;

 private:
  LineMaster& master_;
  LineMaster::Action previous_;
};

}  // namespace vs
