// The Send Information dialog, driven from a watcher thread as a user would fill it in.
#include <gtest/gtest.h>

#include <winsock2.h>

#include <string>

#include "dialogs/SendDialog.h"
#include "resources/resource.h"
#include "support/DialogWatcher.h"
#include "support/Waits.h"

namespace {

HWND FocusOf(HWND dialog)
{
    GUITHREADINFO info = {};
    info.cbSize = sizeof(info);
    GetGUIThreadInfo(GetWindowThreadProcessId(dialog, nullptr), &info);
    return info.hwndFocus;
}

std::string Text(HWND dialog, int id)
{
    char text[64] = "";
    GetDlgItemTextA(dialog, id, text, sizeof(text));
    return text;
}

void Type(HWND dialog, int id, const char* keys)
{
    HWND edit = GetDlgItem(dialog, id);
    SendMessageA(dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(edit), TRUE);
    SendMessageA(edit, EM_SETSEL, 0, -1);
    // Sent, not posted: each key has been handled when the next one comes.
    for (const char* k = keys; *k; k++)
        SendMessageA(edit, WM_CHAR, static_cast<unsigned char>(*k), 0);
}

void Click(HWND dialog, int id)
{
    SendMessageA(GetDlgItem(dialog, id), BM_CLICK, 0, 0);
}

CSendRequest Request()
{
    CSendRequest request = {};
    lstrcpyA(request.m_szFile, "notes.txt");
    return request;
}

} // namespace

TEST(SendDialog, LoopbackGivesItsAddressAndTheFieldsComeBack)
{
    DialogWatcher watcher([](HWND dialog, const SeenDialog&) {
        Click(dialog, IDC_SEND_LOOPBACK);
        Click(dialog, IDC_SEND_ATTACH_FONT);
        PostMessageA(dialog, WM_COMMAND, IDOK, 0);
    });
    CSendRequest request = Request();
    ASSERT_EQ(1, ShowSendDialog(nullptr, &request));
    EXPECT_EQ(htonl(0x7F000001), request.m_dwAddress);
    EXPECT_STREQ("notes.txt", request.m_szFile);
    EXPECT_EQ(0u, request.m_dwOptions) << "Attatch Font was unchecked";
}

TEST(SendDialog, OctetsMoveOnAtADotOrAFourthDigitAndRefuseValuesPast255)
{
    std::string first, second, third, warning;
    HWND focusAfterWarning = nullptr, expectedFocus = nullptr;
    DialogWatcher watcher([&](HWND dialog, const SeenDialog&) {
        Click(dialog, IDC_SEND_MANUAL);
        Type(dialog, IDC_SEND_OCTET1, "1921");
        first = Text(dialog, IDC_SEND_OCTET1);
        second = Text(dialog, IDC_SEND_OCTET2);
        Type(dialog, IDC_SEND_OCTET2, ".");
        third = FocusOf(dialog) == GetDlgItem(dialog, IDC_SEND_OCTET3) ? "focused" : "not";

        Type(dialog, IDC_SEND_OCTET3, "300");
        // Posted: the warning box holds its handler until it is answered.
        PostMessageA(GetDlgItem(dialog, IDC_SEND_OCTET3), WM_CHAR, '1', 0);
        HWND box = nullptr;
        WaitUntil([&] { return (box = FindWindowA("#32770", "IP Address Format Error")) != nullptr; });
        if (box) {
            char text[128] = "";
            GetDlgItemTextA(box, 0xFFFF, text, sizeof(text));
            warning = text;
            PostMessageA(box, WM_COMMAND, IDOK, 0);
            WaitUntilClosed(box);
        }
        // The focus comes back once the box's owner is active again, which may take a moment.
        expectedFocus = GetDlgItem(dialog, IDC_SEND_OCTET3);
        WaitUntil([&] { return FocusOf(dialog) == expectedFocus; });
        focusAfterWarning = FocusOf(dialog);
        PostMessageA(dialog, WM_COMMAND, IDOK, 0);
    });
    CSendRequest request = Request();
    ASSERT_EQ(1, ShowSendDialog(nullptr, &request));
    EXPECT_EQ("192", first);
    EXPECT_EQ("1", second);
    EXPECT_EQ("focused", third) << "a dot moves to the next octet";
    EXPECT_EQ("Please enter a value between 0 and 255", warning);
    EXPECT_EQ(expectedFocus, focusAfterWarning);
    EXPECT_EQ(INADDR_NONE, request.m_dwAddress) << "300 and an empty octet are no address";
}

TEST(SendDialog, TypedOctetsAreWrittenBackInPlainDecimalAndMakeTheAddress)
{
    std::string written;
    DialogWatcher watcher([&](HWND dialog, const SeenDialog&) {
        Click(dialog, IDC_SEND_MANUAL);
        Type(dialog, IDC_SEND_OCTET1, "010");
        Type(dialog, IDC_SEND_OCTET2, "0");
        Type(dialog, IDC_SEND_OCTET3, "002");
        Type(dialog, IDC_SEND_OCTET4, "033");
        Type(dialog, IDC_SEND_FILE, "");
        for (int id : {IDC_SEND_OCTET1, IDC_SEND_OCTET2, IDC_SEND_OCTET3, IDC_SEND_OCTET4})
            written += Text(dialog, id) + " ";
        PostMessageA(dialog, WM_COMMAND, IDOK, 0);
    });
    CSendRequest request = Request();
    ASSERT_EQ(1, ShowSendDialog(nullptr, &request));
    EXPECT_EQ("10 0 2 33 ", written);
    EXPECT_EQ(htonl(0x0A000221), request.m_dwAddress) << "10.0.2.33, no octal 010";
    EXPECT_EQ(SEND_ATTACH_FONT, request.m_dwOptions);
}

TEST(SendDialog, GoingWithItsOwnerItDeletesItsFont)
{
    HWND owner = CreateWindowA("STATIC", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr,
                               nullptr);
    HGDIOBJ font = nullptr;
    DialogWatcher watcher([&](HWND dialog, const SeenDialog&) {
        font = reinterpret_cast<HGDIOBJ>(
            SendDlgItemMessageA(dialog, IDC_SEND_OCTET1, WM_GETFONT, 0, 0));
        PostMessageA(owner, WM_CLOSE, 0, 0);
    });
    CSendRequest request = Request();
    EXPECT_EQ(0, ShowSendDialog(owner, &request));
    EXPECT_NE(nullptr, font);
    EXPECT_EQ(0u, GetObjectType(font));
}
