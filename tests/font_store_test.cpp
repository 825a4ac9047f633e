#include <gtest/gtest.h>

#include <string.h>

#include <string>

#include "app/AppState.h"
#include "app/FileFontStore.h"
#include "support/DialogWatcher.h"
#include "support/TestFiles.h"

namespace {

CFontRecord MakeRecord(const std::string& path, COLORREF colour, const char* face, int height)
{
    CFontRecord record;
    memset(&record, 0, sizeof(record));
    record.m_dwSize = FONT_RECORD_SIZE;
    record.m_crColour = colour;
    memcpy(record.m_szPath, path.data(), path.size() < 260 ? path.size() : 260);
    record.m_lf.lfHeight = height;
    lstrcpynA(record.m_lf.lfFaceName, face, LF_FACESIZE);
    return record;
}

int StoreOnce(const CFontRecord& record)
{
    CFileFontStore store(nullptr);
    return store.Store(&record);
}

// Looks path up in a store of its own, as a document does while loading.
int LookupOnce(const std::string& path, CFontRecord* found)
{
    *found = MakeRecord(path, 0x123456, "untouched", 99);
    CFileFontStore store(nullptr);
    return store.Lookup(found);
}

std::string RegistryValue(DWORD* type)
{
    HKEY key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, "ZendleEditor", 0, KEY_READ, &key) != ERROR_SUCCESS)
        return "<no key>";
    char data[600];
    DWORD size = sizeof(data);
    LONG error = RegQueryValueExA(key, "FileFont", nullptr, type, (BYTE*)data, &size);
    RegCloseKey(key);
    return error == ERROR_SUCCESS ? std::string(data, size) : "<no value>";
}

void SetRegistryValue(const void* data, DWORD size, DWORD type = REG_SZ)
{
    HKEY key;
    RegCreateKeyExA(HKEY_CURRENT_USER, "ZendleEditor", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                    &key, nullptr);
    RegSetValueExA(key, "FileFont", 0, type, (const BYTE*)data, size);
    RegCloseKey(key);
}

std::string Header(DWORD size, DWORD count)
{
    DWORD header[2] = {size, count};
    return std::string((const char*)header, 8);
}

std::string RecordBytes(const CFontRecord& record)
{
    return std::string((const char*)&record, sizeof(record));
}

// A 32-bit word as the file holds it, least significant byte first.
std::string Word(int value)
{
    std::string bytes;
    for (int i = 0; i < 4; i++)
        bytes += static_cast<char>(static_cast<unsigned int>(value) >> (8 * i) & 0xFF);
    return bytes;
}

class FontStore : public ::testing::Test {
protected:
    StoreSandbox sandbox;
    DialogWatcher boxes;
    std::string File(const char* name) { return sandbox.Folder().File(name); }
};

TEST_F(FontStore, FirstStartCreatesKeyValueAndEmptyStore)
{
    {
        CFileFontStore store(nullptr);
        EXPECT_TRUE(store.IsOpen());
        EXPECT_EQ(0u, store.m_dwCount);
    }
    HKEY key;
    ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExA(HKEY_CURRENT_USER, "ZendleEditor", 0, KEY_READ, &key));
    char className[64] = "";
    DWORD classSize = sizeof(className);
    RegQueryInfoKeyA(key, className, &classSize, nullptr, nullptr, nullptr, nullptr, nullptr,
                     nullptr, nullptr, nullptr, nullptr);
    RegCloseKey(key);
    EXPECT_STREQ("ZendleClass", className);

    DWORD type = 0;
    std::string value = RegistryValue(&type);
    EXPECT_EQ(DWORD(REG_SZ), type);
    EXPECT_EQ(260u, value.size());
    EXPECT_STREQ(sandbox.StorePath().c_str(), value.c_str());
    EXPECT_EQ(Header(8, 0), ReadBytes(sandbox.StorePath()));
    EXPECT_EQ(0u, boxes.Count());
}

