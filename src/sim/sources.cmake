list(APPEND VS_CORE_SOURCES
  sim/controller_defaults.cpp
  sim/engine_model.cpp
  sim/fault_injector.cpp
  sim/frame_assembler.cpp
  sim/loopback_master.cpp
  sim/rtu_slave.cpp
  sim/simulated_controller.cpp
  sim/simulated_port_master.cpp
)
list(APPEND VS_CORE_POSIX_SOURCES
  sim/pty_simulator.cpp
)
