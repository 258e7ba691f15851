#include "report/traveler_page.h"

#include <cstdio>
#include <string_view>

namespace vs {
namespace {

constexpr Font kCaption{FontRole::Heavy, 0};
constexpr Font kValue{FontRole::Fixed, 0};
// From 4.62 the pressure section has one row more, which moves every later line.
constexpr int kAltStartFirmware = 462;
constexpr int kAirFuelFirmware = 440;

std::string withDecimals(double value, int decimals) {
  char text[48];
  std::snprintf(text, sizeof text, "%.*f", decimals, value);
  return text;
}

std::string thousandths(std::int32_t value) { return withDecimals(value / 1000.0, 3); }

struct Setting {
  const char* label;
  std::string value;
  const char* unit = "";
};

// Where a settings row puts its label and its value, relative to its line.
struct RowOffsets {
  int label = 1;
  int value = 1;
  int lateValue = 1;  // the value offset from row `lateFrom` on
  std::size_t lateFrom = 0;
};

// Lines and columns of the page in device units.
class PageGrid {
 public:
  PageGrid(Canvas& canvas, int column, int line) : canvas_(canvas), column_(column), line_(line) {}

  void put(const Font& font, int column, int line, int offset, std::string_view text) {
    if (text.empty()) return;
    canvas_.setFont(font);
    canvas_.text({column * column_, line * line_ + offset}, text);
  }
  void align(HAlign horizontal, VAlign vertical) { canvas_.setTextAlign(horizontal, vertical); }
  void heading(int line, int offset, std::string_view text) {
    align(HAlign::Left, VAlign::Bottom);
    put(kCaption, 8, line, offset, text);
  }
  // Labels from column 11, values ending at column 44, units from column 45.
  void settings(int firstLine, const std::vector<Setting>& rows, RowOffsets offsets) {
    int line = firstLine;
    std::size_t index = 0;
    for (const Setting& row : rows) {
      align(HAlign::Left, VAlign::Bottom);
      put(kValue, 11, line, offsets.label, row.label);
      put(kValue, 45, line, 1, row.unit);
      align(HAlign::Right, VAlign::Bottom);
      const bool late = offsets.lateFrom != 0 && index >= offsets.lateFrom;
      put(kValue, 44, line, late ? offsets.lateValue : offsets.value, row.value);
      ++line;
      ++index;
    }
  }

