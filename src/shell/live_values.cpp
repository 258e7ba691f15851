#include "shell/live_values.h"

#include <algorithm>

namespace vs {
namespace {

static_assert(kLiveBlocks[0].count == std::tuple_size_v<decltype(ValveLink::liveA)> &&
              kLiveBlocks[1].count == std::tuple_size_v<decltype(ValveLink::liveB)> &&
              kLiveBlocks[2].count == std::tuple_size_v<decltype(ValveLink::liveC)> &&
              kLiveBlocks[3].count == std::tuple_size_v<decltype(ValveLink::liveD)>);
static_assert(sizeof(LiveRead::a) == sizeof(ValveLink::liveA) &&
              sizeof(LiveRead::b) == sizeof(ValveLink::liveB) &&
              sizeof(LiveRead::c) == sizeof(ValveLink::liveC) &&
              sizeof(LiveRead::d) == sizeof(ValveLink::liveD));

// The result kept for a block that was not read because an earlier one failed.
constexpr std::int32_t kNotRead = -1;

std::int16_t* image(LiveRead& read, std::size_t block) {
  switch (block) {
    case 0: return read.a.data();
    case 1: return read.b.data();
    case 2: return read.c.data();
    default: return read.d.data();
  }
}

}  // namespace

std::int16_t* liveImage(ValveLink& link, std::size_t block) {
  switch (block) {
    case 0: return link.liveA.data();
    case 1: return link.liveB.data();
    case 2: return link.liveC.data();
    default: return link.liveD.data();
  }
}

bool readLiveBlocks(ModbusMaster& master, LiveRead& read) {
  bool allRead = true;
  for (std::size_t i = 0; i < kLiveBlocks.size(); ++i) {
    const LiveBlock& block = kLiveBlocks[i];
    if (allRead) {
      read.results[i] =
          master.readHoldingRegisters(read.slave, block.first, image(read, i), block.count);
      allRead = read.results[i] == 0;
    } else {
      std::fill_n(image(read, i), block.count, std::int16_t{0});
      read.results[i] = kNotRead;
    }
  }
  return allRead;
}

void takeLiveRead(ValveLink& link, const LiveRead& read) {
  link.liveA = read.a;
  link.liveB = read.b;
  link.liveC = read.c;
  link.liveD = read.d;
  link.readResults = read.results;
}

void fillLiveValues(ValveLink& link) {
  const auto& a = link.liveA;  // from register 12
  LiveValues& v = link.liveValues;
  v[LIVE_O2_SET_POINT] = link.liveB[114 - 114];
  v[LIVE_O2_FEEDBACK] = a[12 - 12];
  v[LIVE_PRESSURE] = a[19 - 12];
  v[LIVE_ACTUATOR] = a[21 - 12];
  v[LIVE_ANALOG_INPUT] = a[26 - 12];
  v[LIVE_MODE] = link.liveC[43 - 39];
  v[LIVE_PRESSURE_SET_POINT] = a[20 - 12];
  v[LIVE_PRE_CAT_TEMP] = link.liveD[89 - 89];
  v[LIVE_POST_CAT_TEMP] = link.liveD[90 - 89];
}

}  // namespace vs
