#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "forms/valve_link.h"
#include "link/modbus_master.h"

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

// One poll tick's reads as the link worker makes them, kept apart from the
// state record until the tick's result is handled on the window's thread.
struct LiveRead {
  int slave = 1;
  std::array<std::int16_t, 20> a{};  // 12 x 20
  std::array<std::int16_t, 10> b{};  // 114 x 10
  std::array<std::int16_t, 6> c{};   // 39 x 6
  std::array<std::int16_t, 2> d{};   // 89 x 2
  std::array<std::int32_t, 4> results{};
};

// Reads the four live blocks in order and stops at the first that fails: on
// a dead line every further block would only add its own time-outs. The
// blocks not read are left at zero, as a failed read leaves its block, with
// the result -1. True when all four were read.
bool readLiveBlocks(ModbusMaster& master, LiveRead& read);

// The tick's register images and results into the record.
void takeLiveRead(ValveLink& link, const LiveRead& read);

// Live values 0 to 8 from the record's register images. The spare (9) is no
// register's and is left as it is.
void fillLiveValues(ValveLink& link);

}  // namespace vs
