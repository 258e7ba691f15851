#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "forms/valve_link.h"

namespace vs {

// One of the poll's register reads.
struct LiveBlock {
  int first;
  int count;
};

// The poll: these four reads, in this order, every tick.
inline constexpr std::array<LiveBlock, 4> kLiveBlocks{{{12, 20}, {114, 10}, {39, 6}, {89, 2}}};

// The image in the record that block i of kLiveBlocks is read into (liveA to
// liveD).
std::int16_t* liveImage(ValveLink& link, std::size_t block);

// Live values 0 to 8 from the record's register images. The spare (9) is no
// register's and is left as it is.
void fillLiveValues(ValveLink& link);

}  // namespace vs
