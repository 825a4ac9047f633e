#include "support/DialogWatcher.h"

#include <algorithm>

struct DialogSearch {
    DWORD process;
    const std::vector<HWND>* answered;
    HWND found;
};

static BOOL CALLBACK FindDialog(HWND window, LPARAM param)
{
    DialogSearch* search = reinterpret_cast<DialogSearch*>(param);
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    char className[16] = "";
    GetClassNameA(window, className, sizeof(className));
    if (process == search->process && lstrcmpA(className, "#32770") == 0 &&
        IsWindowVisible(window) &&
        std::find(search->answered->begin(), search->answered->end(), window) ==
            search->answered->end()) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

// The message of a box is its one static control with text (the icon's has none).
static BOOL CALLBACK FindMessageText(HWND child, LPARAM param)
{
    char className[16] = "";
    GetClassNameA(child, className, sizeof(className));
    if (lstrcmpiA(className, "Static") != 0)
        return TRUE;
    char text[2048] = "";
    GetWindowTextA(child, text, sizeof(text));
    if (!text[0])
        return TRUE;
    *reinterpret_cast<std::string*>(param) = text;
    return FALSE;
}

// The file name box: a combo box in the explorer-style dialog, an edit control in the old one.
static HWND FileNameBox(HWND dialog)
{
    HWND box = GetDlgItem(dialog, 0x47c);
    return box ? box : GetDlgItem(dialog, 0x480);
}

void PressDialogButton(HWND dialog, int button)
{
    HWND control = GetDlgItem(dialog, button);
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED),
                 reinterpret_cast<LPARAM>(control));
}

DialogWatcher::DialogWatcher(int button)
    : m_button(button), m_stop(false), m_thread(&DialogWatcher::Run, this)
{
}

DialogWatcher::DialogWatcher(Handler handler)
    : m_button(IDOK), m_handler(handler), m_stop(false), m_thread(&DialogWatcher::Run, this)
{
}

DialogWatcher::~DialogWatcher()
{
    m_stop = true;
    m_thread.join();
}

void DialogWatcher::Queue(std::vector<int> buttons)
{
    std::lock_guard<std::mutex> hold(m_lock);
    m_queue.insert(m_queue.end(), buttons.begin(), buttons.end());
}

std::vector<SeenDialog> DialogWatcher::Seen()
{
    std::lock_guard<std::mutex> hold(m_lock);
    return m_seen;
}

size_t DialogWatcher::Count()
{
    return Seen().size();
}

void DialogWatcher::Run()
{
    // A dialog stays up under the box it opens (Save As under its replace question), so
    // the ones answered are remembered until they are gone.
    std::vector<HWND> answered;
    while (!m_stop) {
        answered.erase(std::remove_if(answered.begin(), answered.end(),
                                      [](HWND w) { return !IsWindow(w) || !IsWindowVisible(w); }),
                       answered.end());
        DialogSearch search = {GetCurrentProcessId(), &answered, nullptr};
        EnumWindows(FindDialog, reinterpret_cast<LPARAM>(&search));
        if (search.found) {
            Answer(search.found);
            answered.push_back(search.found);
        }
        Sleep(10);
    }
}

void DialogWatcher::Answer(HWND dialog)
{
    SeenDialog seen;
    char caption[512] = "";
    GetWindowTextA(dialog, caption, sizeof(caption));
    seen.caption = caption;
    seen.fileDialog = FileNameBox(dialog) != nullptr;
    if (!seen.fileDialog)
        EnumChildWindows(dialog, FindMessageText, reinterpret_cast<LPARAM>(&seen.text));
    int button;
    {
        std::lock_guard<std::mutex> hold(m_lock);
        m_seen.push_back(seen);
        button = m_button;
        if (!m_queue.empty()) {
            button = m_queue.front();
            m_queue.erase(m_queue.begin());
        }
    }
    if (m_handler)
        m_handler(dialog, seen);
    else
        PressDialogButton(dialog, button);
}

void ChooseFileName(HWND dialog, const std::string& name)
{
    SendMessageA(FileNameBox(dialog), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(name.c_str()));
    PressDialogButton(dialog, IDOK);
}

DialogWatcher::Handler SaveAsHandler(const std::string& name)
{
    return [name](HWND dialog, const SeenDialog& seen) {
        if (seen.fileDialog)
            ChooseFileName(dialog, name);
        else
            PressDialogButton(dialog, GetDlgItem(dialog, IDYES) ? IDYES : IDOK);
    };
}
