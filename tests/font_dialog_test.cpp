// The Select Font command: the system's font dialog with the editor's colour button and
// swatch, driven from a watcher thread as a user would, and what the document keeps.
#include <gtest/gtest.h>

#include <windows.h>
#include <dlgs.h>

#include <functional>
#include <string>
#include <vector>

#include "app/OpenDocument.h"
#include "document/DocumentOwner.h"
#include "document/TextDocument.h"
#include "resources/resource.h"
#include "support/AppWindow.h"
#include "support/DialogWatcher.h"
#include "support/Screenshot.h"
#include "support/TestSupport.h"
#include "support/ViewHarness.h"
#include "support/Waits.h"
#include "view/EditDisplay.h"
#include "view/FontInfo.h"

namespace {

typedef std::function<bool()> Condition;

const COLORREF GREEN = RGB(0, 128, 0);
// Ids of the full colour dialog's red, green and blue boxes and its custom colour button.
const int COLOUR_RED = 706, COLOUR_GREEN = 707, COLOUR_BLUE = 708, ADD_CUSTOM = 712;

struct CaptionSearch {
    const char* caption;
    HWND found;
};

BOOL CALLBACK FindCaption(HWND window, LPARAM param)
{
    CaptionSearch* search = reinterpret_cast<CaptionSearch*>(param);
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    char name[16] = "", caption[64] = "";
    GetClassNameA(window, name, sizeof(name));
    GetWindowTextA(window, caption, sizeof(caption));
    if (process == GetCurrentProcessId() && lstrcmpA(name, "#32770") == 0 &&
        IsWindowVisible(window) && lstrcmpA(caption, search->caption) == 0) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

// The colour dialog that the font dialog opens over itself.
HWND WaitForColourDialog()
{
    CaptionSearch search = {"Color", nullptr};
    WaitUntil([&search] {
        EnumWindows(FindCaption, reinterpret_cast<LPARAM>(&search));
        return search.found != nullptr;
    });
    return search.found;
}

HWND OpenColourDialog(HWND font)
{
    PressDialogButton(font, IDC_FONT_CHOOSE_COLOR);
    return WaitForColourDialog();
}

void TypeColour(HWND colour, COLORREF value)
{
    SetDlgItemInt(colour, COLOUR_RED, GetRValue(value), FALSE);
    SetDlgItemInt(colour, COLOUR_GREEN, GetGValue(value), FALSE);
    SetDlgItemInt(colour, COLOUR_BLUE, GetBValue(value), FALSE);
}

// Ends the colour dialog with a button and waits until the font dialog's hook is done with it.
void CloseColourDialog(HWND colour, HWND font, int button)
{
    PressDialogButton(colour, button);
    WaitUntilClosed(colour);
    WaitUntilIdle(font);
}

void PickColour(HWND font, COLORREF value)
{
    HWND colour = OpenColourDialog(font);
    ASSERT_NE(nullptr, colour);
    TypeColour(colour, value);
    CloseColourDialog(colour, font, IDOK);
}

// Selects an entry of one of the dialog's lists as a click would, with the list's notification.
bool Select(HWND dialog, int id, int index)
{
    HWND list = GetDlgItem(dialog, id);
    if (index < 0 || SendMessageA(list, CB_SETCURSEL, index, 0) == CB_ERR)
        return false;
    SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE), reinterpret_cast<LPARAM>(list));
    return true;
}

bool Select(HWND dialog, int id, const char* text)
{
    int index = static_cast<int>(
        SendDlgItemMessageA(dialog, id, CB_FINDSTRINGEXACT, -1, reinterpret_cast<LPARAM>(text)));
    return Select(dialog, id, index);
}

// The first face of the list that is not TrueType, or -1.
int FirstFaceNotTrueType(HWND dialog, std::string* name)
{
    HWND faces = GetDlgItem(dialog, cmb1);
    int count = static_cast<int>(SendMessageA(faces, CB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; i++) {
        if (LOWORD(SendMessageA(faces, CB_GETITEMDATA, i, 0)) & TRUETYPE_FONTTYPE)
            continue;
        char text[LF_FACESIZE] = "";
        SendMessageA(faces, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text));
        *name = text;
        return i;
    }
    return -1;
}

int NoteShown(HWND dialog)
{
    return IsWindowVisible(GetDlgItem(dialog, stc6)) ? 1 : 0;
}

std::vector<COLORREF> ColourBoxEntries(HWND dialog)
{
    std::vector<COLORREF> colours;
    HWND box = GetDlgItem(dialog, cmb4);
    int count = static_cast<int>(SendMessageA(box, CB_GETCOUNT, 0, 0));
    for (int i = 0; i < count && i < 16; i++)
        colours.push_back(static_cast<COLORREF>(SendMessageA(box, CB_GETITEMDATA, i, 0)));
    return colours;
}

std::vector<COLORREF> CustomColours(const CFontInfo* info)
{
    return std::vector<COLORREF>(info->m_custColours, info->m_custColours + 16);
}

