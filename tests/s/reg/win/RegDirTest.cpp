// RegDir against Wine's registry. What the directory writes is checked with the Win32
// registry functions, and what it reads is prepared with them, so neither side checks
// itself.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "s/col/_array/ArrayP.h"
#include "s/col/_array/ArrayU08.h"
#include "s/reg/RegTestKey.h"
#include "s/reg/win/RegDir.h"

namespace {

using regtest::Bytes;
using regtest::TestKey;
using s::col::_array::ArrayP;
using s::col::_array::ArrayU08;
using s::reg::win::RegDir;

// A directory that goes back to its pool at the end of the scope.
struct Dir {
    RegDir* dir;
    explicit Dir(RegDir* d) : dir(d) {}
    Dir(const TestKey& key, const std::wstring& sub = L"")
        : dir(RegDir::Open(HKEY_CURRENT_USER, key.Path(sub).c_str()))
    {
    }
    ~Dir()
    {
        if (dir) dir->Release();
    }
    RegDir* operator->() const { return dir; }
};

std::vector<uint8_t> Le(uint64_t value, int n)
{
    std::vector<uint8_t> bytes;
    for (int i = 0; i < n; ++i) bytes.push_back(static_cast<uint8_t>(value >> (8 * i)));
    return bytes;
}

std::vector<uint8_t> TextBytes(const wchar_t* text)
{
    std::vector<uint8_t> bytes((wcslen(text) + 1) * 2);
    memcpy(bytes.data(), text, bytes.size());
    return bytes;
}

// --- what each setter writes, and that the matching getter reads it back -------------

struct WriteCase {
    const char* what;
    std::function<bool(RegDir*)> write;
    DWORD type;
    std::vector<uint8_t> data;
    std::function<bool(RegDir*)> readsBack;
};

std::vector<WriteCase> WriteCases()
{
    float f32 = 1.5f;
    double f64 = -2.25;
    uint32_t f32Bits;
    uint64_t f64Bits;
    memcpy(&f32Bits, &f32, 4);
    memcpy(&f64Bits, &f64, 8);
    return {
        {"U8", [](RegDir* d) { return d->setU8(L"v", 200); }, REG_DWORD, Le(200, 4),
         [](RegDir* d) { return d->getU8(L"v", 0) == 200; }},
        {"U16 0xFFFF", [](RegDir* d) { return d->setU16(L"v", 0xFFFF); }, REG_DWORD, Le(65535, 4),
         [](RegDir* d) { return d->getU16(L"v", 0) == 0xFFFF; }},
        {"U32", [](RegDir* d) { return d->setU32(L"v", 0xDEADBEEF); }, REG_DWORD, Le(0xDEADBEEF, 4),
         [](RegDir* d) { return d->getU32(L"v", 0) == 0xDEADBEEF; }},
        {"S8 -2", [](RegDir* d) { return d->setS8(L"v", -2); }, REG_DWORD, Le(0xFFFFFFFE, 4),
         [](RegDir* d) { return d->getS8(L"v", 0) == -2; }},
        {"S16 -1", [](RegDir* d) { return d->setS16(L"v", -1); }, REG_DWORD, Le(0xFFFFFFFF, 4),
         [](RegDir* d) { return d->getS16(L"v", 0) == -1; }},
        {"S32", [](RegDir* d) { return d->setS32(L"v", -123456); }, REG_DWORD,
         Le(static_cast<uint32_t>(-123456), 4), [](RegDir* d) { return d->getS32(L"v", 0) == -123456; }},
        {"U64", [](RegDir* d) { return d->setU64(L"v", 0x0102030405060708ULL); }, REG_BINARY,
         Le(0x0102030405060708ULL, 8),
         [](RegDir* d) { return d->getU64(L"v", 0) == 0x0102030405060708ULL; }},
        {"S64", [](RegDir* d) { return d->setS64(L"v", -5); }, REG_BINARY,
         Le(static_cast<uint64_t>(-5), 8), [](RegDir* d) { return d->getS64(L"v", 0) == -5; }},
        {"F32", [](RegDir* d) { return d->setF32(L"v", 1.5f); }, REG_BINARY, Le(f32Bits, 4),
         [](RegDir* d) { return d->getF32(L"v", 0) == 1.5f; }},
        {"F64", [](RegDir* d) { return d->setF64(L"v", -2.25); }, REG_BINARY, Le(f64Bits, 8),
         [](RegDir* d) { return d->getF64(L"v", 0) == -2.25; }},
        {"Bool true", [](RegDir* d) { return d->setBool(L"v", true); }, REG_DWORD, Le(1, 4),
         [](RegDir* d) { return d->getBool(L"v", false); }},
        {"Bool false", [](RegDir* d) { return d->setBool(L"v", false); }, REG_DWORD, Le(0, 4),
         [](RegDir* d) { return !d->getBool(L"v", true); }},
        {"String", [](RegDir* d) { return d->setString(L"v", L"H\u00e9llo \u65e5"); }, REG_SZ,
         TextBytes(L"H\u00e9llo \u65e5"),
         [](RegDir* d) {
             bool expandable = true;
             return std::wstring(d->getString(L"v", L"def", &expandable, true)) == L"H\u00e9llo \u65e5" &&
                    !expandable;
         }},
        {"empty String", [](RegDir* d) { return d->setString(L"v", L""); }, REG_SZ, TextBytes(L""),
         [](RegDir* d) { return std::wstring(d->getString(L"v", L"def", nullptr, false)).empty(); }},
        {"Expandable", [](RegDir* d) { return d->setExpandableString(L"v", L"%NoSuchVar%\\x"); },
         REG_EXPAND_SZ, TextBytes(L"%NoSuchVar%\\x"),
         [](RegDir* d) {
             bool expandable = false;
             return std::wstring(d->getString(L"v", L"def", &expandable, false)) == L"%NoSuchVar%\\x" &&
                    expandable;
         }},
        {"Bytes", [](RegDir* d) {
             ArrayU08* a = ArrayU08::Acquire();
             a->Add(0); a->Add(0xFF); a->Add(7);
             bool ok = d->setBytes(L"v", a);
             a->Release();
             return ok;
         },
         REG_BINARY, Bytes({0, 0xFF, 7}),
         [](RegDir* d) {
             ArrayU08* a = d->getBytes(L"v", nullptr);
             bool ok = a && a->Count() == 3 && a->Get(0) == 0 && a->Get(1) == 0xFF && a->Get(2) == 7;
             if (a) a->Release();
             return ok;
         }},
        {"empty Bytes", [](RegDir* d) { return d->setBytes(L"v", nullptr); }, REG_BINARY, {},
         [](RegDir* d) {
             ArrayU08* a = d->getBytes(L"v", nullptr);
             bool ok = a && a->Count() == 0;
             if (a) a->Release();
             return ok;
         }},
    };
}

TEST(RegDir, EveryTypeIsWrittenWithItsEncodingAndReadBack)
{
    for (const WriteCase& c : WriteCases()) {
        SCOPED_TRACE(c.what);
        TestKey key;
        Dir dir(key);
        EXPECT_FALSE(dir->isOpen());
        ASSERT_TRUE(c.write(dir.dir));
        TestKey::Value v = key.Read(L"", L"v");
        ASSERT_TRUE(v.found);
        EXPECT_EQ(v.type, c.type);
        EXPECT_EQ(v.data, c.data);
        EXPECT_TRUE(c.readsBack(dir.dir));
        Dir fresh(key);  // a second directory reads the same, nothing cached
        EXPECT_TRUE(c.readsBack(fresh.dir));
    }
}

// --- reading data that others wrote ------------------------------------------------------

TEST(RegDir, IntegersAreReadFromAnyFourBytesWhateverTheType)
{
    TestKey key;
    std::vector<uint8_t> four = Le(0x80000102, 4);
    key.Write(L"", L"bin4", REG_BINARY, four.data(), 4);
    key.WriteDword(L"", L"two", 2);
    key.WriteDword(L"", L"narrow", 0xFFFFFF80);
    Dir dir(key);

    EXPECT_EQ(dir->getS32(L"bin4", 0), static_cast<int32_t>(0x80000102));
    EXPECT_EQ(dir->getU32(L"bin4", 0), 0x80000102u);
    EXPECT_TRUE(dir->getBool(L"two", false));
    EXPECT_EQ(dir->getF32(L"two", 9.0f), [] { float f; uint32_t b = 2; memcpy(&f, &b, 4); return f; }());
    // The narrow getters take the low byte / low 16 bits.
    EXPECT_EQ(dir->getU8(L"narrow", 0), 0x80);
    EXPECT_EQ(dir->getS8(L"narrow", 0), -128);
    EXPECT_EQ(dir->getU16(L"narrow", 0), 0xFF80);
    EXPECT_EQ(dir->getS16(L"narrow", 0), -128);
}

TEST(RegDir, WrongLengthOrTypeOrMissingGivesTheDefault)
{
    TestKey key;
    uint64_t eight = 0x1122334455667788ULL;
    key.Write(L"", L"qword", REG_QWORD, &eight, 8);
    key.WriteDword(L"", L"dword", 5);
    key.Write(L"", L"three", REG_BINARY, "abc", 3);
    key.Write(L"", L"multi", REG_MULTI_SZ, L"a\0b\0", 10);
    Dir dir(key);

    EXPECT_EQ(dir->getU32(L"qword", 7), 7u);
    EXPECT_EQ(dir->getBool(L"qword", true), true);
    EXPECT_EQ(dir->getBool(L"three", false), false);
    EXPECT_EQ(dir->getU8(L"three", 9), 9);
    EXPECT_EQ(dir->getU64(L"qword", 0), eight);  // 8 bytes of any type
    EXPECT_EQ(dir->getU64(L"dword", 3), 3u);
    EXPECT_EQ(dir->getS64(L"three", -4), -4);
    EXPECT_EQ(dir->getF64(L"dword", 0.5), 0.5);
    EXPECT_EQ(dir->getF32(L"qword", 0.25f), 0.25f);

    const wchar_t* def = L"default";
    bool expandable = true;
    EXPECT_EQ(dir->getString(L"dword", def, &expandable, true), def);
    EXPECT_FALSE(expandable);
    EXPECT_EQ(dir->getString(L"multi", def, nullptr, true), def);
    EXPECT_EQ(dir->getString(L"missing", def, nullptr, true), def);
    EXPECT_EQ(dir->getS32(L"missing", -1), -1);
    EXPECT_FALSE(dir->hasValue(L"missing"));
    EXPECT_TRUE(dir->hasValue(L"three"));
}

TEST(RegDir, StringsOfOddShapesReadSensibly)
{
    TestKey key;
    key.Write(L"", L"zero", REG_SZ, nullptr, 0);
    key.Write(L"", L"unterminated", REG_SZ, L"abc", 6);
    key.Write(L"", L"odd", REG_SZ, "a\0b", 3);  // one whole unit and a stray byte
    key.Write(L"", L"inner", REG_SZ, L"ab\0cd", 12);
    Dir dir(key);

    EXPECT_EQ(std::wstring(dir->getString(L"zero", L"def", nullptr, true)), L"");
    EXPECT_EQ(std::wstring(dir->getString(L"unterminated", L"def", nullptr, true)), L"abc");
    EXPECT_EQ(std::wstring(dir->getString(L"odd", L"def", nullptr, true)), L"a");
    EXPECT_EQ(std::wstring(dir->getString(L"inner", L"def", nullptr, true)), L"ab");
}

TEST(RegDir, ExpandableStringsExpandOnRequestWithoutTruncation)
{
    TestKey key;
    // Far more than 520 bytes once expanded.
    std::wstring longValue(3000, L'x');
    ASSERT_TRUE(SetEnvironmentVariableW(L"KAIRON_REG_LONG", longValue.c_str()));
    ASSERT_TRUE(SetEnvironmentVariableW(L"KAIRON_REG_SHORT", L"short"));
    std::vector<uint8_t> raw = TextBytes(L"[%KAIRON_REG_LONG%]%KAIRON_REG_SHORT%");
    key.Write(L"", L"long", REG_EXPAND_SZ, raw.data(), static_cast<DWORD>(raw.size()));
    Dir dir(key);

    bool expandable = false;
    std::wstring expanded = dir->getString(L"long", L"def", &expandable, true);
    EXPECT_TRUE(expandable);
    EXPECT_EQ(expanded, L"[" + longValue + L"]short");
    EXPECT_EQ(std::wstring(dir->getString(L"long", L"def", nullptr, false)),
              L"[%KAIRON_REG_LONG%]%KAIRON_REG_SHORT%");
    SetEnvironmentVariableW(L"KAIRON_REG_LONG", nullptr);
    SetEnvironmentVariableW(L"KAIRON_REG_SHORT", nullptr);
}

TEST(RegDir, ValuesLargerThanTheSharedBufferAreReadWhole)
{
    TestKey key;
    std::vector<uint8_t> big(70000);
    for (size_t i = 0; i < big.size(); ++i) big[i] = static_cast<uint8_t>(i * 7 + 3);
    key.Write(L"", L"big", REG_BINARY, big.data(), static_cast<DWORD>(big.size()));
    Dir dir(key);

    uint32_t type = 0, size = 0;
    ASSERT_TRUE(dir->readRaw(L"big", &type, &size, -1));
    EXPECT_EQ(type, static_cast<uint32_t>(REG_BINARY));
    ASSERT_EQ(size, big.size());
    EXPECT_EQ(memcmp(dir->getRawData(), big.data(), big.size()), 0);
    EXPECT_EQ(dir->getRawSize(), big.size());
    EXPECT_FALSE(dir->readRaw(L"big", &type, &size, REG_SZ));
    EXPECT_TRUE(dir->readRaw(L"big", nullptr, nullptr, REG_BINARY));
}

TEST(RegDir, DirectoriesOnSeveralThreadsReadTheirOwnValues)
{
    TestKey key;
    const int kThreads = 4;
    for (int t = 0; t < kThreads; ++t) {
        // Sizes on both sides of the shared buffer's initial size.
        std::vector<uint8_t> data(5000 + t * 9000, static_cast<uint8_t>(t + 1));
        std::wstring name = L"v" + std::to_wstring(t);
        key.Write(L"", name.c_str(), REG_BINARY, data.data(), static_cast<DWORD>(data.size()));
    }
    std::vector<int> failures(kThreads, 0);
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([&, t] {
            Dir dir(key);
            std::wstring name = L"v" + std::to_wstring(t);
            for (int i = 0; i < 200; ++i) {
                uint32_t size = 0;
                if (!dir->readRaw(name.c_str(), nullptr, &size, -1) ||
                    size != static_cast<uint32_t>(5000 + t * 9000)) {
                    ++failures[t];
                    continue;
                }
                const uint8_t* data = dir->getRawData();
                for (uint32_t k = 0; k < size; k += 97)
                    if (data[k] != t + 1) {
                        ++failures[t];
                        break;
                    }
            }
        });
    }
    for (std::thread& th : threads) th.join();
    for (int t = 0; t < kThreads; ++t) EXPECT_EQ(failures[t], 0) << "thread " << t;
}

