#include <gtest/gtest.h>

#include <windows.h>

#include <atomic>
#include <cwchar>
#include <string>
#include <thread>
#include <vector>

#include "s/gui/events/IEventListener.h"
#include "s/lang/LangPack.h"
#include "s/lang/Localizer.h"
#include "s/xml/Node.h"

using s::lang::LangPack;
using s::lang::Localizer;
using s::xml::Node;

namespace {

// Every language-pack id the program shows or uses: dialogs, menus, status texts,
// messages, the product's identity and its web addresses.
const int32_t PROGRAM_TEXT_IDS[] = {
    1000000, 1001000, 1002000, 1003000, 1004000, 1005000, 1006000, 1006050, 1006070, 1006085,
    1008000, 1009000, 1009100, 1009200, 1009500, 1100000, 1100001, 1101000, 1101001, 1102000,
    1102001, 1150001, 1150002, 1150003, 1150004, 1150005, 1150006, 1150007, 1150008, 1150009,
    1150010, 1150011, 1150012, 1200000, 1202000, 1203000, 1203500, 1205000, 1205100, 1206000,
    1207000, 1208000, 1209000, 2000000, 3000000, 3000100, 3001000, 3001100, 3001200, 3001300,
    3001400, 3001500, 3001600, 3001700, 4001000, 4001500, 4002000, 4003000, 4004000, 5001000,
    5001100, 5001500, 5002000, 5002200, 5002500, 5003000, 5004000, 6001000, 6002000, 6011000,
    6051000, 6052000, 608299,  609000,  609100,  609200,  609300,  609350,  609450,  609460,
    700000,  700001,  701000,  701100,  701200,  701300,  107000,  108100,  400010,  400020,
    400080,  400100,  400120,  300000,  500000,  500003,  500004,  500010,  500020,  500089,
    500090,  500100,  101000,  108000,  108200,  108500,
};
// Ids whose text is empty on purpose (labels that stay blank).
const int32_t EMPTY_TEXT_IDS[] = {1003000, 5002000, 5002500};

bool IsEmptyOnPurpose(int32_t id)
{
    for (int32_t empty : EMPTY_TEXT_IDS) {
        if (empty == id)
            return true;
    }
    return false;
}

struct PackLanguage
{
    const wchar_t* tag;
    const wchar_t* engName;
    const wchar_t* trueName;
};

const PackLanguage PACK_LANGUAGES[] = {
    {L"eng", L"English", L"English"},
    {L"bel", L"Belarusian", L"\u0411\u0435\u043b\u0430\u0440\u0443\u0441\u043a\u0456"},
    {L"zhs", L"Chinese_Simplified", L"\u7b80\u4f53\u4e2d\u6587"},
    {L"fra", L"French", L"Fran\u00e7ais"},
    {L"deu", L"German", L"Deutsch"},
    {L"ell", L"Greek", L"\u0395\u03bb\u03bb\u03b7\u03bd\u03b9\u03ba\u03ac"},
    {L"ita", L"Italian", L"Italiano"},
    {L"jpn", L"Japanese", L"\u65e5\u672c\u8a9e"},
    {L"kor", L"Korean", L"\ud55c\uad6d\uc5b4"},
    {L"hun", L"Hungarian", L"Magyar"},
    {L"rus", L"Russian", L"\u0420\u0443\u0441\u0441\u043a\u0438\u0439"},
    {L"spa", L"Spanish", L"Espa\u00f1ol"},
    {L"tur", L"Turkish", L"T\u00fcrk\u00e7e"},
    {L"ara", L"Arabic", L"\u0639\u0631\u0628\u064a (Partial)"},
    {L"ind", L"Indonesian", L"Bahasa Indonesia (Partial)"},
    {L"bul", L"Bulgarian", L"\u0411\u044a\u043b\u0433\u0430\u0440\u0441\u043a\u0438 (Partial)"},
    {L"cze", L"Czech", L"Cestina (Partial)"},
    {L"cpn", L"Serbian_Cyrillic", L"\u0421\u0440\u043f\u0441\u043a\u0438 (Partial)"},
    {L"dan", L"Danish", L"Dansk (Partial)"},
    {L"est", L"Estonian", L"Eesti (Partial)"},
    {L"hrv", L"Croatian", L"Hrvatski (Partial)"},
    {L"nld", L"Dutch", L"Nederlands (Partial)"},
    {L"per", L"Persian", L"\u0641\u0627\u0631\u0633\u06cc (Partial)"},
    {L"pol", L"Polish", L"Polski (Partial)"},
    {L"bra", L"Portuguese_Brazilian", L"Portugus Brasileiro (Partial)"},
    {L"rom", L"Romanian", L"Rom\u00e2n\u0103 (Partial)"},
    {L"slk", L"Slovak", L"Slovensky (Partial)"},
    {L"srp", L"Serbian_Latin", L"Srpski (Partial)"},
    {L"fin", L"Finnish", L"Suomeksi (Partial)"},
    {L"swe", L"Swedish", L"Svenska (Partial)"},
    {L"ukr", L"Ukrainian", L"\u0423\u043a\u0440\u0430\u0457\u043d\u0441\u044c\u043a\u0430 (Partial)"},
    {L"vec", L"Venetian", L"V\u00e8neto Vec-to (Partial)"},
    {L"zht", L"Chinese_Traditional", L"\u7e41\u9ad4\u4e2d\u6587 (Partial)"},
    {L"vie", L"Vietnamese", L"Vi\u1ec7t Nam (Partial)"},
};

// The embedded pack, loaded once per test.
class EmbeddedPack : public ::testing::Test
{
protected:
    void SetUp() override
    {
        pack = Localizer::loadFromResource(nullptr);
        ASSERT_NE(nullptr, pack);
        ASSERT_EQ(34u, pack->getLanguageCount());
        pack->selectLanguage(L"English");
    }
    void TearDown() override
    {
        if (pack)
            pack->Release();
    }
    Localizer* pack = nullptr;
};

struct CountingListener : s::gui::events::IEventListener
{
    void handleEvent(void* source, int kind) override
    {
        ++calls;
        lastSource = source;
        lastKind = kind;
    }
    int calls = 0;
    void* lastSource = nullptr;
    int lastKind = -1;
};

Localizer* FromDocument(const wchar_t* xml)
{
    Node* root = Node::Acquire();
    root->parse(xml);
    Localizer* localizer = Localizer::loadFromDocument(root);
    root->Release();
    return localizer;
}

} // namespace