TEST_F(FontStore, StoresOneRecordPerFileAndLooksThemUp)
{
    std::string a = File("a.txt"), b = File("b.txt");
    CFontRecord found;
    EXPECT_EQ(0, LookupOnce(a, &found));
    EXPECT_EQ(0x123456u, found.m_crColour) << "an empty store leaves the record alone";

    EXPECT_EQ(1, StoreOnce(MakeRecord(a, RGB(1, 2, 3), "Tahoma", -12)));
    EXPECT_EQ(8u + 328, ReadBytes(sandbox.StorePath()).size());
    EXPECT_EQ(1, StoreOnce(MakeRecord(a, RGB(4, 5, 6), "Courier New", -20)));
    EXPECT_EQ(8u + 328, ReadBytes(sandbox.StorePath()).size()) << "a second save replaces";
    EXPECT_EQ(1, StoreOnce(MakeRecord(b, RGB(7, 8, 9), "Arial", -9)));
    std::string bytes = ReadBytes(sandbox.StorePath());
    ASSERT_EQ(8u + 2 * 328, bytes.size());
    EXPECT_EQ(Header(8, 2), bytes.substr(0, 8));
    EXPECT_EQ(RecordBytes(MakeRecord(a, RGB(4, 5, 6), "Courier New", -20)), bytes.substr(8, 328));

    ASSERT_EQ(1, LookupOnce(a, &found));
    EXPECT_EQ(RGB(4, 5, 6), found.m_crColour);
    EXPECT_STREQ("Courier New", found.m_lf.lfFaceName);
    EXPECT_EQ(-20, found.m_lf.lfHeight);
    ASSERT_EQ(1, LookupOnce(b, &found));
    EXPECT_STREQ("Arial", found.m_lf.lfFaceName);

    EXPECT_EQ(0, LookupOnce(File("c.txt"), &found));
    EXPECT_EQ(0u, found.m_crColour) << "no match clears colour and font";
    EXPECT_EQ(0, found.m_lf.lfHeight);
    EXPECT_STREQ("", found.m_lf.lfFaceName);
    EXPECT_EQ(0u, boxes.Count());
}

TEST_F(FontStore, KnownBytesReadAndWriteAlikeInEveryBuild)
{
    // Put together field by field as the file lays them out, not from the program's structures.
    std::string path = File("layout.txt");
    const std::string known = Word(8) + Word(1) + Word(328) + Word(0x00332211) + path +
                              std::string(260 - path.size(), '\0') + Word(-17) + Word(5) +
                              Word(900) + Word(450) + Word(700) +
                              std::string("\x01\x00\x01\xCC\x03\x02\x05\x31", 8) +
                              "Courier New" + std::string(32 - 11, '\0');
    ASSERT_EQ(8u + 328, known.size());
    WriteBytes(sandbox.StorePath(), known);

    CFontRecord found;
    ASSERT_EQ(1, LookupOnce(path, &found));
    const LOGFONTA& lf = found.m_lf;
    const long fields[] = {static_cast<long>(found.m_crColour), lf.lfHeight, lf.lfWidth,
                           lf.lfEscapement, lf.lfOrientation, lf.lfWeight, lf.lfItalic,
                           lf.lfUnderline, lf.lfStrikeOut, lf.lfCharSet, lf.lfOutPrecision,
                           lf.lfClipPrecision, lf.lfQuality, lf.lfPitchAndFamily};
    const long expected[] = {0x00332211, -17, 5, 900, 450, 700, 1, 0, 1, 0xCC, 3, 2, 5, 0x31};
    for (size_t i = 0; i < sizeof(fields) / sizeof(fields[0]); i++)
        EXPECT_EQ(expected[i], fields[i]) << "field " << i;
    EXPECT_STREQ("Courier New", lf.lfFaceName);

    // Written anew from what was read, the store holds the same bytes.
    WriteBytes(sandbox.StorePath(), "");
    EXPECT_EQ(1, StoreOnce(found));
    EXPECT_EQ(known, ReadBytes(sandbox.StorePath()));
    EXPECT_EQ(0u, boxes.Count());
}

TEST_F(FontStore, MatchesTheWholePathOnly)
{
    std::string notes = File("notes.txt");
    StoreOnce(MakeRecord(notes + ".bak", RGB(9, 9, 9), "Arial", -9));
    CFontRecord found;
    EXPECT_EQ(0, LookupOnce(notes, &found)) << "the .bak record must not answer for notes.txt";

    StoreOnce(MakeRecord(notes, RGB(1, 1, 1), "Tahoma", -12));
    EXPECT_EQ(8u + 2 * 328, ReadBytes(sandbox.StorePath()).size());
    ASSERT_EQ(1, LookupOnce(notes + ".bak", &found));
    EXPECT_EQ(RGB(9, 9, 9), found.m_crColour) << "saving notes.txt kept the other file's record";
    ASSERT_EQ(1, LookupOnce(notes, &found));
    EXPECT_EQ(RGB(1, 1, 1), found.m_crColour);

    // Paths cut at 260 bytes are one key however they go on.
    std::string longPath = "C:\\" + std::string(300, 'x');
    StoreOnce(MakeRecord(longPath, RGB(2, 2, 2), "Arial", -9));
    ASSERT_EQ(1, LookupOnce(longPath.substr(0, 260) + "different tail", &found));
    EXPECT_EQ(RGB(2, 2, 2), found.m_crColour);
    EXPECT_EQ(0, LookupOnce(longPath.substr(0, 259), &found));
}

