list(APPEND VS_CORE_SOURCES
  logging/clock.cpp
  logging/log_csv_export.cpp
  logging/log_file_name.cpp
  logging/log_file_reader.cpp
  logging/log_info.cpp
  logging/log_record.cpp
  logging/log_writer.cpp
  logging/playback_form.cpp
  logging/playback_state.cpp
)
