list(APPEND VS_CORE_SOURCES
  widgets/bar_indicator.cpp
  widgets/dial_gauge.cpp
  widgets/number_text.cpp
  widgets/palette.cpp
  widgets/trend_chart.cpp
)
