#include "diagnostics/latency_histogram.h"

#include <algorithm>
#include <bit>
#include <cmath>

namespace vs {

// Values below 2 x kSubBuckets have a bucket each. Above, a value with b
// significant bits keeps its top seven: the bucket is its magnitude (b - 7)
// and those bits.
int LatencyHistogram::bucketOf(std::int64_t micros) {
  const auto v = static_cast<std::uint64_t>(std::clamp<std::int64_t>(micros, 0, kLargest));
  if (v < 2 * kSubBuckets) return static_cast<int>(v);
  const int shift = std::bit_width(v) - 7;
  const int top = static_cast<int>(v >> shift);  // 64 to 127
  return 2 * kSubBuckets + (shift - 1) * kSubBuckets + (top - kSubBuckets);
}

std::int64_t LatencyHistogram::topOf(int bucket) {
  if (bucket < 2 * kSubBuckets) return bucket;
  const int shift = (bucket - 2 * kSubBuckets) / kSubBuckets + 1;
  const std::int64_t top = (bucket - 2 * kSubBuckets) % kSubBuckets + kSubBuckets;
  return ((top + 1) << shift) - 1;
}

void LatencyHistogram::add(std::int64_t micros) {
  micros = std::clamp<std::int64_t>(micros, 0, kLargest);
  ++buckets_[static_cast<std::size_t>(bucketOf(micros))];
  min_ = count_ == 0 ? micros : std::min(min_, micros);
  max_ = count_ == 0 ? micros : std::max(max_, micros);
  ++count_;
}

std::int64_t LatencyHistogram::percentile(double fraction) const {
  if (count_ == 0) return 0;
  const auto rank = std::clamp<std::int64_t>(
      static_cast<std::int64_t>(std::ceil(std::clamp(fraction, 0.0, 1.0) * count_)), 1, count_);
  std::int64_t seen = 0;
  for (int bucket = 0; bucket < kBuckets; ++bucket) {
    seen += buckets_[static_cast<std::size_t>(bucket)];
    if (seen >= rank) return std::clamp(topOf(bucket), min_, max_);
  }
  return max_;
}

}  // namespace vs
