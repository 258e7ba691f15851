list(APPEND VS_CORE_SOURCES
  link/crc16.cpp
  link/master_result.cpp
)
