// Select Font: the system's font dialog with the editor's colour button and swatch, driven
// from a watcher thread as a user would, and what the document keeps of it.
#include <gtest/gtest.h>

#include <windows.h>
#include <dlgs.h>

#include <string>
#include <vector>

#include "app/OpenDocument.h"
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

const COLORREF GREEN = RGB(0, 128, 0);

// The colour dialog, opened over the font dialog by its button (or by whatever was done).
HWND OpenColourDialog(HWND font, bool press = true)
{
    if (press)
        PressDialogButton(font, IDC_FONT_CHOOSE_COLOR);
    // Shown only once its initialisation, which fills the boxes, is over.
    HWND colour = nullptr;
    WaitUntil([&] {
        colour = FindWindowA("#32770", "Color");
        return colour && IsWindowVisible(colour);
    });
    return colour;
}

// Types a colour into the colour dialog's red, green and blue boxes.
void TypeColour(HWND colour, COLORREF value)
{
    for (int box = 0; box < 3; box++)
        SetDlgItemInt(colour, 706 + box, (value >> (8 * box)) & 0xFF, FALSE);
}

// Ends the colour dialog with a colour typed and a button, and waits until the font
// dialog's hook is done with it.
void EndColourDialog(HWND colour, HWND font, COLORREF value, int button = IDOK)
{
    TypeColour(colour, value);
    PressDialogButton(colour, button);
    WaitUntilClosed(colour);
    WaitUntilIdle(font);
}

// Selects an entry of one of the dialog's lists with the list's notification, as a click does.
bool Select(HWND dialog, int id, const char* text)
{
    HWND list = GetDlgItem(dialog, id);
    LRESULT index = SendMessageA(list, CB_FINDSTRINGEXACT, -1, reinterpret_cast<LPARAM>(text));
    if (SendMessageA(list, CB_SETCURSEL, index, 0) == CB_ERR)
        return false;
    SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE), reinterpret_cast<LPARAM>(list));
    return true;
}

// The name of the first face that is not TrueType, or empty.
std::string FaceNotTrueType(HWND dialog)
{
    char name[LF_FACESIZE] = "";
    HWND faces = GetDlgItem(dialog, cmb1);
    for (int i = 0; i < SendMessageA(faces, CB_GETCOUNT, 0, 0) && !name[0]; i++) {
        if (!(LOWORD(SendMessageA(faces, CB_GETITEMDATA, i, 0)) & TRUETYPE_FONTTYPE))
            SendMessageA(faces, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(name));
    }
    return name;
}

int NoteShown(HWND dialog)
{
    return IsWindowVisible(GetDlgItem(dialog, stc6)) ? 1 : 0;
}

// A document in Tahoma and green, in one view.
class FontDialog : public testing::Test {
protected:
    FontDialog()
        : h("first line\rthe second, longer line\r\tthird"), info(h.m_pDocument->GetFontInfo())
    {
        HDC dc = CreateDCA("DISPLAY", nullptr, nullptr, nullptr);
        info->SetFont(CreateTestFont("Tahoma", 16), dc, GREEN);
        DeleteDC(dc);
        h.m_pDocument->RemeasureAllLines();
    }
    std::vector<COLORREF> Custom() const { return {info->m_custColours, info->m_custColours + 16}; }

    ViewHarness h;
    CFontInfo* info;
};

} // namespace

TEST_F(FontDialog, ACancelledDialogKeepsTheFontAndColourAndTheNextStartsFromThem)
{
    HFONT before = info->GetFont();
    COLORREF start = 1;
    {
        DialogWatcher watcher([&](HWND dialog, const SeenDialog&) {
            start = info->m_cc.rgbResult;
            Select(dialog, cmb1, FaceNotTrueType(dialog).c_str());
            Select(dialog, cmb3, "10");
            EndColourDialog(OpenColourDialog(dialog), dialog, RGB(200, 0, 0));
            PressDialogButton(dialog, IDCANCEL);
        });
        EXPECT_EQ(0, h.m_pDocument->SelectDocumentFont());
    }
    EXPECT_EQ(GREEN, start) << "the colour dialog starts at the document's colour";
    EXPECT_EQ(GREEN, info->GetColour());
    EXPECT_EQ(before, info->GetFont());
    EXPECT_STREQ("Tahoma", info->m_lf.lfFaceName) << "the face chosen is dropped";
    EXPECT_EQ(-16, info->m_lf.lfHeight);

    // Confirmed without a colour chosen, the dialog keeps the document's face and colour.
    DialogWatcher watcher(IDOK);
    EXPECT_EQ(1, h.m_pDocument->SelectDocumentFont());
    EXPECT_EQ(GREEN, info->GetColour());
    EXPECT_STREQ("Tahoma", info->m_lf.lfFaceName);
}

