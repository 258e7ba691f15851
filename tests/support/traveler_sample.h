#pragma once

#include "report/traveler_page.h"

namespace vs::test {

// A traveler page of a real-looking valve: the fields a technician types and
// the settings of a controller with `firmware`.
TravelerReport sampleTravelerReport(int firmware);

}  // namespace vs::test
