list(APPEND VS_CORE_SOURCES
  files/replacing_file.cpp
)
