// File streams and the whole-file reads and writes of PathWin.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "TempTree.h"
#include "s/col/_array/ArrayU08.h"
#include "s/file/win/FileInputStream.h"
#include "s/file/win/FileOutputStream.h"
#include "s/file/win/PathWin.h"
#include "s/str/strbuffer/StrBuffer.h"

using s::col::_array::ArrayU08;
using s::file::win::FileInputStream;
using s::file::win::FileOutputStream;
using s::file::win::PathWin;
using s::file::win::test::TempTree;
using s::str::strbuffer::StrBuffer;

namespace {

long long SizeOnDisk(const std::wstring& p)
{
    WIN32_FILE_ATTRIBUTE_DATA d;
    if (!GetFileAttributesExW(TempTree::Long(p).c_str(), GetFileExInfoStandard, &d))
        return -1;
    return (static_cast<long long>(d.nFileSizeHigh) << 32) | d.nFileSizeLow;
}

std::string Content(const std::wstring& p)
{
    HANDLE h = CreateFileW(TempTree::Long(p).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                           nullptr, OPEN_EXISTING, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return "<missing>";
    std::string s(1 << 20, 0);
    DWORD got = 0;
    ReadFile(h, s.data(), DWORD(s.size()), &got, nullptr);
    CloseHandle(h);
    s.resize(got);
    return s;
}

} // namespace

TEST(FileStreams, SeventyThousandBytesWriteOneBufferAtOnceAndTheRestOnClose)
{
    TempTree tree;
    PathWin* p = PathWin::FromText(tree.Path(L"big.bin").c_str());
    FileOutputStream* out = p->OpenOutputStream();
    ASSERT_TRUE(out->IsOpen());
    std::vector<unsigned char> data(70000);
    for (size_t i = 0; i < data.size(); ++i)
        data[i] = static_cast<unsigned char>(i * 7);
    uint32_t written = 0;
    EXPECT_TRUE(out->Write(data.data(), uint32_t(data.size()), &written));
    EXPECT_EQ(70000u, written);
    EXPECT_EQ(70000, out->GetPosition());
    EXPECT_EQ(65536, SizeOnDisk(p->GetFullPath()));
    EXPECT_EQ(4464u, out->BufferedCount());
    out->CloseAndRelease();
    EXPECT_EQ(70000, SizeOnDisk(p->GetFullPath()));

    ArrayU08* back = ArrayU08::Acquire();
    EXPECT_TRUE(p->ReadAll(back));
    ASSERT_EQ(70000u, back->Count());
    EXPECT_EQ(0, memcmp(back->Data(), data.data(), data.size()));
    back->Release();
    p->Release();
}

TEST(FileStreams, ReplacingTruncatesAndAppendingAdds)
{
    TempTree tree;
    const std::wstring file = tree.File(L"t.txt", 100);
    PathWin* p = PathWin::FromText(file.c_str());
    StrBuffer* text = StrBuffer::Acquire(L"h\u00e9llo");
    EXPECT_TRUE(p->WriteFrom(text));
    EXPECT_EQ(std::string("h\xc3\xa9llo"), Content(file));
    EXPECT_TRUE(p->WriteFrom(text, true));
    EXPECT_EQ(std::string("h\xc3\xa9lloh\xc3\xa9llo"), Content(file));
    ArrayU08* empty = ArrayU08::Acquire();
    EXPECT_TRUE(p->WriteAll(empty));
    EXPECT_EQ(0, SizeOnDisk(file));
    empty->Release();
    text->Release();
    p->Release();
}

TEST(FileStreams, MissingFoldersAreMadeAndLongPathsWork)
{
    TempTree tree;
    std::wstring deep = tree.Path(L"a\\b\\c\\");
    while (deep.size() < 280)
        deep += std::wstring(40, L'n') + L"\\";
    const std::wstring file = deep + L"out.txt";
    PathWin* p = PathWin::FromText(file.c_str());
    StrBuffer* text = StrBuffer::Acquire(L"data");
    EXPECT_TRUE(p->WriteFrom(text));
    EXPECT_EQ("data", Content(file));
    ArrayU08* back = ArrayU08::Acquire();
    EXPECT_TRUE(p->ReadAll(back));
    EXPECT_EQ(4u, back->Count());
    back->Release();
    text->Release();
    p->Release();
}

TEST(FileStreams, ReadingAndPositioning)
{
    TempTree tree;
    const std::wstring file = tree.Path(L"r.txt");
    {
        FileOutputStream* out = FileOutputStream::Acquire();
        ASSERT_TRUE(out->Open(file.c_str(), false));
        EXPECT_TRUE(out->Write("0123456789", 10, nullptr));
        // Positioning writes the buffered bytes first.
        EXPECT_TRUE(out->SetPosition(2));
        EXPECT_EQ(10, SizeOnDisk(file));
        EXPECT_TRUE(out->Write("ab", 2, nullptr));
        EXPECT_EQ(4, out->GetPosition());
        EXPECT_TRUE(out->SetEnd());
        EXPECT_TRUE(out->SeekEnd());
        EXPECT_EQ(4, out->GetPosition());
        out->CloseAndRelease();
    }
    EXPECT_EQ("01ab", Content(file));

    PathWin* p = PathWin::FromText(file.c_str());
    FileInputStream* in = p->OpenInputStream();
    ASSERT_TRUE(in->IsOpen());
    char buf[8] = {};
    uint32_t got = 0;
    EXPECT_TRUE(in->Skip(1));
    EXPECT_TRUE(in->Read(buf, 2, &got));
    EXPECT_EQ(2u, got);
    EXPECT_EQ(std::string("1a"), std::string(buf, 2));
    EXPECT_EQ(3, in->GetPosition());
    EXPECT_TRUE(in->SeekFromEnd(1));
    EXPECT_TRUE(in->Read(buf, 8, &got));
    EXPECT_EQ(1u, got);
    // At the end: false and nothing read.
    got = 99;
    EXPECT_FALSE(in->Read(buf, 8, &got));
    EXPECT_EQ(0u, got);
    EXPECT_TRUE(in->Rewind());
    EXPECT_TRUE(in->Read(buf, 1, &got));
    EXPECT_EQ('0', buf[0]);
    in->CloseAndRelease();
    p->Release();
}

TEST(FileStreams, StreamsOnMissingFilesDoNothing)
{
    TempTree tree;
    PathWin* p = PathWin::FromText(tree.Path(L"none.txt").c_str());
    FileInputStream* in = p->OpenInputStream();
    ASSERT_NE(nullptr, in);
    EXPECT_FALSE(in->IsOpen());
    char c;
    uint32_t got = 5;
    EXPECT_FALSE(in->Read(&c, 1, &got));
    EXPECT_EQ(0u, got);
    EXPECT_FALSE(in->SeekEnd());
    in->CloseAndRelease();
    ArrayU08* bytes = ArrayU08::Acquire();
    EXPECT_FALSE(p->ReadAll(bytes));
    EXPECT_EQ(0u, bytes->Count());
    bytes->Release();
    p->Release();

    FileOutputStream* out = FileOutputStream::Acquire();
    EXPECT_FALSE(out->Open(L"", false));
    uint32_t written = 7;
    EXPECT_FALSE(out->Write("x", 1, &written));
    EXPECT_EQ(0u, written);
    EXPECT_FALSE(out->Flush());
    out->CloseAndRelease();
}

TEST(FileStreams, ReleasedStreamIsClosed)
{
    TempTree tree;
    const std::wstring file = tree.Path(L"c.txt");
    FileOutputStream* out = FileOutputStream::Acquire();
    ASSERT_TRUE(out->Open(file.c_str(), false));
    EXPECT_TRUE(out->Write("abc", 3, nullptr));
    out->Release();  // the pool's reset closes the file, writing what was buffered
    EXPECT_EQ("abc", Content(file));
    FileOutputStream* again = FileOutputStream::Acquire();
    EXPECT_FALSE(again->IsOpen());
    EXPECT_EQ(0, again->GetPosition());
    again->Release();
}
