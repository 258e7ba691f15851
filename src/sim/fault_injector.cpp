#include "sim/fault_injector.h"

#include <array>

namespace vs::sim {
namespace {

constexpr std::array<std::pair<FaultKind, std::string_view>, 9> kNames = {{
    {FaultKind::None, "none"},
    {FaultKind::NoReply, "no-reply"},
    {FaultKind::WrongCrc, "wrong-crc"},
    {FaultKind::WrongAddress, "wrong-address"},
    {FaultKind::Exception, "exception"},
    {FaultKind::LateReply, "late-reply"},
    {FaultKind::Garbage, "garbage"},
    {FaultKind::Continuous, "continuous"},
    {FaultKind::PartialFrame, "partial-frame"},
}};

}  // namespace

std::string_view faultName(FaultKind kind) {
  for (const auto& [k, name] : kNames) {
    if (k == kind) return name;
  }
  return "none";
}

std::optional<FaultKind> faultFromName(std::string_view name) {
  for (const auto& [kind, n] : kNames) {
    if (n == name) return kind;
  }
  return std::nullopt;
}

FaultInjector::FaultInjector(std::uint64_t seed) : random_(seed) {}

void FaultInjector::injectNext(FaultKind kind, int requests) {
  if (requests <= 0) return;
  std::lock_guard lock(mutex_);
  queued_.emplace_back(kind, requests);
}

void FaultInjector::setProbability(FaultKind kind, double probability) {
  std::lock_guard lock(mutex_);
  if (probability > 0 && kind != FaultKind::None) {
    probabilities_[kind] = probability;
  } else {
    probabilities_.erase(kind);
  }
}

void FaultInjector::setSilent(bool silent) {
  std::lock_guard lock(mutex_);
  silent_ = silent;
}

bool FaultInjector::silent() const {
  std::lock_guard lock(mutex_);
  return silent_;
}

void FaultInjector::setSettings(const FaultSettings& settings) {
  std::lock_guard lock(mutex_);
  settings_ = settings;
}

FaultSettings FaultInjector::settings() const {
  std::lock_guard lock(mutex_);
  return settings_;
}

void FaultInjector::clear() {
  std::lock_guard lock(mutex_);
  queued_.clear();
  probabilities_.clear();
  silent_ = false;
}

FaultKind FaultInjector::next() {
  std::lock_guard lock(mutex_);
  if (!queued_.empty()) {
    auto& [kind, left] = queued_.front();
    const FaultKind fault = kind;
    if (--left == 0) queued_.pop_front();
    return fault;
  }
  for (const auto& [kind, probability] : probabilities_) {
    if (std::uniform_real_distribution<double>(0.0, 1.0)(random_) < probability) return kind;
  }
  return FaultKind::None;
}

std::uint8_t FaultInjector::noiseByte() {
  std::lock_guard lock(mutex_);
  return static_cast<std::uint8_t>(random_() & 0xFFu);
}

}  // namespace vs::sim
