#pragma once

#include <cstdint>

namespace vs {

// How a view shows a CSV export while it runs on the user-interface thread.
class ExportProgress {
 public:
  virtual ~ExportProgress() = default;
  // Records written out of the total, now and then; false asks to cancel.
  virtual bool update(std::int64_t done, std::int64_t total) = 0;
  // The export has ended, however it ended; called before it is reported.
  virtual void finish() = 0;
};

}  // namespace vs
