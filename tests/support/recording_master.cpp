#include "support/recording_master.h"

namespace vs::test {
namespace {

int word(const std::uint8_t* bytes) { return (bytes[0] << 8) | bytes[1]; }

}  // namespace

std::string RecordedRequest::text() const {
  std::string out = std::to_string(function) + ":" + std::to_string(firstRegister);
  if (function == 6) return out + "=" + std::to_string(values.empty() ? 0 : values[0]);
  return out + "x" + std::to_string(count);
}

int RecordingMaster::transact(int slave, int function, const std::uint8_t* request,
                              int requestLength, std::uint8_t* reply, int replyLength) {
  ++sent;
  if (beforeRequest) beforeRequest(sent);
  RecordedRequest recorded;
  recorded.slave = slave;
  recorded.function = function;
  if (requestLength >= 4) {
    recorded.firstRegister = word(request) + 1;
    recorded.count = word(request + 2);
  }
  if (function == 6) {
    recorded.count = 1;
    recorded.values.push_back(static_cast<std::int16_t>(word(request + 2)));
  } else if (function == 16) {
    for (int i = 0; i < recorded.count && 5 + 2 * i + 1 < requestLength; ++i) {
      recorded.values.push_back(static_cast<std::int16_t>(word(request + 5 + 2 * i)));
    }
  }
  recorded.result = line_.transact(slave, function, request, requestLength, reply, replyLength);
  if (function == 3 && recorded.result == 0) {
    for (int i = 0; i < recorded.count && 1 + 2 * i + 1 < replyLength; ++i) {
      recorded.values.push_back(static_cast<std::int16_t>(word(reply + 1 + 2 * i)));
    }
  }
  requests.push_back(std::move(recorded));
  return requests.back().result;
}

std::vector<std::string> RecordingMaster::texts(int function) const {
  std::vector<std::string> out;
  for (const auto& r : requests) {
    if (function == 0 || r.function == function) out.push_back(r.text());
  }
  return out;
}

}  // namespace vs::test