TEST_F(EmbeddedPack, HasTheThirtyFourLanguagesInOrder)
{
    for (uint32_t i = 0; i < 34; ++i) {
        const LangPack* language = pack->getLanguage(i);
        EXPECT_STREQ(PACK_LANGUAGES[i].tag, language->getTagName()) << i;
        EXPECT_STREQ(PACK_LANGUAGES[i].engName, language->getEngName()) << i;
        EXPECT_STREQ(PACK_LANGUAGES[i].trueName, language->getTrueName()) << i;
    }
    EXPECT_EQ(nullptr, pack->getLanguage(34));
}

TEST_F(EmbeddedPack, EveryLanguageAnswersEveryIdTheProgramUses)
{
    for (uint32_t i = 0; i < pack->getLanguageCount(); ++i) {
        const LangPack* language = pack->getLanguage(i);
        for (int32_t id : PROGRAM_TEXT_IDS) {
            const wchar_t* text = language->findText(id);
            ASSERT_NE(nullptr, text) << language->getTagName() << " " << id;
            EXPECT_EQ(IsEmptyOnPurpose(id), text[0] == 0) << language->getTagName() << " " << id;
        }
    }
}

TEST_F(EmbeddedPack, EnglishTextsAsTheProgramShowsThem)
{
    EXPECT_STREQ(L"Drop Box", pack->getText(1001000));
    EXPECT_STREQ(L"", pack->getText(1007000));  // switched-off feature, not in the pack
    EXPECT_FALSE(pack->hasText(1007000));
    EXPECT_STREQ(L"Advanced Options >>", pack->getText(1005000));
    EXPECT_STREQ(L"Ready", pack->getText(609450));
    EXPECT_STREQ(L"Kairon", pack->getText(500000));
    EXPECT_STREQ(L"1.16", pack->getText(500010));
    EXPECT_STREQ(L"Vesk Kairon", pack->getText(300000));
    EXPECT_STREQ(L"Created:\u00a0", pack->getText(1202000));
    EXPECT_STREQ(L"From\u00a0", pack->getText(5001500));
    EXPECT_STREQ(L"\u00a0 Convert \u00a0", pack->getText(5004000));
    EXPECT_STREQ(L"\u00a0\u00a0\u00a0Refresh\u00a0\u00a0\u00a0", pack->getText(1009500));
    EXPECT_STREQ(L"<< Please drop a file / folder onto the box.", pack->getText(1102001));
    EXPECT_STREQ(L"The output folder is inaccessible or write-protected.", pack->getText(608299));
    EXPECT_STREQ(L"Dec", pack->getText(1150012));
    EXPECT_FALSE(pack->hasText(5002000));
    EXPECT_TRUE(pack->hasText(1001000));
    // Web addresses live in the pack, under the placeholder domain.
    for (int32_t id : {500003, 500004, 500100, 101000, 108000, 108200, 108500})
        EXPECT_EQ(0, wcsncmp(L"https://", pack->getText(id), 8)) << id;
}

