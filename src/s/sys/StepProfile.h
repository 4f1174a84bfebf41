#pragma once
// A breakdown of where time goes in a sequence of steps (the program's start-up, say): each
// mark records the milliseconds since the previous mark and since the process was created.
// Nothing is recorded until start() names a file; marks are then cheap (a clock read under a
// lock) and the lines are written when finish() is called, so that writing the file does not
// show in the figures. After finish() further marks are ignored until start() again.
//
//     s::sys::StepProfile::start(L"C:\\temp\\startup.txt");   // from an environment variable
//     ...
//     s::sys::StepProfile::mark(L"window made");
//     ...
//     s::sys::StepProfile::finish();   // writes the file (UTF-8) and the debug output
//
// Each line of the file: "<step>\t<ms of the step>\t<ms since the process was created>", the
// last line "total\t<ms>". Every function may be called from any thread.
//
// Failures: a file that cannot be written is skipped silently (the debug output still gets
// the lines); marks beyond 256 per run are dropped.

namespace s::sys
{

class StepProfile
{
  public:
    // Starts recording into `path` (null or empty: nothing is recorded). Earlier marks are
    // forgotten.
    static void start(const wchar_t* path);
    // Starts recording when the environment variable `variable` names a file; answers
    // whether it does.
    static bool startFromEnvironment(const wchar_t* variable);
    static bool isActive();
    // Records the end of step `name` (a string that outlives the run: a literal).
    static void mark(const wchar_t* name);
    // Writes the recorded steps and stops recording. False when nothing was recording or
    // the file could not be written.
    static bool finish();
};

} // namespace s::sys
