#pragma once

#include <chrono>
#include <cstdint>
#include <deque>
#include <map>
#include <mutex>
#include <optional>
#include <random>
#include <string_view>
#include <utility>

namespace vs::sim {

// What can go wrong with one reply.
enum class FaultKind {
  None,
  NoReply,       // the request is carried out, the reply is lost
  WrongCrc,      // the reply's CRC is spoiled
  WrongAddress,  // the reply names another slave
  Exception,     // an exception reply instead of carrying the request out
  LateReply,     // the reply comes after FaultSettings::lateBy
  Garbage,       // noise bytes run straight into the reply
  Continuous,    // noise instead of the reply, for FaultSettings::babble
  PartialFrame,  // only the first half of the reply
};

// "no-reply", "wrong-crc", ... as on the qx4-sim command line.
std::string_view faultName(FaultKind kind);
std::optional<FaultKind> faultFromName(std::string_view name);

struct FaultSettings {
  int exceptionCode = 4;  // slave device failure
  std::chrono::milliseconds lateBy{1500};
  int garbageBytes = 8;
  std::chrono::milliseconds babble{2000};
  // Before every reply, faulty or not: a slow device, or a USB adapter that
  // holds what it receives.
  std::chrono::milliseconds replyDelay{0};
};

// Decides, request by request, which fault the next reply suffers: first the
// faults queued for the next N requests, in order, then each probability in
// turn. "Silent" is the pulled cable: no request reaches the controller.
// Seeded, so a run with the same requests fails the same way. Thread-safe.
class FaultInjector {
 public:
  explicit FaultInjector(std::uint64_t seed);

  // None queues healthy replies, so that a fault queued after them strikes a
  // later request.
  void injectNext(FaultKind kind, int requests);
  void setProbability(FaultKind kind, double probability);  // 0 removes it
  void setSilent(bool silent);
  bool silent() const;
  void setSettings(const FaultSettings& settings);
  FaultSettings settings() const;
  // Back to a healthy line: no queued faults, no probabilities, not silent.
  void clear();

  // The fault for a request the controller would answer.
  FaultKind next();
  // Seeded noise for garbage and continuous transmission.
  std::uint8_t noiseByte();

 private:
  mutable std::mutex mutex_;
  std::deque<std::pair<FaultKind, int>> queued_;
  std::map<FaultKind, double> probabilities_;
  bool silent_ = false;
  FaultSettings settings_;
  std::mt19937_64 random_;
};

}  // namespace vs::sim
