// Bitmap conversion: checked loading, colour reduction and saving on generated files, a
// fuzz loop of damaged files, and command 40028 through its own dialogs.
#include <gtest/gtest.h>

#include <numeric>
#include <random>
#include <string.h>

#include "bitmap/BitmapFile.h"
#include "bitmap/BitmapImage.h"
#include "bitmap/BitmapMessages.h"
#include "bitmap/ColourReduction.h"
#include "resources/resource.h"
#include "support/AppWindow.h"
#include "support/DialogWatcher.h"
#include "support/Waits.h"

namespace {

template <typename T> std::string BytesOf(const T& value)
{
    return std::string(reinterpret_cast<const char*>(&value), sizeof(value));
}

// A bitmap file written independently of the code under test: pixel values bottom row
// first, a table of 0xRRGGBB colours, an info header of infoSize bytes (zero past 40).
std::string Bmp(int depth, int width, int height, const std::vector<DWORD>& pixels,
                const std::vector<DWORD>& table = {}, int infoSize = 40)
{
    int rows = height < 0 ? -height : height;
    int row = (depth * width + 31) / 32 * 4;
    std::string bits(row * rows, '\0');
    for (int y = 0; y < rows; y++)
        for (int x = 0; x < width; x++) {
            DWORD v = pixels[y * width + x];
            int bit = x * depth;
            if (depth < 8)
                bits[y * row + bit / 8] |= static_cast<char>(v << (8 - depth - bit % 8));
            for (int i = 0; depth >= 8 && i < depth / 8; i++)
                bits[y * row + bit / 8 + i] = static_cast<char>(v >> (8 * i));
        }
    BITMAPINFOHEADER info = {40, width, height, 1, static_cast<WORD>(depth), BI_RGB,
                             static_cast<DWORD>(bits.size()), 0, 0,
                             static_cast<DWORD>(table.size()), static_cast<DWORD>(table.size())};
    info.biSize = infoSize;
    std::string head = BytesOf(info) + std::string(infoSize - 40, '\0');
    for (DWORD colour : table)
        head += BytesOf(colour);
    BITMAPFILEHEADER file = {0x4D42, static_cast<DWORD>(14 + head.size() + bits.size()), 0, 0,
                             static_cast<DWORD>(14 + head.size())};
    return BytesOf(file) + head + bits;
}

std::vector<std::string> g_told;

void KeepMessage(HWND, const char* caption, const char* text, DWORD error)
{
    g_told.push_back(std::string(caption) + "|" + (text ? text : std::to_string(error)));
}

class Bitmaps : public ::testing::Test {
protected:
    Bitmaps() : m_previous(RouteBitmapMessages(KeepMessage)) { g_told.clear(); }
    ~Bitmaps() { RouteBitmapMessages(m_previous); }

    std::string In() const { return folder.File("in.bmp"); }
    std::string Out() const { return folder.File("out.bmp"); }

    // The command's steps without its dialogs: the bytes written, or "" when none were.
    std::string Convert(const std::string& bytes)
    {
        WriteBytes(In(), bytes);
        DeleteFileA(Out().c_str());
        CBitmapImage image;
        if (LoadBitmapFile(nullptr, In().c_str(), &image)) {
            ReduceColours(&image);
            SaveBitmapFile(nullptr, Out().c_str(), image);
        }
        return FileExists(Out()) ? ReadBytes(Out()) : "";
    }

    TempFolder folder;
    BitmapMessageRoute m_previous;
};

const DWORD A = 0x102030, B = 0xFFFFFF, C = 0x0000FF;

} // namespace

