// The Sort command as the user runs it on 100,000 lines: from the menu command through the
// "Sorting Document" dialog and its worker until the dialog has gone and the sorted text is
// in the document. The engine alone (line_sort_bench) takes about 1 s for these lines; the
// rest is the progress traffic between the worker and the dialog.
#include <windows.h>

#include <stdio.h>

#include <string>

#include "app/AppState.h"
#include "app/Startup.h"
#include "dialogs/SortDialog.h"
#include "document/TextDocument.h"
#include "resources/resource.h"
#include "view/EditDisplay.h"
#include "support/BenchSupport.h"
#include "support/BenchWindows.h"

// Runs one sort command through the editor's message loop until its dialog has gone,
// counting the progress messages that reached the dialog.
static double SortThroughTheDialog(int command, int* progressMessages)
{
    *progressMessages = 0;
    double start = Seconds();
    SendMessageA(g_app.m_hMainWindow, WM_COMMAND, command, 0);
    MSG msg;
    while (g_app.m_hSortDialog && GetMessageA(&msg, nullptr, 0, 0) > 0) {
        if (msg.hwnd == g_app.m_hSortDialog && msg.message >= WM_SORTSTEP &&
            msg.message <= WM_SORTSETPOS)
            ++*progressMessages;
        if (!PreTranslateAppMessage(&msg)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
    }
    return Seconds() - start;
}

int main()
{
    if (!StartEditor("zendle-sort-bench")) {
        printf("the editor did not start\n");
        return 1;
    }
    const int lines = 100000;
    const std::string text = SortableLines(lines);
    CTextDocument* doc = NewDocument(text)->GetDocument();
    static const struct {
        int command;
        const char* name;
    } commands[] = {{ID_SORT_ALPHABETIC, "alphabetic"}, {ID_SORT_REVERSENUMERIC, "reverse numeric"}};
    for (const auto& c : commands) {
        int messages;
        double seconds = SortThroughTheDialog(c.command, &messages);
        if (!doc->CanUndo() || doc->GetTextLength() != static_cast<int>(text.size())) {
            printf("%s: the sort command did not replace the text\n", c.name);
            return 1;
        }
        printf("%8d lines %-16s command %7.0f ms, %5d progress messages\n", lines, c.name,
               seconds * 1000, messages);
        fflush(stdout);
        doc->Undo();
        Pump();
    }
    // The editor goes with the process: closing it would ask to save the sorted document.
    return 0;
}
