#pragma once

#include "cli.h"

// One function per subcommand; each returns the program's exit code.
namespace vs::cli {

int runPoll(const Invocation& invocation);
int runRead(const Invocation& invocation);
int runWrite(const Invocation& invocation);
int runUpload(const Invocation& invocation);
int runDownload(const Invocation& invocation);
int runDiff(const Invocation& invocation);
int runExportCsv(const Invocation& invocation);
int runLogInfo(const Invocation& invocation);
int runPorts(const Invocation& invocation);
int runJournal(const Invocation& invocation);

}  // namespace vs::cli