TEST_F(FontStore, PruneDropsTheRecordsOfDeletedFiles)
{
    std::string kept = File("kept.txt"), gone = File("gone.txt");
    WriteBytes(kept, "x");
    WriteBytes(gone, "y");
    StoreOnce(MakeRecord(gone, RGB(1, 0, 0), "Arial", -9));
    StoreOnce(MakeRecord(kept, RGB(0, 1, 0), "Tahoma", -12));
    DeleteFileA(gone.c_str());
    {
        CFileFontStore store(nullptr);
        EXPECT_EQ(1, store.Prune());
        EXPECT_EQ(1u, store.m_dwCount);
    }
    std::string bytes = ReadBytes(sandbox.StorePath());
    EXPECT_EQ(Header(8, 1) + RecordBytes(MakeRecord(kept, RGB(0, 1, 0), "Tahoma", -12)), bytes);
    CFileFontStore again(nullptr);
    EXPECT_EQ(0, again.Prune()) << "nothing left to drop";
}

TEST_F(FontStore, TrustsTheFileOnlyAsFarAsItGoes)
{
    std::string a = File("a.txt"), b = File("b.txt"), c = File("c.txt");
    // The header promises five records; the file holds two and a half.
    WriteBytes(sandbox.StorePath(),
               Header(8, 5) + RecordBytes(MakeRecord(a, 1, "Arial", -9)) +
                   RecordBytes(MakeRecord(b, 2, "Arial", -9)) + std::string(100, 'z'));
    CFontRecord found;
    EXPECT_EQ(1, LookupOnce(b, &found));
    EXPECT_EQ(0, LookupOnce(c, &found));
    EXPECT_EQ(1, StoreOnce(MakeRecord(c, 3, "Arial", -9)));
    std::string bytes = ReadBytes(sandbox.StorePath());
    EXPECT_EQ(8u + 3 * 328, bytes.size());
    EXPECT_EQ(Header(8, 3), bytes.substr(0, 8)) << "the true count is written back";
    EXPECT_EQ(1, LookupOnce(c, &found));

    // A stored face name without its terminator comes back terminated.
    CFontRecord unterminated = MakeRecord(a, 4, "", -9);
    memset(unterminated.m_lf.lfFaceName, 'F', LF_FACESIZE);
    WriteBytes(sandbox.StorePath(), Header(8, 1) + RecordBytes(unterminated));
    ASSERT_EQ(1, LookupOnce(a, &found));
    EXPECT_EQ(size_t(LF_FACESIZE - 1), strlen(found.m_lf.lfFaceName));

    // A record whose size field is wrong answers nothing.
    CFontRecord odd = MakeRecord(b, 5, "Arial", -9);
    odd.m_dwSize = 100;
    WriteBytes(sandbox.StorePath(), Header(8, 1) + RecordBytes(odd));
    EXPECT_EQ(0, LookupOnce(b, &found));
    EXPECT_EQ(0u, boxes.Count());
}

TEST_F(FontStore, NeverWritesIntoAFileThatIsNoStore)
{
    std::string a = File("a.txt");
    const std::string notStores[] = {Header(12, 0) + std::string(328, 'q'), "abcde"};
    for (const std::string& content : notStores) {
        WriteBytes(sandbox.StorePath(), content);
        {
            CFileFontStore store(nullptr);
            EXPECT_FALSE(store.IsOpen());
            CFontRecord record = MakeRecord(a, 1, "Arial", -9);
            EXPECT_EQ(0, store.Store(&record));
            EXPECT_EQ(0, store.Lookup(&record));
            EXPECT_EQ(0, store.Prune());
        }
        EXPECT_EQ(content, ReadBytes(sandbox.StorePath()));
        DWORD type;
        EXPECT_STREQ(sandbox.StorePath().c_str(), RegistryValue(&type).c_str());
    }
    EXPECT_EQ(0u, boxes.Count());
}

TEST_F(FontStore, AStoreInUseIsSkippedNotEmptied)
{
    std::string a = File("a.txt");
    StoreOnce(MakeRecord(a, RGB(1, 2, 3), "Arial", -9));
    std::string before = ReadBytes(sandbox.StorePath());
    HANDLE holder = CreateFileA(sandbox.StorePath().c_str(), GENERIC_READ, 0, nullptr,
                                OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, holder);
    EXPECT_EQ(0, StoreOnce(MakeRecord(File("b.txt"), 1, "Arial", -9)));
    CloseHandle(holder);
    EXPECT_EQ(before, ReadBytes(sandbox.StorePath()));
    CFontRecord found;
    EXPECT_EQ(1, LookupOnce(a, &found));
    EXPECT_EQ(0u, boxes.Count());
}

