list(APPEND VS_CORE_SOURCES
  forms/command_frame.cpp
)
