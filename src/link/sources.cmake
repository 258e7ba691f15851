list(APPEND VS_CORE_SOURCES
  link/crc16.cpp
  link/deadline_timer.cpp
  link/frame_recorder.cpp
  link/frame_trace.cpp
  link/master_result.cpp
  link/modbus_master.cpp
  link/modbus_rtu_master.cpp
  link/modbus_serial_master.cpp
  link/port_problems.cpp
  link/send_exit_command.cpp
  link/serial_devices.cpp
  link/serial_stream.cpp
  link/serial_stream_buf.cpp
)
list(APPEND VS_CORE_POSIX_SOURCES
  link/port_problems_posix.cpp
  link/posix_tty.cpp
  link/serial_devices_posix.cpp
  link/serial_port_posix.cpp
  link/serial_stream_buf_posix.cpp
)
list(APPEND VS_CORE_WIN32_SOURCES
  link/port_problems_win32.cpp
  link/serial_devices_win32.cpp
  link/serial_port_win32.cpp
  link/serial_stream_buf_win32.cpp
  link/win32_comm.cpp
)