// Every English text the program quotes, as the program shows it (no-break spaces included).
TEST_F(EmbeddedPack, EveryQuotedEnglishTextIsExact)
{
    const struct
    {
        int32_t id;
        const wchar_t* text;
    } quoted[] = {
        {1000000, L"Keep on Top"},
        {1001000, L"Drop Box"},
        {1002000, L"Please drop file(s) / folder(s) here!"},
        {1004000, L"Action:"},
        {1005000, L"Advanced Options >>"},
        {1006000, L"<< Minimize"},
        {1006050, L"Cancel"},
        {1006070, L"Apply"},
        {1006085, L"Restore"},
        {1008000, L"Size:\u00a0"},
        {1009000, L"Copy"},
        {1009100, L"Comma"},
        {1009200, L"Auto"},
        {1009500, L"\u00a0\u00a0\u00a0Refresh\u00a0\u00a0\u00a0"},
        {1100000, L"View & Edit"},
        {1100001, L"<< Please drop a file / folder onto the box."},
        {1101000, L"Change Multiple File(s) / Folder(s) at Once"},
        {1101001, L"<< Please set the method, and then drop the file(s) / folders(s)."},
        {1102000, L"View & Copy"},
        {1102001, L"<< Please drop a file / folder onto the box."},
        {1150001, L"Jan"},
        {1150012, L"Dec"},
        {1200000, L"File Name:\u00a0"},
        {1202000, L"Created:\u00a0"},
        {1203000, L"Modified:\u00a0"},
        {1203500, L"Accessed:\u00a0"},
        {1205000, L"Write this time also to the files / subfolders inside the folder"},
        {1205100, L"Apply also to the files / subfolders inside the folder"},
        {1206000, L"System Files"},
        {1207000, L"Hidden Files"},
        {1208000, L"Normal Files"},
        {1209000, L"Read Only Files"},
        {2000000, L"Name and Size"},
        {3000000, L"Easy Edit:\u00a0"},
        {3000100, L"The date value of the month is invalid."},
        {3001000, L"Synchronize To:\u00a0"},
        {3001100, L"Created"},
        {3001200, L"Modified"},
        {3001300, L"Accessed"},
        {3001400, L"Now"},
        {3001500, L"Current Time"},
        {3001600, L"The Newest File"},
        {3001700, L"The Oldest File"},
        {4001000, L"By Offset:\u00a0"},
        {4001500, L"Sec"},
        {4002000, L"Min"},
        {4003000, L"Hour"},
        {4004000, L"Day"},
        {5001000, L"By Time Zone:\u00a0"},
        {5001100, L"Current System Time Zone"},
        {5001500, L"From\u00a0"},
        {5002200, L"To\u00a0"},
        {5003000, L"System with Daylight Saving Adjustment"},
        {5004000, L"\u00a0 Convert \u00a0"},
        {6001000, L"Fields to Change"},
        {6002000, L"When Folders are Dropped"},
        {6011000, L"Specific:"},
        {6051000, L"Add"},
        {6052000, L"Minus"},
        {608299, L"The output folder is inaccessible or write-protected."},
        {609000, L"View"},
        {609100, L"Keep on Top"},
        {609200, L"Right-Click Transform"},
        {609300, L"Easy Drag"},
        {609350, L"Close By Mouse-Wheel Click"},
        {609450, L"Ready"},
        {609460, L"Done!"},
        {700000, L"Language"},
        {700001, L"Translate? (online)"},
        {701000, L"About"},
        {701100, L"Version Information"},
        {701200, L"Software Page (online)"},
        {701300, L"Tell Developers (online)"},
        {107000, L"More Software from Vesk (online)"},
        {108100, L"Using at Workplace? (online)"},
        {400010, L"Version:"},
        {400020, L"Last Updated:"},
        {400080, L"URL:"},
        {400100, L"Version Information"},
        {400120, L"Close"},
        {500010, L"1.16"},
    };
    const LangPack* english = pack->findLanguage(L"English");
    ASSERT_NE(nullptr, english);
    for (const auto& q : quoted)
    {
        const wchar_t* text = english->findText(q.id);
        ASSERT_NE(nullptr, text) << q.id;
        EXPECT_STREQ(q.text, text) << q.id;
    }
}

