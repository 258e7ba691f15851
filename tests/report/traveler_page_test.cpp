// The traveler page on a recording canvas: every text with its position in
// lines and columns, its font and its alignment, as the page is laid out.
#include "report/traveler_page.h"

#include <gtest/gtest.h>

#include "support/recording_canvas.h"
#include "support/traveler_sample.h"

namespace vs {
namespace {

using test::DrawCall;
using test::RecordingCanvas;

// A proportional default font 20 units wide and 50 high: columns of 30.
constexpr int kColumn = 30;
constexpr int kLine = 50;

RecordingCanvas printerCanvas() {
  RecordingCanvas canvas({20, kLine, false});
  canvas.setMetrics(FontRole::Fixed, {24, kLine, true});
  canvas.setMetrics(FontRole::Title, {60, 180, false});
  return canvas;
}

// One text as the page table gives it: line and column units plus offset.
struct Placed {
  std::string text;
  int column;
  int line;
  int offset;
  FontRole font;
  HAlign horizontal;
  VAlign vertical;
};

std::string describe(const DrawCall& call) {
  return "\"" + call.text + "\" at " + std::to_string(call.at.x) + "," + std::to_string(call.at.y) +
         " font " + std::to_string(static_cast<int>(call.state.font.role)) + " align " +
         std::to_string(static_cast<int>(call.state.horizontalAlign)) + "/" +
         std::to_string(static_cast<int>(call.state.verticalAlign));
}
std::string describe(const Placed& p) {
  DrawCall call;
  call.text = p.text;
  call.at = {p.column * kColumn, p.line * kLine + p.offset};
  call.state.font.role = p.font;
  call.state.horizontalAlign = p.horizontal;
  call.state.verticalAlign = p.vertical;
  return describe(call);
}

void expectPage(const RecordingCanvas& canvas, const std::vector<Placed>& expected) {
  std::vector<std::string> drawn;
  for (const DrawCall& call : canvas.of(test::Shape::Text)) drawn.push_back(describe(call));
  std::vector<std::string> wanted;
  for (const Placed& p : expected) wanted.push_back(describe(p));
  EXPECT_EQ(drawn, wanted);
}

constexpr auto T = FontRole::Title;
constexpr auto C = FontRole::Heavy;
constexpr auto V = FontRole::Fixed;
constexpr auto L = HAlign::Left;
constexpr auto R = HAlign::Right;
constexpr auto Top = VAlign::Top;
constexpr auto Bot = VAlign::Bottom;

// Everything down to the pressure heading, the same for every firmware.
std::vector<Placed> header(const char* software) {
  return {
      {"QX4", 32, 4, 0, T, L, Top},
      {"TRAVELER", 42, 4, 0, T, L, Top},
      {"Valve Serial #:", 8, 9, 0, C, L, Top},
      {"20517", 25, 9, 0, V, L, Top},
      {"Date:  ", 50, 9, 0, C, L, Top},
      {"3/7/2025", 65, 9, 0, V, L, Top},
      {"Board Serial #:", 8, 10, 0, C, L, Top},
      {"B-7731", 25, 10, 0, V, L, Top},
      {"Tech: ", 50, 10, 0, C, L, Top},
      {"R. Ames", 65, 10, 0, V, L, Top},
      {"Board Ver:", 8, 11, 0, C, L, Top},
      {"3", 25, 11, 0, V, L, Top},
      {"Engine Type:  ", 50, 11, 0, C, L, Top},
      {"G3516", 65, 11, 0, V, L, Top},
      {"Hardware Ver:", 8, 12, 0, C, L, Top},
      {"C", 25, 12, 0, V, L, Top},
      {"Customer: ", 50, 12, 0, C, L, Top},
      {"Northfield Gas", 65, 12, 0, V, L, Top},
      {"Software Ver:", 8, 13, 0, C, L, Top},
      {software, 25, 13, 0, V, L, Top},
      {"Part #: ", 8, 14, 0, C, L, Top},
      {"QX4-200-17", 25, 14, 0, V, L, Top},
      {"Pressure Settings", 8, 17, 0, C, L, Top},
  };
}

// A settings row: label, unit, then the value right-aligned.
void row(std::vector<Placed>& page, int line, const char* label, const char* value,
         const char* unit, int labelOffset = 1, int valueOffset = 1) {
  page.push_back({label, 11, line, labelOffset, V, L, Bot});
  if (*unit != '\0') page.push_back({unit, 45, line, 1, V, L, Bot});
  page.push_back({value, 44, line, valueOffset, V, R, Bot});
}

// From the oxygen heading on; `s` is -1 on firmware without the alternative
// start pressure row.
void settingsAndSignatures(std::vector<Placed>& page, int s, const char* o2, const char* o2Unit) {
  page.push_back({"Oxygen Sensor Settings", 8, 27 + s, 0, C, L, Bot});
  row(page, 29 + s, "O2 Set Point: ", o2, o2Unit);
  row(page, 30 + s, "O2 Integral Gain: ", "15", "");
  row(page, 31 + s, "O2 Warm-up Timer: ", "120", "sec.");
  page.push_back({"Actuator Settings", 8, 33 + s, 0, C, L, Bot});
  row(page, 35 + s, "Actuator Offset: ", "-40", "", 0);
  row(page, 36 + s, "Actuator Limit Factor: ", "4000", "", 0);
  page.push_back({"Governor Settings", 8, 38 + s, 0, C, L, Bot});
  row(page, 40 + s, "Speed Set Point: ", "1800", "RPM", 0);
  row(page, 41 + s, "Speed Proportional Gain (Min.): ", "50", "", 0);
  row(page, 42 + s, "Speed Proportional Gain (Max.): ", "200", "", 0);
  row(page, 43 + s, "Speed Integral Gain (Min.): ", "10", "", 0);
  row(page, 44 + s, "Speed Integral Gain (Max.): ", "60", "", 0, 3);
  row(page, 45 + s, "Idle Delay Timer: ", "30", "", 0, 3);
  row(page, 46 + s, "Speed Offset: ", "-12", "", 0, 3);
  row(page, 47 + s, "Speed Gain: ", "100", "", 0, 3);
  row(page, 48 + s, "Overspeed: ", "2070", "RPM", 0, 3);
  row(page, 49 + s, "Governor Offset: ", "5", "", 0, 3);
  row(page, 50 + s, "Crank Speed: ", "150", "RPM", 0, 3);
  page.push_back({"Comments", 8, 52 + s, 1, C, L, Bot});
  page.push_back({"Bearing check done. Replaced O2 sensor.", 11, 54 + s, 1, V, L, Bot});
  page.push_back({"Test Technician:_____________________________________ Date:_______________", 8,
                  60 + s, 0, V, L, Bot});
  page.push_back({"Q.C Inspector:_______________________________________ Date:_______________", 8,
                  62 + s, 0, V, L, Bot});
}

// Below 4.62 the alternative start pressure row is left out and every later
// line moves up by one.
TEST(TravelerPage, EveryTextStandsInItsLineAndColumn) {
  for (const int firmware : {462, 461}) {
    SCOPED_TRACE(firmware);
    TravelerReport report = test::sampleTravelerReport(firmware);
    report.commentLines = {"Bearing check done. ", "Replaced O2 sensor."};
    RecordingCanvas canvas = printerCanvas();
    drawTravelerPage(canvas, report, travelerTitleHeight(600));

    const int s = firmware >= 462 ? 0 : -1;
    std::vector<Placed> page = header(firmware >= 462 ? "4.62" : "4.61");
    row(page, 20, "Default Pressure: ", "3.500", "in. W.C.");
    row(page, 21, "Maximum Pressure Limit:", "24.000", "in. W.C.");
    row(page, 22, "Minimum Pressure Limit:", "-8.000", "in. W.C.");
    if (firmware >= 462) row(page, 23, "Alternative Start Pressure:", "2.000", "in. W.C.");
    row(page, 24 + s, "Pressure Proportional Gain: ", "250", "");
    row(page, 25 + s, "Pressure Integral Gain:", "60", "");
    settingsAndSignatures(page, s, "1.238", "AFR");  // 720 * 172 / 100000
    expectPage(canvas, page);

    const DrawCall& title = canvas.textCall("TRAVELER");
    EXPECT_EQ(title.state.font.height, 180);
    EXPECT_EQ(title.state.backgroundMode, BackgroundMode::Transparent);
  }
}

TEST(TravelerPage, BeforeFirmware440TheO2SetPointIsInVolts) {
  TravelerReport report = test::sampleTravelerReport(439);
  RecordingCanvas canvas = printerCanvas();
  drawTravelerPage(canvas, report, 180);
  EXPECT_TRUE(canvas.drewText("0.720"));
  EXPECT_TRUE(canvas.drewText("V"));
  EXPECT_FALSE(canvas.drewText("AFR"));
  EXPECT_EQ(canvas.textCall("V").at, (Point{45 * kColumn, 28 * kLine + 1}));
}

TEST(TravelerPage, FiveShortCommentLinesMakeTwoRows) {
  TravelerReport report = test::sampleTravelerReport(462);
  report.commentLines = {"one ", "two ", "three ", "four ", "five"};
  RecordingCanvas canvas = printerCanvas();
  drawTravelerPage(canvas, report, 180);
  EXPECT_EQ(canvas.textCall("one two three four ").at, (Point{11 * kColumn, 54 * kLine + 1}));
  EXPECT_EQ(canvas.textCall("five").at, (Point{11 * kColumn, 55 * kLine + 1}));

  // Sixteen lines fill the four rows; what follows is not printed.
  report.commentLines.assign(17, "x");
  RecordingCanvas full = printerCanvas();
  drawTravelerPage(full, report, 180);
  EXPECT_EQ(full.textCall("xxxx").at.y, 54 * kLine + 1);
  int rows = 0;
  for (const auto& text : full.texts()) rows += text == "xxxx";
  EXPECT_EQ(rows, 4);
}

TEST(TravelerPage, TheSignatureLinesAreEquallyLongSoTheirDatesLineUp) {
  RecordingCanvas canvas = printerCanvas();
  drawTravelerPage(canvas, test::sampleTravelerReport(462), 180);
  const auto texts = canvas.texts();
  const std::string technician = texts[texts.size() - 2];
  const std::string inspector = texts.back();
  EXPECT_EQ(technician.size(), 74u);
  EXPECT_EQ(inspector.size(), 74u);
  EXPECT_EQ(technician.find("Date:"), inspector.find("Date:"));
}

TEST(TravelerPage, AFixedPitchDefaultFontGivesColumnsOfOneCharacter) {
  RecordingCanvas canvas({20, kLine, true});
  drawTravelerPage(canvas, test::sampleTravelerReport(462), 180);
  EXPECT_EQ(canvas.textCall("TRAVELER").at, (Point{42 * 20, 4 * kLine}));
  EXPECT_EQ(travelerTitleHeight(1200), 360);
}

}  // namespace
}  // namespace vs
