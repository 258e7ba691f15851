list(APPEND VS_CORE_SOURCES
  forms/command_frame.cpp
  forms/form.cpp
  forms/line_master.cpp
  forms/link_worker.cpp
)