// The worker reads status texts while the user-interface thread switches the language:
// every answer is one language's whole text, never a torn or missing one.
TEST_F(EmbeddedPack, TextsReadOnOtherThreadsWhileTheLanguageChanges)
{
    std::atomic<bool> stop{false};
    std::atomic<int> bad{0};
    std::vector<std::thread> readers;
    for (int r = 0; r < 2; ++r)
    {
        readers.emplace_back(
            [&]
            {
                while (!stop.load())
                {
                    const wchar_t* text = pack->getText(609450);
                    if (!text || !pack->hasText(609450) || wcslen(text) == 0 || wcslen(text) > 40)
                        ++bad;
                }
            });
    }
    for (int round = 0; round < 200; ++round)
        pack->selectLanguageIndex(uint32_t(round) % pack->getLanguageCount());
    stop.store(true);
    for (std::thread& reader : readers)
        reader.join();
    EXPECT_EQ(0, bad.load());
}

TEST_F(EmbeddedPack, FullLanguagesAreTranslatedPartialOnesFallBackToEnglish)
{
    pack->selectLanguage(L"German");
    EXPECT_STREQ(L"Ablagefeld", pack->getText(1001000));
    EXPECT_STREQ(L"Erweiterte Optionen >>", pack->getText(1005000));
    EXPECT_STREQ(L"Kairon", pack->getText(500000));  // the same in every language
    pack->selectLanguage(L"Japanese");
    EXPECT_STREQ(L"\u6e96\u5099\u5b8c\u4e86", pack->getText(609450));
    pack->selectLanguage(L"Dutch");
    EXPECT_STREQ(L"Neerzetvak", pack->getText(1001000));
    EXPECT_STREQ(L"Write this time also to the files / subfolders inside the folder",
                 pack->getText(1205000));
    // The Venetian texts keep their U+019A on systems that have it.
    const LangPack* venetian = pack->findLanguage(L"venetian");
    ASSERT_NE(nullptr, venetian);
    EXPECT_FALSE(venetian->replacesVenetianL());
    EXPECT_NE(nullptr, wcschr(venetian->findText(1006070), L'\u019a'));

    // No language marked complete shows an English text where English has a word to
    // translate: each of them has its own child in every translated entry.
    Node* root = Node::Acquire();
    HRSRC found = FindResourceW(nullptr, MAKEINTRESOURCEW(130), L"IDR_XML");
    ASSERT_NE(nullptr, found);
    const void* bytes = LockResource(LoadResource(nullptr, found));
    ASSERT_TRUE(root->parseUtf8(static_cast<const uint8_t*>(bytes),
                                int32_t(SizeofResource(nullptr, found))));
    const Node* entries = root->findChild(L"entries");
    ASSERT_NE(nullptr, entries);
    for (uint32_t e = 0; e < entries->getChildCount(); ++e) {
        const Node* entry = entries->getChild(e);
        ASSERT_TRUE(entry->getChildCount() >= 1);
        EXPECT_TRUE(entry->getChild(0)->nameEquals(L"eng")) << e;
        if (entry->getChildCount() == 1)
            continue;  // language-neutral: product name, version, addresses
        for (uint32_t l = 0; l < 13; ++l)
            EXPECT_NE(nullptr, entry->findChild(PACK_LANGUAGES[l].tag))
                << entry->getRawValue(L"id", L"?") << " " << PACK_LANGUAGES[l].tag;
    }
    root->Release();
}