TEST(RegDir, GetBytesFillsTheGivenArrayOrAnswersNull)
{
    TestKey key;
    key.WriteDword(L"", L"d", 0x04030201);
    Dir dir(key);

    ArrayU08* given = ArrayU08::Acquire();
    given->Add(9);
    given->Add(9);
    given->Add(9);
    given->Add(9);
    given->Add(9);
    EXPECT_EQ(dir->getBytes(L"d", given), given);
    ASSERT_EQ(given->Count(), 4u);
    EXPECT_EQ(given->Get(0), 1);
    EXPECT_EQ(given->Get(3), 4);

    EXPECT_EQ(dir->getBytes(L"missing", given), nullptr);
    EXPECT_EQ(given->Count(), 4u);  // left as it was
    given->Release();
    EXPECT_EQ(dir->getBytes(L"missing", nullptr), nullptr);
}

// --- keys ------------------------------------------------------------------------------

TEST(RegDir, OpenRecordsRootPathAndNativePath)
{
    TestKey key;
    Dir dir(RegDir::Acquire());
    EXPECT_EQ(dir->getRoot(), nullptr);
    EXPECT_FALSE(dir->open(HKEY_CURRENT_USER, (L"\\" + key.Path() + L"\\\\sub\\").c_str()));
    EXPECT_EQ(dir->getRoot(), HKEY_CURRENT_USER);
    EXPECT_EQ(std::wstring(dir->getRootName()), L"HKEY_CURRENT_USER");
    EXPECT_EQ(std::wstring(dir->getPath()), key.Path(L"sub"));
    std::wstring native = s::reg::win::FindRegistryRoot(HKEY_CURRENT_USER)->nativePath;
    EXPECT_EQ(std::wstring(dir->getNativePath()), native + L"\\" + key.Path(L"sub"));
    EXPECT_FALSE(key.Exists());  // opening never creates

    EXPECT_FALSE(dir->open(reinterpret_cast<HKEY>(static_cast<ULONG_PTR>(0x80000004)), L"x"));
    EXPECT_EQ(dir->getRoot(), nullptr);
}