// A document in Tahoma and green, shown in one view.
class FontDialog : public testing::Test {
protected:
    FontDialog() : h("first line\rthe second, longer line\r\tthird")
    {
        info = h.m_pDocument->GetFontInfo();
        HDC dc = CreateDCA("DISPLAY", nullptr, nullptr, nullptr);
        info->SetFont(CreateTestFont("Tahoma", 16), dc, GREEN);
        DeleteDC(dc);
        h.m_pDocument->RemeasureAllLines();
    }

    ViewHarness h;
    CFontInfo* info;
};

} // namespace

TEST_F(FontDialog, AColourChosenInACancelledDialogIsNotKept)
{
    HFONT before = info->GetFont();
    LOGFONTA logical = info->m_lf;
    COLORREF startColour = 1;
    {
        DialogWatcher watcher([&](HWND dialog, const SeenDialog&) {
            startColour = info->m_cc.rgbResult;
            std::string other;
            Select(dialog, cmb1, FirstFaceNotTrueType(dialog, &other)) || Select(dialog, cmb1, 0);
            Select(dialog, cmb3, 1);
            PickColour(dialog, RGB(200, 0, 0));
            PressDialogButton(dialog, IDCANCEL);
        });
        EXPECT_EQ(0, h.m_pDocument->SelectDocumentFont());
    }
    EXPECT_EQ(GREEN, startColour) << "the colour dialog starts at the document's colour";
    EXPECT_EQ(GREEN, info->GetColour());
    EXPECT_EQ(before, info->GetFont());
    EXPECT_STREQ(logical.lfFaceName, info->m_lf.lfFaceName) << "the dialog's face is dropped";
    EXPECT_EQ(logical.lfHeight, info->m_lf.lfHeight);

    // Confirmed without a colour chosen, the dialog keeps the document's colour.
    DialogWatcher watcher(IDOK);
    EXPECT_EQ(1, h.m_pDocument->SelectDocumentFont());
    EXPECT_EQ(GREEN, info->GetColour());
    EXPECT_STREQ("Tahoma", info->m_lf.lfFaceName);
}

TEST_F(FontDialog, CustomColoursComeFromTheFontDialogOnceThenStayTheUsers)
{
    const COLORREF mine = RGB(1, 2, 3);
    std::vector<COLORREF> offered, customFirst, customLater;
    {
        DialogWatcher watcher([&](HWND dialog, const SeenDialog&) {
            offered = ColourBoxEntries(dialog);
            HWND colour = OpenColourDialog(dialog);
            customFirst = CustomColours(info);
            // The user keeps a colour of their own in the first custom slot.
            TypeColour(colour, mine);
            SendMessageA(GetDlgItem(colour, ADD_CUSTOM), BM_CLICK, 0, 0);
            CloseColourDialog(colour, dialog, IDOK);
            PressDialogButton(dialog, IDCANCEL);
        });
        h.m_pDocument->SelectDocumentFont();
    }
    ASSERT_EQ(16u, offered.size()) << "the system's dialog lists sixteen colours";
    EXPECT_EQ(offered, customFirst);
    EXPECT_EQ(mine, info->m_custColours[0]);

    DialogWatcher watcher([&](HWND dialog, const SeenDialog&) {
        HWND colour = OpenColourDialog(dialog);
        customLater = CustomColours(info);
        CloseColourDialog(colour, dialog, IDCANCEL);
        PressDialogButton(dialog, IDCANCEL);
    });
    h.m_pDocument->SelectDocumentFont();
    ASSERT_EQ(16u, customLater.size());
    EXPECT_EQ(mine, customLater[0]) << "not filled again from the font dialog";
    EXPECT_EQ(std::vector<COLORREF>(offered.begin() + 1, offered.end()),
              std::vector<COLORREF>(customLater.begin() + 1, customLater.end()));
}

TEST_F(FontDialog, TheRasterNoteShowsOnlyForFacesThatAreNotTrueType)
{
    int atOpen = -1, forOther = -1, forTahoma = -1;
    std::string other;
    DialogWatcher watcher([&](HWND dialog, const SeenDialog&) {
        atOpen = NoteShown(dialog);
        if (Select(dialog, cmb1, FirstFaceNotTrueType(dialog, &other)))
            forOther = NoteShown(dialog);
        Select(dialog, cmb1, "Tahoma");
        forTahoma = NoteShown(dialog);
        PressDialogButton(dialog, IDCANCEL);
    });
    h.m_pDocument->SelectDocumentFont();
    EXPECT_EQ(0, atOpen) << "the document's face, Tahoma, is TrueType";
    EXPECT_EQ(0, forTahoma);
    // This system has no raster face; its PostScript outline faces are not TrueType either.
    ASSERT_FALSE(other.empty()) << "no face that is not TrueType";
    EXPECT_EQ(1, forOther) << other;
}