TEST_F(EmbeddedPack, SystemLanguagesMapToThePacksLanguages)
{
    struct Case
    {
        uint16_t languageId;
        const wchar_t* selected;
    };
    const Case cases[] = {
        {0x0404, L"Chinese_Traditional"}, {0x0C04, L"Chinese_Traditional"},
        {0x0804, L"Chinese_Simplified"},  {0x1004, L"Chinese_Simplified"},
        {0x0816, L"Portuguese_Brazilian"}, {0x0416, L"Portuguese_Brazilian"},
        {0x081A, L"Serbian_Latin"},       {0x0C1A, L"Serbian_Cyrillic"},
        {0x7C1A, L"Serbian_Cyrillic"},    {0x201A, L"English"},
        {0x041A, L"Croatian"},            {0x101A, L"Croatian"},
        {0x0441, L"English"},             {0x0407, L"German"},
        {0x0C07, L"German"},              {0x0411, L"Japanese"},
        {0x0429, L"Persian"},             {0x042A, L"Vietnamese"},
        {0x0423, L"Belarusian"},          {0x0409, L"English"},
        {0x0403, L"English"},  // Catalan: not in the pack
    };
    for (const Case& c : cases) {
        pack->selectLanguage(L"English");
        pack->selectLanguage(Localizer::languageNameOf(c.languageId));
        EXPECT_STREQ(c.selected, pack->getCurrentLanguage()->getEngName()) << std::hex
                                                                           << c.languageId;
    }
    EXPECT_STREQ(L"CHINESE_TRADITIONAL", Localizer::languageNameOf(0x0404));
    EXPECT_STREQ(L"GERMAN", Localizer::languageNameOf(0x0407));
    EXPECT_STREQ(L"Unknown", Localizer::languageNameOf(0x0403));
}

TEST_F(EmbeddedPack, SavedNameDifferingOnlyInCaseSelectsAndNeedsNoWrite)
{
    CountingListener listener;
    pack->addListener(&listener);
    // What start-up does with the saved "Language" value.
    auto startUp = [this](const wchar_t* saved) {
        pack->selectLanguage(saved);
        return _wcsicmp(pack->getCurrentLanguage()->getEngName(), saved) != 0;  // write back?
    };
    EXPECT_FALSE(startUp(L"german"));
    EXPECT_STREQ(L"German", pack->getCurrentLanguage()->getEngName());
    EXPECT_EQ(1, listener.calls);
    EXPECT_EQ(pack, listener.lastSource);
    EXPECT_EQ(0, listener.lastKind);

    EXPECT_FALSE(startUp(L"GERMAN"));  // already current: no change, no call
    EXPECT_EQ(1, listener.calls);

    EXPECT_TRUE(startUp(L"Klingon"));  // matches nothing: English, to be saved
    EXPECT_STREQ(L"English", pack->getCurrentLanguage()->getEngName());
    EXPECT_EQ(2, listener.calls);

    pack->selectLanguageIndex(4);
    EXPECT_STREQ(L"German", pack->getCurrentLanguage()->getEngName());
    pack->selectLanguageIndex(4);
    pack->selectLanguageIndex(99);
    EXPECT_EQ(3, listener.calls);

    pack->addListener(&listener);  // once only
    EXPECT_EQ(1u, pack->getListenerCount());
    pack->removeListener(&listener);
    pack->selectLanguageIndex(0);
    EXPECT_EQ(3, listener.calls);
}