TEST_F(FontDialog, CustomColoursComeFromTheFontDialogOnceThenStayTheUsers)
{
    std::vector<COLORREF> offered, first, later;
    DialogWatcher watcher([&](HWND dialog, const SeenDialog&) {
        for (int i = 0; i < 16; i++)
            offered.push_back(SendDlgItemMessageA(dialog, cmb4, CB_GETITEMDATA, i, 0));
        HWND colour = OpenColourDialog(dialog);
        (first.empty() ? first : later) = Custom();
        // The user keeps a colour of their own in the first custom slot ("Add to Custom Colors").
        TypeColour(colour, RGB(1, 2, 3));
        SendMessageA(GetDlgItem(colour, 712), BM_CLICK, 0, 0);
        EndColourDialog(colour, dialog, RGB(1, 2, 3));
        PressDialogButton(dialog, IDCANCEL);
    });
    h.m_pDocument->SelectDocumentFont();
    h.m_pDocument->SelectDocumentFont();
    EXPECT_EQ(std::vector<COLORREF>(offered.begin(), offered.begin() + 16), first);
    ASSERT_EQ(16u, later.size());
    EXPECT_EQ(RGB(1, 2, 3), later[0]) << "not filled again from the font dialog";
    EXPECT_TRUE(std::equal(first.begin() + 1, first.end(), later.begin() + 1));
}

TEST_F(FontDialog, TheRasterNoteShowsOnlyForFacesThatAreNotTrueType)
{
    int atOpen = -1, forOther = -1, forTahoma = -1;
    std::string other;
    DialogWatcher watcher([&](HWND dialog, const SeenDialog&) {
        atOpen = NoteShown(dialog);
        // This system has no raster face; its PostScript outline faces are not TrueType either.
        other = FaceNotTrueType(dialog);
        if (Select(dialog, cmb1, other.c_str()))
            forOther = NoteShown(dialog);
        Select(dialog, cmb1, "Tahoma");
        forTahoma = NoteShown(dialog);
        PressDialogButton(dialog, IDCANCEL);
    });
    h.m_pDocument->SelectDocumentFont();
    EXPECT_EQ(0, atOpen) << "the document's face, Tahoma, is TrueType";
    EXPECT_EQ(1, forOther) << "face: " << other;
    EXPECT_EQ(0, forTahoma);
}

TEST_F(FontDialog, ColourFromADoubleClickedSwatchAndOkRemeasureAndRepaintEveryView)
{
    CEditDisplay* second = h.AddView();
    const COLORREF blue = RGB(0, 0, 255);
    int widest = h.m_pDocument->GetWidestWidth();
    for (CEditDisplay* view : h.m_views)
        UpdateWindow(view->m_hWnd);
    DialogWatcher watcher([&](HWND dialog, const SeenDialog&) {
        Select(dialog, cmb3, "28");
        PostMessageA(GetDlgItem(dialog, IDC_FONT_SWATCH), WM_LBUTTONDBLCLK, MK_LBUTTON, 0);
        EndColourDialog(OpenColourDialog(dialog, false), dialog, blue);
        PressDialogButton(dialog, IDOK);
    });
    SendCommand(h.View(), ID_EDIT_SELECTFONT);
    EXPECT_STREQ("Tahoma", info->m_lf.lfFaceName);
    EXPECT_EQ(blue, info->GetColour());
    EXPECT_TRUE(LineTableMatchesText(h.m_pDocument));
    EXPECT_GT(h.m_pDocument->GetWidestWidth(), widest);
    for (CEditDisplay* view : {h.View(), second}) {
        EXPECT_EQ(info->TextMetrics().tmHeight, view->GetLineHeight());
        EXPECT_TRUE(GetUpdateRect(view->m_hWnd, nullptr, FALSE)) << "to be repainted";
        EXPECT_GT(ViewPicture(view).Count(blue), 0) << "the text in the colour chosen";
    }
}

// A person looks at the screenshot: a document in a TrueType face and colour chosen here.
TEST(FontDialogShell, TheDocumentShowsTheChosenFontAndColour)
{
    AppWindow app;
    app.Command(ID_FILE_NEW);
    ASSERT_EQ(1u, app.Documents().size());
    CTextDocument* doc = app.Documents()[0]->GetTextDocument();
    InsertString(doc, "Zendle Editor in Tahoma 20, bold, dark red.\r\tA tab, then more.", 0);
    DialogWatcher watcher([&](HWND dialog, const SeenDialog&) {
        Select(dialog, cmb1, "Tahoma");
        Select(dialog, cmb2, "Bold");
        Select(dialog, cmb3, "20");
        EndColourDialog(OpenColourDialog(dialog), dialog, RGB(170, 0, 0));
        PressDialogButton(dialog, IDOK);
    });
    app.Command(ID_EDIT_SELECTFONT);
    EXPECT_EQ(FW_BOLD, doc->GetFontInfo()->m_lf.lfWeight);
    EXPECT_EQ(RGB(170, 0, 0), doc->GetFontInfo()->GetColour());
    EXPECT_NE("", SaveScreenshot("font_dialog_document"));
    doc->m_bModified = 0;
}
