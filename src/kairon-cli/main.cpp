// kairon-cli: the command-line front end of Kairon. Shows file times, changes them with the
// same change engine as the window (with a preview and a journal of every run), and undoes
// runs. See Options.h for the command line and Output.h for the exit statuses.
#include <windows.h>

#include <string>

#include "kairon-cli/Commands.h"
#include "kairon-cli/Options.h"
#include "kairon-cli/Output.h"
#include "s/time/EpochSeconds.h"

namespace
{

// The arguments as one line for the journal, quoted where they hold blanks.
std::wstring CommandLineText(int argc, const wchar_t* const* argv)
{
    std::wstring text;
    for (int i = 1; i < argc; ++i)
    {
        if (i > 1)
            text += L' ';
        const std::wstring arg = argv[i];
        if (arg.empty() || arg.find_first_of(L" \t") != std::wstring::npos)
            text += L"\"" + arg + L"\"";
        else
            text += arg;
    }
    return text;
}

} // namespace

int wmain(int argc, wchar_t** argv)
{
    using namespace kairon::cli;
    // No message boxes from the system for a drive without a medium: a console program
    // reports such failures as errors.
    SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
    Options options;
    std::wstring error;
    if (argc < 2)
        return UsageError(L"no command given");
    if (!ParseOptions(argc - 1, argv + 1, s::time::nowSeconds(), options, error))
        return UsageError(error);
    switch (options.command)
    {
    case Command::Help:
        Out(UsageText());
        return EXIT_DONE;
    case Command::Version:
        Out(L"kairon-cli " KAIRON_CLI_VERSION L"\n");
        return EXIT_DONE;
    case Command::Show:
        return RunShow(options);
    case Command::Set:
        return RunSet(options, CommandLineText(argc, argv));
    case Command::Undo:
        return RunUndo(options);
    case Command::Zones:
        return RunZones(options);
    case Command::None:
        break;
    }
    return UsageError(L"no command given");
}