// A listener that removes itself while being told used to make the next one miss
// the change; one removed by another before its turn is not told; one added
// meanwhile waits for the next change.
TEST_F(EmbeddedPack, ListenersMayAddAndRemoveListenersWhileBeingTold)
{
    struct Changing : CountingListener
    {
        Localizer* pack = nullptr;
        IEventListener* remove = nullptr;
        IEventListener* add = nullptr;
        void handleEvent(void* source, int kind) override
        {
            CountingListener::handleEvent(source, kind);
            if (remove)
                pack->removeListener(remove);
            if (add)
                pack->addListener(add);
            remove = add = nullptr;  // once
        }
    };
    Changing self, removesLast, later;
    CountingListener afterSelf, last, added;
    self.pack = removesLast.pack = pack;
    self.remove = &self;
    removesLast.remove = &last;
    removesLast.add = &added;
    for (s::gui::events::IEventListener* l :
         std::initializer_list<s::gui::events::IEventListener*>{&self, &afterSelf, &removesLast, &last, &later})
        pack->addListener(l);

    pack->selectLanguage(L"German");
    EXPECT_EQ(1, self.calls);
    EXPECT_EQ(1, afterSelf.calls);  // was skipped when self removed itself
    EXPECT_EQ(1, removesLast.calls);
    EXPECT_EQ(0, last.calls);       // removed before its turn
    EXPECT_EQ(1, later.calls);
    EXPECT_EQ(0, added.calls);      // added during this change
    EXPECT_EQ(4u, pack->getListenerCount());

    pack->selectLanguage(L"French");
    EXPECT_EQ(1, self.calls);
    EXPECT_EQ(2, afterSelf.calls);
    EXPECT_EQ(2, later.calls);
    EXPECT_EQ(1, added.calls);
}

TEST(LocalizerBuild, FallbacksNumbersKeysAndUnknownTags)
{
    Localizer* localizer = FromDocument(
        L"<pack><LANGUAGES>"
        L"<entry tagName=\"aa\" engName=\"Alpha\" trueName=\"A &amp; A\"/>"
        L"<other tagName=\"zz\"/>"
        L"<Entry tagName=\"bb\" engName=\"Beta\" trueName=\"B\"/>"
        L"</LANGUAGES><entries>"
        L"<entry id=\"12abc\">note for translators<xx>first</xx><aa>a12</aa><BB> b12 </BB></entry>"
        L"<entry id=\"13\"><aa>a13&#160;</aa></entry>"
        L"<entry id=\"13\"><aa>later</aa><bb>b13</bb></entry>"
        L"<entry id=\"key\"><bb>bkey</bb></entry>"
        L"<entry id=\"\"><aa>empty id</aa></entry>"
        L"<entry id=\"14\"></entry>"
        L"<notentry id=\"15\"><aa>x</aa></notentry>"
        L"</entries></pack>");
    ASSERT_EQ(2u, localizer->getLanguageCount());
    EXPECT_STREQ(L"A & A", localizer->getLanguage(0)->getTrueName());
    localizer->selectLanguage(L"alpha");
    EXPECT_STREQ(L"a12", localizer->getText(12));
    EXPECT_STREQ(L"a13 ", localizer->getText(13));   // the first text of an id wins
    EXPECT_STREQ(L"bkey", localizer->getNamedText(L"key"));
    EXPECT_STREQ(L"empty id", localizer->getNamedText(L""));
    EXPECT_STREQ(L"", localizer->getText(14));
    EXPECT_FALSE(localizer->hasText(14));
    EXPECT_EQ(nullptr, localizer->getLanguage(0)->findText(15));
    localizer->selectLanguage(L"Beta");
    EXPECT_STREQ(L"b12", localizer->getText(12));
    EXPECT_STREQ(L"a13 ", localizer->getText(13));  // the fallback came first
    // Missing "English" and a name that matches nothing: the first language.
    localizer->selectLanguage(L"nothing");
    EXPECT_STREQ(L"Alpha", localizer->getCurrentLanguage()->getEngName());
    localizer->Release();
}