TEST_F(FontStore, AMissingStoreIsMadeAfreshAtTheDefaultPath)
{
    // The registry names a store that is gone: a new one is made in the start-up folder.
    std::string elsewhere = File("missing\\old.fff");
    char value[260] = {};
    lstrcpynA(value, elsewhere.c_str(), sizeof(value));
    SetRegistryValue(value, sizeof(value));
    EXPECT_EQ(1, StoreOnce(MakeRecord(File("a.txt"), 1, "Arial", -9)));
    DWORD type;
    EXPECT_STREQ(sandbox.StorePath().c_str(), RegistryValue(&type).c_str());
    EXPECT_EQ(8u + 328, ReadBytes(sandbox.StorePath()).size());

    // A store already at the default path when the registry lost track of it keeps its records.
    RegDeleteKeyA(HKEY_CURRENT_USER, "ZendleEditor");
    CFontRecord found;
    EXPECT_EQ(1, LookupOnce(File("a.txt"), &found));
    EXPECT_EQ(0u, boxes.Count());
}

TEST_F(FontStore, ARegistryValueItCannotUseGivesWayToTheDefaultStore)
{
    // 260 bytes without a terminator, a value of the wrong type, one too long for a path,
    // and a path that cannot be opened: each time the default store is used and named.
    std::string unterminated(260, 'A');
    std::string tooLong(400, 'B');
    DWORD number = 7;
    std::string folder = sandbox.Folder().Path();
    char unusable[260] = {};
    lstrcpynA(unusable, folder.c_str(), sizeof(unusable)); // a folder is no file to open
    struct { const void* data; DWORD size; DWORD type; } values[] = {
        {unterminated.data(), 260, REG_SZ}, {&number, sizeof(number), REG_DWORD},
        {tooLong.c_str(), 401, REG_SZ},     {unusable, sizeof(unusable), REG_SZ}};
    for (const auto& v : values) {
        SetRegistryValue(v.data, v.size, v.type);
        EXPECT_EQ(1, StoreOnce(MakeRecord(File("a.txt"), 1, "Arial", -9)));
        DWORD type = 0;
        EXPECT_STREQ(sandbox.StorePath().c_str(), RegistryValue(&type).c_str());
        EXPECT_EQ(DWORD(REG_SZ), type);
        CFontRecord found;
        EXPECT_EQ(1, LookupOnce(File("a.txt"), &found)) << "the value now names the store";
    }
    EXPECT_EQ(0u, boxes.Count());
}

TEST_F(FontStore, AStartFolderTooLongForThePathIsReportedOnceARun)
{
    std::string deep = sandbox.Folder().Path() + "\\" + std::string(240, 'd');
    lstrcpynA(g_app.m_szStartDirectory, deep.c_str(), sizeof(g_app.m_szStartDirectory));
    for (int i = 0; i < 3; i++) {
        CFileFontStore store(nullptr);
        EXPECT_FALSE(store.IsOpen());
    }
    EXPECT_EQ(1u, boxes.Count());
}

TEST_F(FontStore, ReportsRegistryAndFileFailuresWithTheirCaptions)
{
    // The key exists without the value: reported, then a fresh store is made.
    HKEY key;
    RegCreateKeyExA(HKEY_CURRENT_USER, "ZendleEditor", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                    &key, nullptr);
    RegCloseKey(key);
    {
        CFileFontStore store(nullptr);
        EXPECT_TRUE(store.IsOpen());
    }
    std::vector<SeenDialog> seen = boxes.Seen();
    ASSERT_EQ(1u, seen.size());
    EXPECT_EQ("RegQueryValue() failed", seen[0].caption);
    EXPECT_FALSE(seen[0].text.empty());

    // A start-up folder that does not exist: the store file cannot be created.
    RegDeleteKeyA(HKEY_CURRENT_USER, "ZendleEditor");
    std::string missing = sandbox.Folder().File("no such folder");
    lstrcpynA(g_app.m_szStartDirectory, missing.c_str(), sizeof(g_app.m_szStartDirectory));
    {
        CFileFontStore store(nullptr);
        EXPECT_FALSE(store.IsOpen());
        CFontRecord record = MakeRecord(File("a.txt"), 1, "Arial", -9);
        EXPECT_EQ(0, store.Store(&record));
    }
    seen = boxes.Seen();
    ASSERT_EQ(2u, seen.size());
    EXPECT_EQ("CreateFile() failed", seen[1].caption);
}

TEST(StorePaths, MatchWholePathsOnly)
{
    char stored[260] = "C:\\notes.txt.bak";
    char path[260] = "C:\\notes.txt";
    EXPECT_EQ(0, StorePathsMatch(stored, path));
    EXPECT_EQ(0, StorePathsMatch(path, stored));
    lstrcpyA(stored, "C:\\notes.txt");
    EXPECT_EQ(1, StorePathsMatch(stored, path));
    memset(stored, 'x', 260);
    memset(path, 'x', 260);
    EXPECT_EQ(1, StorePathsMatch(stored, path)) << "both fill the 260 bytes";
    path[259] = 0;
    EXPECT_EQ(0, StorePathsMatch(stored, path));
}

} // namespace
