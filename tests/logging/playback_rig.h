#pragma once

#include "logging/playback_form.h"
#include "support/scripted_desktop.h"
#include "support/temp_dir.h"
#include "widgets/trend_chart.h"

namespace vs::test {

// The playback form on a real page loader and chart, a scripted main window
// and a fresh folder for log files, with the date picker on 5 March 2006. The
// chart keeps its default capacity of 10 slots: pages of 11 records that start
// at records 0, 10, 20, ...
struct PlaybackRig {
  TempDir dir;
  TrendChart chart;
  ValveLink link;
  PlaybackState state{chart, link};
  ScriptedDesktop desktop;
  PlaybackForm form{state, desktop, dir.path(), {2006, 3, 5}};
};

}  // namespace vs::test
