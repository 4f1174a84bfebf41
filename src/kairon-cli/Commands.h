#pragma once
// The commands of kairon-cli. Each takes the checked options and answers the exit status
// (see Output.h); messages go to standard error, results to standard output.

#include <string>

#include "kairon-cli/Options.h"

namespace kairon::cli
{

int RunShow(const Options& options);
/// `commandLine` is recorded in the run's journal.
int RunSet(const Options& options, const std::wstring& commandLine);
int RunUndo(const Options& options);
int RunZones(const Options& options);

} // namespace kairon::cli
