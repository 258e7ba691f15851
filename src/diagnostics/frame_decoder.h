#pragma once

#include <string>
#include <string_view>

#include "link/frame_trace.h"

namespace vs {

// What was wrong with a traced frame, if anything.
enum class FrameProblem {
  None,
  NotSent,        // the request did not (wholly) go out: a line that never fell quiet, a stuck write
  PortFailed,     // the port failed while sending or receiving
  NoReply,        // nothing came back within the time-out
  Short,          // part of a reply, then nothing
  Crc,            // the reply's CRC does not match its bytes
  WrongSlave,     // a reply from another slave
  WrongFunction,  // a reply for another function code
  Exception,      // the slave refused the request
  BadContent,     // a byte count or an echo that does not match the request
  LateReply,      // a whole frame that came after its exchange had given up
  Noise,          // bytes that make no frame
};

struct DecodedFrame {
  FrameProblem problem = FrameProblem::None;
  // One line for a person: slave, function, registers by number and name,
  // values signed (and unsigned where they differ), what was wrong.
  std::string summary;
};

// The problem alone, without building any text: for filters and statistics.
FrameProblem frameProblem(const TracedFrame& frame);
DecodedFrame decodeFrame(const TracedFrame& frame);

// "read holding registers", "write single register" ...; empty for a code the
// master does not send.
std::string_view functionName(int function);
// "illegal data address" ...; empty for a code without a standard name.
std::string_view exceptionName(int code);

}  // namespace vs