TEST_F(FontDialog, ADoubleClickOnTheSwatchOpensTheColourDialog)
{
    const COLORREF blue = RGB(0, 0, 220);
    HWND colour = nullptr;
    DialogWatcher watcher([&](HWND dialog, const SeenDialog&) {
        PostMessageA(GetDlgItem(dialog, IDC_FONT_SWATCH), WM_LBUTTONDBLCLK, MK_LBUTTON,
                     MAKELPARAM(4, 4));
        colour = WaitForColourDialog();
        if (colour) {
            TypeColour(colour, blue);
            CloseColourDialog(colour, dialog, IDOK);
        }
        PressDialogButton(dialog, IDOK);
    });
    EXPECT_EQ(1, h.m_pDocument->SelectDocumentFont());
    EXPECT_NE(nullptr, colour);
    EXPECT_EQ(blue, info->GetColour());
}

TEST_F(FontDialog, OkSetsTheFontAndColourAndRemeasuresAndRepaintsEveryView)
{
    CEditDisplay* second = h.AddView();
    const COLORREF blue = RGB(0, 0, 255);
    int widestBefore = h.m_pDocument->GetWidestWidth();
    for (CEditDisplay* view : h.m_views)
        UpdateWindow(view->m_hWnd);
    DialogWatcher watcher([&](HWND dialog, const SeenDialog&) {
        Select(dialog, cmb1, "Tahoma");
        Select(dialog, cmb3, "28");
        PickColour(dialog, blue);
        PressDialogButton(dialog, IDOK);
    });
    SendCommand(h.View(), ID_EDIT_SELECTFONT);

    EXPECT_STREQ("Tahoma", info->m_lf.lfFaceName);
    HDC screen = GetDC(nullptr);
    EXPECT_EQ(-MulDiv(28, GetDeviceCaps(screen, LOGPIXELSY), 72), info->m_lf.lfHeight);
    ReleaseDC(nullptr, screen);
    EXPECT_EQ(blue, info->GetColour());
    EXPECT_TRUE(LineTableMatchesText(h.m_pDocument));
    EXPECT_GT(h.m_pDocument->GetWidestWidth(), widestBefore);
    for (CEditDisplay* view : {h.View(), second}) {
        EXPECT_EQ(info->TextMetrics().tmHeight, view->GetLineHeight());
        EXPECT_TRUE(GetUpdateRect(view->m_hWnd, nullptr, FALSE)) << "to be repainted";
        ViewPicture picture(view);
        EXPECT_GT(picture.Count(blue), 0) << "the text in the colour chosen";
        EXPECT_EQ(0, picture.Count(GREEN));
    }
}

// A document in a TrueType face and colour chosen in the dialog, as the user sees it; the
// font goes with the file at the next save.
TEST(FontDialogShell, TheChosenFontAndColourAreShownAndStoredWithTheFile)
{
    AppWindow app;
    ASSERT_TRUE(app.Started());
    app.Command(ID_FILE_NEW);
    ASSERT_EQ(1u, app.Documents().size());
    COpenDocument* owner = app.Documents()[0];
    CTextDocument* doc = owner->GetTextDocument();
    const std::string text = "Zendle Editor in Tahoma 20, bold, dark red.\r"
                             "\tA tab, then some more text.\rThe quick brown fox.";
    InsertString(doc, text, 0);
    const COLORREF darkRed = RGB(170, 0, 0);
    std::string dialogShot;
    {
        DialogWatcher watcher([&](HWND dialog, const SeenDialog&) {
            Select(dialog, cmb1, "Tahoma");
            Select(dialog, cmb2, "Bold");
            Select(dialog, cmb3, "20");
            PickColour(dialog, darkRed);
            // The dialog's thread draws only while messages come: one with every look.
            dialogShot = SaveScreenshot("font_dialog_open", [dialog](const Condition& done) {
                return WaitUntil([&] {
                    PostMessageA(dialog, WM_NULL, 0, 0);
                    return done();
                });
            });
            PressDialogButton(dialog, IDOK);
        });
        app.Command(ID_EDIT_SELECTFONT);
    }
    EXPECT_STREQ("Tahoma", doc->GetFontInfo()->m_lf.lfFaceName);
    EXPECT_EQ(FW_BOLD, doc->GetFontInfo()->m_lf.lfWeight);
    EXPECT_EQ(darkRed, doc->GetFontInfo()->GetColour());
    std::string shot = SaveScreenshot("font_dialog_document",
                                      [](const Condition& done) { return PumpUntil(done); });
    EXPECT_FALSE(shot.empty() || dialogShot.empty()) << "no screenshot taken";

    std::string path = app.Folder().Path() + "\\font.txt";
    {
        DialogWatcher watcher(SaveAsHandler(path));
        ASSERT_EQ(1, doc->SaveDocument(0));
    }
    LOGFONTA stored = {};
    COLORREF colour = 0;
    ASSERT_EQ(1, LookupPathFont(owner, doc->m_szPath, &stored, &colour));
    EXPECT_STREQ("Tahoma", stored.lfFaceName);
    EXPECT_EQ(darkRed, colour);
    doc->m_bModified = 0;
}