TEST(RegDir, OpenByOneTextSplitsTheRootName)
{
    TestKey key;
    key.WriteDword(L"", L"d", 42);
    Dir dir(RegDir::Acquire());
    ASSERT_TRUE(dir->open((L"hkey_current_user\\" + key.Path()).c_str()));
    EXPECT_EQ(dir->getRoot(), HKEY_CURRENT_USER);
    EXPECT_EQ(dir->getU32(L"d", 0), 42u);

    EXPECT_FALSE(dir->open(L"HKCU\\Software"));
    EXPECT_EQ(dir->getRoot(), HKEY_CURRENT_USER);
    EXPECT_EQ(std::wstring(dir->getPath()), L"InvalidKey");
    EXPECT_FALSE(dir->open(L"Software\\Whatever"));
    EXPECT_EQ(std::wstring(dir->getPath()), L"InvalidKey");
    // A root name without a backslash used to open the root itself.
    for (const wchar_t* bare : {L"HKEY_CURRENT_USER", L"hkey_local_machine", L"HKEY_USERS"}) {
        EXPECT_FALSE(dir->open(bare)) << bare;
        EXPECT_EQ(dir->getRoot(), HKEY_CURRENT_USER) << bare;
        EXPECT_EQ(std::wstring(dir->getPath()), L"InvalidKey") << bare;
    }

    ASSERT_TRUE(dir->open(L"HKEY_LOCAL_MACHINE\\Software"));
    EXPECT_EQ(dir->getRoot(), HKEY_LOCAL_MACHINE);
    EXPECT_EQ(std::wstring(dir->getNativePath()), L"\\Registry\\Machine\\Software");
}

