#pragma once

#include <array>
#include <cstdint>

namespace vs {

// Latencies in microseconds, counted in buckets that keep every value within
// 1/64 of itself (exact below 128 µs), so that a day of polling takes the same
// few kilobytes as a minute and any percentile is read in one pass.
class LatencyHistogram {
 public:
  void add(std::int64_t micros);
  void clear() { *this = LatencyHistogram(); }

  std::int64_t count() const { return count_; }
  std::int64_t min() const { return count_ > 0 ? min_ : 0; }
  std::int64_t max() const { return count_ > 0 ? max_ : 0; }
  // The least value at or below which `fraction` (0 to 1) of the samples lie,
  // as the top of its bucket (so never below the true one); 0 when empty.
  std::int64_t percentile(double fraction) const;

 private:
  static constexpr int kSubBuckets = 64;
  static constexpr std::int64_t kLargest = (std::int64_t{1} << 31) - 1;  // 35 minutes
  static constexpr int kBuckets = 2 * kSubBuckets + 24 * kSubBuckets;

  static int bucketOf(std::int64_t micros);
  static std::int64_t topOf(int bucket);

  std::array<std::uint32_t, kBuckets> buckets_{};
  std::int64_t count_ = 0;
  std::int64_t min_ = 0;
  std::int64_t max_ = 0;
};

}  // namespace vs