 private:
  Canvas& canvas_;
  int column_;
  int line_;
};

// Row k of the comment is the k-th group of four displayed lines run together;
// what lies beyond four rows is not printed.
std::vector<std::string> commentRows(const std::vector<std::string>& lines) {
  std::vector<std::string> rows;
  for (std::size_t first = 0; first < lines.size() && rows.size() < 4; first += 4) {
    std::string row;
    for (std::size_t i = first; i < first + 4 && i < lines.size(); ++i) row += lines[i];
    rows.push_back(std::move(row));
  }
  return rows;
}

}  // namespace

int travelerTitleHeight(int dotsPerInch) { return 180 * dotsPerInch / 600; }

void drawTravelerPage(Canvas& canvas, const TravelerReport& report, int titleHeight) {
  canvas.setFont({FontRole::Default, 0});
  const TextMetrics metrics = canvas.textMetrics();
  const int column = (metrics.fixedPitch ? 2 : 3) * metrics.averageCharWidth / 2;
  PageGrid page(canvas, column, metrics.height);
  const RegisterValues& v = report.values;
  const int firmware = report.firmwareVersion;

  // Paper is white already; nothing is painted behind the texts.
  canvas.setBackgroundMode(BackgroundMode::Transparent);
  canvas.setTextColour(kBlack);
  page.align(HAlign::Left, VAlign::Top);
  const Font title{FontRole::Title, titleHeight};
  page.put(title, 32, 4, 0, std::string_view(report.reportFor).substr(0, 9));
  page.put(title, 42, 4, 0, "TRAVELER");

  char date[48];
  std::snprintf(date, sizeof date, "%u/%u/%u", static_cast<unsigned>(report.date.month),
                static_cast<unsigned>(report.date.day), static_cast<unsigned>(report.date.year));
  // Captions at columns 8 and 50, their values at 25 and 65.
  const struct {
    int line;
    int column;
    const char* caption;
    std::string value;
  } header[] = {
      {9, 8, "Valve Serial #:", std::to_string(v.get("serial_number"))},
      {9, 50, "Date:  ", date},
      {10, 8, "Board Serial #:", report.boardSerial},
      {10, 50, "Tech: ", report.technician},
      {11, 8, "Board Ver:", report.boardVersion},
      {11, 50, "Engine Type:  ", report.engineType},
      {12, 8, "Hardware Ver:", report.hardwareVersion},
      {12, 50, "Customer: ", report.customer},
      {13, 8, "Software Ver:", withDecimals(firmware / 100.0, 2)},
      {14, 8, "Part #: ", report.partNumber},
  };
  for (const auto& field : header) {
    page.put(kCaption, field.column, field.line, 0, field.caption);
    page.put(kValue, field.column == 8 ? 25 : 65, field.line, 0, field.value);
  }
  page.put(kCaption, 8, 17, 0, "Pressure Settings");

  const auto value = [&v](const char* name) { return std::to_string(v.get(name)); };
  const auto pressure = [&v](const char* name) { return thousandths(v.get(name)); };
  const char* inches = "in. W.C.";
  const bool altStart = firmware >= kAltStartFirmware;
  std::vector<Setting> pressureRows = {
      {"Default Pressure: ", pressure("default_pressure"), inches},
      {"Maximum Pressure Limit:", pressure("max_pressure"), inches},
      {"Minimum Pressure Limit:", pressure("min_pressure"), inches},
      {"Pressure Proportional Gain: ", value("pressure_prop")},
      {"Pressure Integral Gain:", value("pressure_intgral")}};
  if (altStart) {
    pressureRows.insert(pressureRows.begin() + 3,
                        {"Alternative Start Pressure:", pressure("alt_start_pressure"), inches});
  }
  page.settings(20, pressureRows, {});
  const int shift = altStart ? 0 : -1;

  const bool airFuel = firmware >= kAirFuelFirmware;
  const std::int32_t o2SetPoint = v.get("o2_sp");
  page.heading(27 + shift, 0, "Oxygen Sensor Settings");
  page.settings(29 + shift,
                {{"O2 Set Point: ",
                  airFuel ? withDecimals(o2SetPoint * report.reportScale / report.reportDivisor, 3)
                          : thousandths(o2SetPoint),
                  airFuel ? "AFR" : "V"},
                 {"O2 Integral Gain: ", value("o2_intgral")},
                 {"O2 Warm-up Timer: ", value("warmup_timer_start"), "sec."}},
                {});

  page.heading(33 + shift, 0, "Actuator Settings");
  page.settings(
      35 + shift,
      {{"Actuator Offset: ", value("act_offset")}, {"Actuator Limit Factor: ", value("act_limit")}},
      {.label = 0});

  const char* rpm = "RPM";
  page.heading(38 + shift, 0, "Governor Settings");
  page.settings(40 + shift,
                {{"Speed Set Point: ", value("requested_speed"), rpm},
                 {"Speed Proportional Gain (Min.): ", value("speed_p_min")},
                 {"Speed Proportional Gain (Max.): ", value("speed_p_max")},
                 {"Speed Integral Gain (Min.): ", value("speed_i_min")},
                 {"Speed Integral Gain (Max.): ", value("speed_i_max")},
                 {"Idle Delay Timer: ", value("idle_delay")},
                 {"Speed Offset: ", value("speed_offset")},
                 {"Speed Gain: ", value("speed_gain")},
                 {"Overspeed: ", value("overspeed"), rpm},
                 {"Governor Offset: ", value("gov_offset")},
                 {"Crank Speed: ", value("crank_speed"), rpm}},
                {.label = 0, .value = 1, .lateValue = 3, .lateFrom = 4});

  page.heading(52 + shift, 1, "Comments");
  int line = 54 + shift;
  for (const std::string& row : commentRows(report.commentLines)) {
    page.put(kValue, 11, line++, 1, row);
  }
  page.put(kValue, 8, 60 + shift, 0,
           "Test Technician:_____________________________________ Date:_______________");
  page.put(kValue, 8, 62 + shift, 0,
           "Q.C Inspector:_______________________________________ Date:_______________");
}

}  // namespace vs