// Creating a missing parent used to recurse once per level of the path (copying
// the path at each), so a deep path that cannot be created (here: a key name
// longer than the registry takes, near the top) exhausted stack and memory. It is
// created from the top down now and fails at the first key that cannot be made.
TEST(RegDir, CreateOfADeepPathThatCannotBeMadeFailsAtTheTop)
{
    TestKey key;
    ASSERT_TRUE(Dir(key)->create());
    std::wstring sub(300, L'n');  // longer than the 255 characters a key name may have
    for (int i = 0; i < 40000; ++i)
        sub += L"\\a";
    Dir dir(key, sub);
    EXPECT_FALSE(dir->create());
    EXPECT_FALSE(dir->isOpen());
    EXPECT_FALSE(dir->setU32(L"v", 1));  // a write creates the key, and fails the same way
    EXPECT_TRUE(key.Exists());
    EXPECT_FALSE(key.Exists(std::wstring(300, L'n')));
}

TEST(RegDir, CreateMakesMissingParentsAndWritesCreateTheirKey)
{
    TestKey key;
    Dir dir(key, L"a\\b\\c");
    EXPECT_FALSE(dir->isOpen());
    EXPECT_FALSE(dir->exists());
    ASSERT_TRUE(dir->create());
    EXPECT_TRUE(key.Exists(L"a\\b\\c"));
    EXPECT_TRUE(dir->exists());
    EXPECT_TRUE(dir->create());  // already open: nothing to do
    EXPECT_TRUE(dir->flushKey());

    Dir writer(key, L"x\\y");
    EXPECT_TRUE(writer->setU32(L"v", 1));
    EXPECT_EQ(key.Read(L"x\\y", L"v").data, Le(1, 4));
}

