list(APPEND VS_CORE_SOURCES
  diagnostics/frame_decoder.cpp
  diagnostics/latency_histogram.cpp
  diagnostics/line_advice.cpp
  diagnostics/line_monitor.cpp
  diagnostics/link_statistics.cpp
  diagnostics/monitor_text.cpp
  diagnostics/tick_recorder.cpp
)