TEST_F(Bitmaps, FewColoursBecomeAPaletteInTheOrderTheyFirstOccur)
{
    // Odd width: each 4-bit row ends in a zero low half and is padded to four bytes.
    std::string out = Convert(Bmp(24, 3, 2, {A, B, A, C, A, B}));
    EXPECT_EQ(Bmp(4, 3, 2, {0, 1, 0, 2, 0, 1}, {A, B, C}), out);
    EXPECT_EQ(std::string("\x01\x00\x00\x00\x20\x10\x00\x00", 8), out.substr(54 + 12));

    std::vector<DWORD> many;
    for (DWORD i = 0; i < 257; i++)
        many.push_back(i * 0x010203);
    std::vector<DWORD> indexes(256);
    std::iota(indexes.begin(), indexes.end(), 0);
    std::vector<DWORD> seventeen(many.begin(), many.begin() + 17);
    EXPECT_EQ(Bmp(8, 17, 1, indexes, seventeen), Convert(Bmp(24, 17, 1, seventeen)));
    std::vector<DWORD> greys = indexes;
    for (DWORD& grey : greys)
        grey *= 0x010101;
    EXPECT_EQ(Bmp(8, 256, 1, indexes, greys), Convert(Bmp(24, 256, 1, greys))) << "256 colours";
    EXPECT_EQ(Bmp(24, 257, 1, many), Convert(Bmp(24, 257, 1, many))) << "257 colours";

    // Two 32-bit values that differ in the fourth byte alone are two colours.
    EXPECT_EQ(Bmp(4, 2, 1, {0, 1}, {A, A}), Convert(Bmp(32, 2, 1, {A, 0xFF000000 | A})));
    // Five-bit fields each land at the top of their byte: pure blue stays blue.
    EXPECT_EQ(Bmp(4, 4, 1, {0, 1, 2, 3}, {0xF8, 0xF800, 0xF80000, 0xF8F8F8}),
              Convert(Bmp(16, 4, 1, {0x001F, 0x03E0, 0x7C00, 0x7FFF})));
}

TEST_F(Bitmaps, PaletteTopDownAndLongHeaderImagesAreSavedAsLoaded)
{
    for (const std::string& bytes : {Bmp(8, 3, 2, {0, 1, 2, 2, 1, 0}, {A, B, C}),
                                     Bmp(4, 5, 1, {0, 1, 0, 1, 0}, {A, B}),
                                     Bmp(1, 9, 2, std::vector<DWORD>(18, 1), {A, B}),
                                     Bmp(24, 2, -2, {A, B, B, A})})
        EXPECT_EQ(bytes, Convert(bytes));
    // A longer info header is written as the plain one, its colour table right after it.
    EXPECT_EQ(Bmp(8, 2, 1, {1, 0}, {A, B}), Convert(Bmp(8, 2, 1, {1, 0}, {A, B}, 108)));
    EXPECT_EQ(Bmp(4, 2, 1, {0, 1}, {A, B}), Convert(Bmp(32, 2, 1, {A, B}, {}, 124)));
    EXPECT_TRUE(g_told.empty());
}

TEST_F(Bitmaps, DamagedFilesAreRefusedWithAReasonAndNothingIsWritten)
{
    const std::string good = Bmp(8, 3, 2, {0, 1, 2, 2, 1, 0}, {A, B, C});
    auto with = [&](size_t offset, DWORD value, size_t width = 4) {
        std::string bytes = good;
        memcpy(&bytes[offset], &value, width);
        return bytes;
    };
    const std::string damaged[] = {
        good.substr(0, 53), good.substr(0, good.size() - 1), with(0, 'M' | 'B' << 8, 2),
        with(14, 39), with(14, 0x10000), with(28, 2, 2), with(30, BI_BITFIELDS),
        with(30, BI_RLE8), with(46, 257), with(46, 0x40000000) /* 40 + 4 x count wraps */,
        with(10, 0), with(10, 0xFFFFFFFF), with(18, 0x7FFFFFFF), with(22, 0x80000000)};
    for (const std::string& bytes : damaged) {
        g_told.clear();
        EXPECT_EQ("", Convert(bytes));
        ASSERT_EQ(1u, g_told.size());
        EXPECT_EQ(0u, g_told[0].find("Zendle Editor|\"" + In() + "\" cannot be converted because "))
            << g_told[0];
    }

    g_told.clear();
    CBitmapImage image;
    EXPECT_EQ(0, LoadBitmapFile(nullptr, folder.File("none.bmp").c_str(), &image));
    EXPECT_EQ((std::vector<std::string>{"File creation failed|2"}), g_told);
    // A header changed after loading no longer fits its blocks: the save reads no further.
    WriteBytes(In(), good);
    ASSERT_EQ(1, LoadBitmapFile(nullptr, In().c_str(), &image));
    image.m_pHeader[14] = 24;
    EXPECT_EQ(0, SaveBitmapFile(nullptr, Out().c_str(), image));
    EXPECT_FALSE(FileExists(Out()));
}