TEST(RegDir, ExistsFollowsTheKey)
{
    TestKey key;
    key.WriteDword(L"k", L"v", 1);
    Dir dir(key, L"k");
    ASSERT_TRUE(dir->isOpen());
    RegDeleteTreeW(HKEY_CURRENT_USER, key.Path(L"k").c_str());
    RegDeleteKeyW(HKEY_CURRENT_USER, key.Path(L"k").c_str());
    EXPECT_FALSE(dir->exists());
    EXPECT_FALSE(dir->isOpen());
}

TEST(RegDir, ParentAndSubKeys)
{
    TestKey key;
    key.WriteDword(L"top\\one", L"v", 1);
    key.WriteDword(L"top\\two", L"v", 2);
    key.WriteDword(L"top\\two\\deeper", L"v", 3);
    Dir top(key, L"top");

    ArrayP* list = top->listSubKeys();
    ASSERT_NE(list, nullptr);
    std::vector<std::wstring> paths;
    uint32_t sum = 0;
    for (uint32_t i = 0; i < list->Count(); ++i) {
        RegDir* child = static_cast<RegDir*>(list->Get(i));
        paths.push_back(child->getPath());
        EXPECT_TRUE(child->isOpen());
        sum += child->getU32(L"v", 0);
    }
    list->Release();
    ASSERT_EQ(paths.size(), 2u);
    EXPECT_EQ(paths[0], key.Path(L"top\\one"));
    EXPECT_EQ(paths[1], key.Path(L"top\\two"));
    EXPECT_EQ(sum, 3u);

    Dir parent(static_cast<RegDir*>(top->getParent()));
    ASSERT_NE(parent.dir, nullptr);
    EXPECT_EQ(std::wstring(parent->getPath()), key.Path());
    EXPECT_TRUE(parent->isOpen());

    Dir root(RegDir::Open(HKEY_CURRENT_USER, L"Software"));
    Dir rootParent(static_cast<RegDir*>(root->getParent()));
    ASSERT_NE(rootParent.dir, nullptr);
    EXPECT_EQ(std::wstring(rootParent->getPath()), L"");
    EXPECT_EQ(rootParent->getParent(), nullptr);

    Dir missing(key, L"nothing");
    ArrayP* none = missing->listSubKeys();
    ASSERT_NE(none, nullptr);
    EXPECT_EQ(none->Count(), 0u);
    none->Release();
}

