#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <optional>
#include <vector>

namespace vs::sim {

// Length of the request frame that starts at `bytes` (address, function code,
// data, CRC) when its function code fixes it; 0 when more bytes must arrive
// to tell; -1 when the function code has no known layout.
int requestFrameLength(const std::uint8_t* bytes, std::size_t available);

// Cuts the byte stream a slave receives into request frames and stray bytes.
// A frame is found by its function code's layout and a good CRC; anything
// else is passed over byte by byte, and whatever is still undecided when the
// line falls silent (a frame with an unknown function code, a frame cut
// short, text such as "OUT") is settled then.
//
// Time is the line's: each byte finishes one character time after the one
// before it, or after its arrival if that is later, so that on a pty, where a
// whole frame arrives at once, a frame still takes its line time to come in.
class FrameAssembler {
 public:
  using TimePoint = std::chrono::steady_clock::time_point;
  using Duration = std::chrono::steady_clock::duration;

  struct Piece {
    bool frame = false;  // else stray bytes
    std::vector<std::uint8_t> bytes;
    TimePoint end;  // when its last byte finished on the line
  };

  // charTime 0: the line takes no time (unpaced).
  FrameAssembler(Duration charTime, Duration silence) : charTime_(charTime), silence_(silence) {}

  void push(const std::uint8_t* bytes, std::size_t count, TimePoint arrival);
  // The next frame or run of stray bytes that can be told at `now`.
  std::optional<Piece> next(TimePoint now);
  // When the bytes still pending will be settled by silence; nothing if none.
  std::optional<TimePoint> settlesAt() const;

 private:
  enum class Step { Frame, Stray, Wait };
  Step decide(std::size_t& frameLength, bool silent) const;
  std::vector<std::uint8_t> take(std::size_t count);

  Duration charTime_;
  Duration silence_;
  std::deque<std::uint8_t> bytes_;
  std::deque<TimePoint> ends_;
};

}  // namespace vs::sim