TEST_F(Bitmaps, AFuzzLoopOfDamagedFilesNeverCrashesAndWritesOnlyWholeBitmaps)
{
    const std::string seeds[] = {Bmp(24, 3, 2, {A, B, A, C, A, B}),
                                 Bmp(8, 3, 2, {0, 1, 2, 2, 1, 0}, {A, B, C}),
                                 Bmp(16, 5, 3, std::vector<DWORD>(15, 0x7C1F)),
                                 Bmp(32, 2, 2, {A, B, C, A}, {}, 108),
                                 Bmp(1, 9, 1, std::vector<DWORD>(9, 1), {A, B})};
    const DWORD wild[] = {0, 1, 40, 0x7FFFFFFF, 0x80000000, 0xFFFFFFFF, 0x40000000, 0x3FFFFFF1};
    const size_t fields[] = {2, 10, 14, 18, 22, 26, 28, 30, 34, 46};
    std::mt19937 random(15);
    int accepted = 0, refused = 0;
    for (int i = 0; i < 3000; i++) {
        std::string bytes = seeds[random() % 5];
        switch (random() % 3) {
        case 0:
            bytes.resize(random() % bytes.size());
            break;
        case 1: {
            DWORD value = random() % 2 ? wild[random() % 8] : static_cast<DWORD>(random());
            memcpy(&bytes[fields[random() % 10]], &value, 4);
            break;
        }
        default:
            for (int flips = 1 + random() % 4; flips > 0; flips--)
                bytes[random() % bytes.size()] ^= static_cast<char>(1 << random() % 8);
        }
        g_told.clear();
        std::string out = Convert(bytes);
        if (out.empty()) {
            refused++;
            EXPECT_EQ(1u, g_told.size()) << "mutation " << i;
            continue;
        }
        accepted++;
        // What was written is a whole bitmap that loads again with its size stated.
        CBitmapImage again;
        const char* reason = nullptr;
        EXPECT_EQ(1, ReadBitmap(reinterpret_cast<const BYTE*>(out.data()), out.size(), &again,
                                &reason)) << "mutation " << i << ": " << reason;
        EXPECT_EQ(out.size(), *reinterpret_cast<const DWORD*>(&out[2])) << "mutation " << i;
    }
    EXPECT_GT(accepted, 100);
    EXPECT_GT(refused, 1000);
}

TEST(BitmapCommand, ChoosesThroughItsOwnDialogsAndTheirChecks)
{
    AppWindow app;
    WriteBytes(app.Folder().File("notes.txt"), "not a picture");
    WriteBytes(app.Folder().File("in.bmp"), Bmp(24, 3, 2, {A, B, A, C, A, B}));
    auto answer = [](HWND box, int button, const char* name) {
        HWND fileDialog = GetWindow(box, GW_OWNER);
        PressDialogButton(box, button);
        // The file dialog takes a name again once the code that showed the box returned.
        EXPECT_TRUE(WaitUntilClosed(box) && WaitUntilIdle(fileDialog)) << name;
        ChooseFileName(fileDialog, name);
    };
    std::vector<SeenDialog> seen;
    {
        int files = 0;
        DialogWatcher dialogs([&](HWND dialog, const SeenDialog& box) {
            if (box.fileDialog)
                ChooseFileName(dialog, ++files == 1 ? "notes.txt" : "out.txt");
            else if (box.text == "Please select a bitmap file.")
                answer(dialog, IDOK, "in.bmp");
            else
                answer(dialog, IDNO, "out.bmp");
        });
        app.Command(ID_BITMAP_CONVERT);
        seen = dialogs.Seen();
    }
    ASSERT_EQ(4u, seen.size());
    EXPECT_EQ("Zendle Editor", seen[1].caption);
    EXPECT_EQ("Please select a bitmap file.", seen[1].text);
    EXPECT_EQ("Saving this file in a non-text format can lead to undesired\nresults when "
              "loading or locating the file in the future.\nDo you wish to proceed?",
              seen[3].text);
    EXPECT_EQ(Bmp(4, 3, 2, {0, 1, 0, 2, 0, 1}, {A, B, C}),
              ReadBytes(app.Folder().File("out.bmp")));
    EXPECT_FALSE(FileExists(app.Folder().File("out.txt")));

    DialogWatcher cancel(IDCANCEL);
    app.Command(ID_BITMAP_CONVERT);
    EXPECT_EQ(1u, cancel.Count()) << "a cancelled open asks for no name to save under";
}
