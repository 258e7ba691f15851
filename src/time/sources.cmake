list(APPEND VS_CORE_SOURCES
  time/local_date_time.cpp
)
list(APPEND VS_CORE_POSIX_SOURCES
  time/local_tm_posix.cpp
)
list(APPEND VS_CORE_WIN32_SOURCES
  time/local_tm_win32.cpp
)
