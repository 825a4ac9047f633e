#pragma once
#include <windows.h>

#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

// A dialog of this process ("#32770": message boxes and common dialogs) as a watcher saw it.
struct SeenDialog {
    std::string caption;
    std::string text; // the message of a message box, empty for other dialogs
    bool fileDialog = false; // an Open or Save As dialog, with its file name box
};

// Answers the dialogs that the code under test shows while the watcher lives, from a
// thread of its own, so that a test never blocks on a modal box. By default every dialog
// gets the same button; a handler may act on a dialog itself instead.
class DialogWatcher {
public:
    typedef std::function<void(HWND dialog, const SeenDialog& seen)> Handler;

    explicit DialogWatcher(int button = IDOK);
    explicit DialogWatcher(Handler handler);
    ~DialogWatcher();

    // The buttons for the next dialogs, in order; once used up, the default button again.
    void Queue(std::vector<int> buttons);
    std::vector<SeenDialog> Seen();
    size_t Count();

private:
    void Run();
    void Answer(HWND dialog);

    int m_button;
    Handler m_handler;
    std::vector<int> m_queue;
    std::vector<SeenDialog> m_seen;
    std::mutex m_lock;
    volatile bool m_stop;
    std::thread m_thread;
};

// Presses a button of a dialog as a user would.
void PressDialogButton(HWND dialog, int button);

// Answers a file dialog with a name, as if typed into its name box, and presses OK.
void ChooseFileName(HWND dialog, const std::string& name);
// A watcher handler for saving: file dialogs get name, message boxes (such as the question
// whether to replace a file) get Yes, or OK when they have no Yes.
DialogWatcher::Handler SaveAsHandler(const std::string& name);