TEST(LocalizerBuild, LanguageFamiliesFallBackWithinThePack)
{
    Localizer* localizer = FromDocument(
        L"<p><languages><entry tagName=\"t\" engName=\"Chinese_Traditional\"/>"
        L"<entry tagName=\"l\" engName=\"Serbian_Latin\"/>"
        L"<entry tagName=\"e\" engName=\"English\"/></languages><entries/></p>");
    EXPECT_STREQ(L"Chinese_Traditional",
                 localizer->findLanguage(L"CHINESE_SIMPLIFIED")->getEngName());
    EXPECT_STREQ(L"Chinese_Traditional", localizer->findLanguage(L"chinese")->getEngName());
    EXPECT_STREQ(L"Serbian_Latin", localizer->findLanguage(L"SERBIAN_CYRILLIC")->getEngName());
    EXPECT_EQ(nullptr, localizer->findLanguage(L"Portuguese"));
    EXPECT_EQ(nullptr, localizer->findLanguage(L"Swahili"));
    EXPECT_EQ(nullptr, localizer->findLanguage(nullptr));
    localizer->selectLanguage(L"PORTUGUESE_PORTUGAL");
    EXPECT_STREQ(L"English", localizer->getCurrentLanguage()->getEngName());
    localizer->Release();
}

TEST(LocalizerBuild, MissingResourceGivesNoLanguagesAndEmptyTexts)
{
    Localizer* localizer = Localizer::loadFromResource(nullptr, L"IDR_XML", 4321);
    ASSERT_NE(nullptr, localizer);
    EXPECT_EQ(0u, localizer->getLanguageCount());
    EXPECT_STREQ(L"", localizer->getText(1001000));
    EXPECT_FALSE(localizer->hasText(1001000));
    localizer->selectLanguage(L"English");
    localizer->selectLanguageIndex(0);
    EXPECT_EQ(nullptr, localizer->getCurrentLanguage());
    localizer->Release();

    localizer = FromDocument(L"not a pack");
    EXPECT_EQ(0u, localizer->getLanguageCount());
    localizer->Release();
}

TEST(LocalizerBuild, ReleasedLocalizerComesBackEmpty)
{
    Localizer* localizer = Localizer::loadFromResource(nullptr);
    CountingListener listener;
    localizer->addListener(&listener);
    localizer->Release();
    Localizer* again = Localizer::Acquire();
    EXPECT_EQ(0u, again->getLanguageCount());
    EXPECT_EQ(0u, again->getListenerCount());
    EXPECT_EQ(nullptr, again->getCurrentLanguage());
    again->Release();
}

// Run with LC_ALL=ja_JP.UTF-8 (tests.cmake).
TEST(LocalizerJapaneseEnv, SystemLanguageIsJapanese)
{
    EXPECT_STREQ(L"JAPANESE", Localizer::systemLanguageName());
    Localizer* pack = Localizer::loadFromResource(nullptr);
    EXPECT_STREQ(L"Japanese", pack->getCurrentLanguage()->getEngName());
    EXPECT_STREQ(L"\u30c9\u30ed\u30c3\u30d7\u30dc\u30c3\u30af\u30b9", pack->getText(1001000));
    pack->Release();
}

// Run with LC_ALL=de_DE.UTF-8 (tests.cmake).
TEST(LocalizerGermanEnv, SystemLanguageIsGerman)
{
    EXPECT_STREQ(L"GERMAN", Localizer::systemLanguageName());
    Localizer* pack = Localizer::loadFromResource(nullptr);
    EXPECT_STREQ(L"German", pack->getCurrentLanguage()->getEngName());
    EXPECT_STREQ(L"Ablagefeld", pack->getText(1001000));
    pack->Release();
}
