// The step profile: nothing without a file, the steps in order with their milliseconds,
// the environment variable, a file that cannot be written.
#include <gtest/gtest.h>
#include <windows.h>

#include <sstream>
#include <string>
#include <vector>

#include "s/sys/StepProfile.h"

using s::sys::StepProfile;

namespace
{

std::wstring tempFile(const wchar_t* name)
{
    wchar_t folder[MAX_PATH];
    GetTempPathW(MAX_PATH, folder);
    return std::wstring(folder) + name + std::to_wstring(GetCurrentProcessId()) + L".txt";
}

std::vector<std::string> linesOf(const std::wstring& path)
{
    std::vector<std::string> lines;
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return lines;
    std::string text(65536, '\0');
    DWORD read = 0;
    ReadFile(file, text.data(), DWORD(text.size()), &read, nullptr);
    CloseHandle(file);
    text.resize(read);
    std::istringstream in(text);
    std::string line;
    while (std::getline(in, line))
    {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        lines.push_back(line);
    }
    return lines;
}

std::vector<std::string> fieldsOf(const std::string& line)
{
    std::vector<std::string> fields;
    std::istringstream in(line);
    std::string field;
    while (std::getline(in, field, '\t'))
        fields.push_back(field);
    return fields;
}

} // namespace

TEST(StepProfile, RecordsNothingUntilStarted)
{
    const std::wstring path = tempFile(L"kairon-profile-none-");
    DeleteFileW(path.c_str());
    StepProfile::mark(L"ignored");
    EXPECT_FALSE(StepProfile::isActive());
    EXPECT_FALSE(StepProfile::finish());
    StepProfile::start(L"");
    EXPECT_FALSE(StepProfile::isActive());
    StepProfile::start(nullptr);
    EXPECT_FALSE(StepProfile::finish());
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesW(path.c_str()));
}

TEST(StepProfile, WritesEachStepWithItsMillisecondsInOrder)
{
    const std::wstring path = tempFile(L"kairon-profile-steps-");
    StepProfile::start(path.c_str());
    EXPECT_TRUE(StepProfile::isActive());
    StepProfile::mark(L"first");
    Sleep(30);
    StepProfile::mark(L"second \u00e9tape");
    ASSERT_TRUE(StepProfile::finish());
    EXPECT_FALSE(StepProfile::isActive());
    StepProfile::mark(L"after the end"); // ignored

    const std::vector<std::string> lines = linesOf(path);
    ASSERT_EQ(3u, lines.size());
    const std::vector<std::string> first = fieldsOf(lines[0]), second = fieldsOf(lines[1]), total = fieldsOf(lines[2]);
    ASSERT_EQ(3u, first.size());
    ASSERT_EQ(3u, second.size());
    ASSERT_EQ(2u, total.size());
    EXPECT_EQ("first", first[0]);
    EXPECT_EQ("second \xc3\xa9tape", second[0]); // UTF-8
    EXPECT_EQ("total", total[0]);
    // The step's own time, then the time since the process was made.
    EXPECT_GE(std::stod(second[1]), 25.0);
    EXPECT_NEAR(std::stod(first[2]) + std::stod(second[1]), std::stod(second[2]), 0.11);
    EXPECT_GE(std::stod(first[2]), 0.0);
    EXPECT_EQ(second[2], total[1]);
    DeleteFileW(path.c_str());
}

TEST(StepProfile, StartsFromTheEnvironmentVariableAndForgetsEarlierMarks)
{
    const std::wstring path = tempFile(L"kairon-profile-env-");
    SetEnvironmentVariableW(L"KAIRON_STEP_PROFILE_TEST", nullptr);
    EXPECT_FALSE(StepProfile::startFromEnvironment(L"KAIRON_STEP_PROFILE_TEST"));
    EXPECT_FALSE(StepProfile::isActive());
    SetEnvironmentVariableW(L"KAIRON_STEP_PROFILE_TEST", path.c_str());
    ASSERT_TRUE(StepProfile::startFromEnvironment(L"KAIRON_STEP_PROFILE_TEST"));
    StepProfile::mark(L"forgotten");
    StepProfile::start(path.c_str());
    StepProfile::mark(L"kept");
    ASSERT_TRUE(StepProfile::finish());
    const std::vector<std::string> lines = linesOf(path);
    ASSERT_EQ(2u, lines.size());
    EXPECT_EQ("kept", fieldsOf(lines[0])[0]);
    SetEnvironmentVariableW(L"KAIRON_STEP_PROFILE_TEST", nullptr);
    DeleteFileW(path.c_str());
}

TEST(StepProfile, AFileThatCannotBeWrittenIsAFalseFinish)
{
    const std::wstring folder = tempFile(L"kairon-profile-missing-folder-");
    const std::wstring path = folder + L"\\profile.txt";
    StepProfile::start(path.c_str());
    StepProfile::mark(L"step");
    EXPECT_FALSE(StepProfile::finish());
    EXPECT_FALSE(StepProfile::isActive());
}
