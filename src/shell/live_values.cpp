#include "shell/live_values.h"

namespace vs {

static_assert(kLiveBlocks[0].count == std::tuple_size_v<decltype(ValveLink::liveA)> &&
              kLiveBlocks[1].count == std::tuple_size_v<decltype(ValveLink::liveB)> &&
              kLiveBlocks[2].count == std::tuple_size_v<decltype(ValveLink::liveC)> &&
              kLiveBlocks[3].count == std::tuple_size_v<decltype(ValveLink::liveD)>);

std::int16_t* liveImage(ValveLink& link, std::size_t block) {
  switch (block) {
    case 0: return link.liveA.data();
    case 1: return link.liveB.data();
    case 2: return link.liveC.data();
    default: return link.liveD.data();
  }
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