TEST(RegDir, RemoveDeletesNestedKeys)
{
    TestKey key;
    key.WriteDword(L"s", L"keep", 1);
    key.WriteDword(L"s\\a\\b\\c", L"v", 1);
    key.WriteDword(L"s\\a\\d", L"v", 1);
    key.WriteDword(L"s\\e", L"v", 1);

    // Not recursive: the sub-keys go, the key and its values stay.
    Dir shallow(key, L"s");
    EXPECT_TRUE(shallow->remove(false));
    EXPECT_TRUE(key.Exists(L"s"));
    EXPECT_FALSE(key.Exists(L"s\\a"));
    EXPECT_FALSE(key.Exists(L"s\\e"));
    EXPECT_TRUE(key.Read(L"s", L"keep").found);

    key.WriteDword(L"s\\a\\b\\c", L"v", 1);
    Dir all(key, L"s");
    EXPECT_TRUE(all->remove(true));
    EXPECT_FALSE(all->isOpen());
    EXPECT_FALSE(key.Exists(L"s"));
    EXPECT_TRUE(key.Exists());

    Dir missing(key, L"nothing");
    EXPECT_FALSE(missing->remove(true));
}

TEST(RegDir, ARootIsNeverRemoved)
{
    Dir root(RegDir::Open(HKEY_CURRENT_USER, L"\\"));
    ASSERT_TRUE(root->isOpen());
    EXPECT_FALSE(root->remove(true));
    EXPECT_FALSE(root->remove(false));
    Dir software(RegDir::Open(HKEY_CURRENT_USER, L"Software"));
    EXPECT_TRUE(software->exists());
}

TEST(RegDir, RemoveValue)
{
    TestKey key;
    key.WriteDword(L"", L"v", 1);
    Dir dir(key);
    EXPECT_TRUE(dir->removeValue(L"v"));
    EXPECT_FALSE(key.Read(L"", L"v").found);
    EXPECT_FALSE(dir->removeValue(L"v"));
}

TEST(RegDir, TheUnnamedValue)
{
    TestKey key;
    Dir dir(key, L"Version");
    ASSERT_TRUE(dir->setString(L"", L"1.16"));
    EXPECT_EQ(std::wstring(dir->getString(nullptr, L"", nullptr, false)), L"1.16");
    TestKey::Value v = key.Read(L"Version", nullptr);
    EXPECT_EQ(v.type, static_cast<DWORD>(REG_SZ));
}

TEST(RegDir, AReleasedDirectoryComesBackEmpty)
{
    TestKey key;
    key.WriteDword(L"", L"v", 1);
    RegDir* dir = RegDir::Open(HKEY_CURRENT_USER, key.Path().c_str());
    ASSERT_TRUE(dir->isOpen());
    dir->Release();
    RegDir* again = RegDir::Acquire();
    EXPECT_FALSE(again->isOpen());
    EXPECT_EQ(again->getRoot(), nullptr);
    EXPECT_EQ(std::wstring(again->getPath()), L"");
    EXPECT_EQ(again->getRawSize(), 0u);
    again->Release();
}

TEST(RegDir, ClassIdentifier)
{
    Dir dir(RegDir::Acquire());
    EXPECT_EQ(dir->ClassId(), RegDir::CLASS_ID);
    EXPECT_EQ(std::wstring(dir->ClassId()), L"s_reg_win_RegDir");
}

}  // namespace
