#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "registers/register_values.h"
#include "time/local_date_time.h"
#include "widgets/canvas.h"

namespace vs {

// What one traveler page shows: the fields the technician typed, the date,
// the firmware version and the settings registers as last read.
struct TravelerReport {
  std::string reportFor;  // the title's product name
  std::string boardSerial;
  std::string boardVersion;
  std::string hardwareVersion;
  std::string partNumber;
  std::string engineType;
  std::string customer;
  std::string technician;
  std::vector<std::string> commentLines;  // as displayed: wrapped lines count separately
  LocalDate date;
  int firmwareVersion = 0;  // hundredths
  // An O2 set point as an air-fuel ratio (firmware 4.40 on): o2_sp * scale / divisor.
  std::int16_t reportScale = 172;
  double reportDivisor = 100000.0;
  RegisterValues values;  // by register name; alt_start_pressure too from 4.62
};

// The title is 180 device units high on the 600 dpi printers the page was
// laid out for, and the same physical size elsewhere.
int travelerTitleHeight(int dotsPerInch);

// Draws the page in lines of the default font's height and columns of its
// character width (one and a half for a proportional font): captions in the
// heavy font, values, settings and signature lines in the fixed-pitch one.
void drawTravelerPage(Canvas& canvas, const TravelerReport& report, int titleHeight);

}  // namespace vs
