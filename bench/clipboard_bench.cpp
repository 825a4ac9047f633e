// Clipboard figures (target: each under 0.5 s): copying a 10 MB selection, pasting it at
// the end of the text, and pasting it over the whole text, each from the command to the
// finished repaint.
#include <windows.h>

#include <stdio.h>

#include <algorithm>
#include <string>
#include <vector>

#include "app/AppState.h"
#include "document/TextDocument.h"
#include "resources/resource.h"
#include "support/BenchSupport.h"
#include "support/BenchWindows.h"
#include "view/EditDisplay.h"
#include "view/Selection.h"

static void Report(const char* what, std::vector<double> seconds)
{
    std::sort(seconds.begin(), seconds.end());
    double best = seconds[0], median = seconds[seconds.size() / 2];
    printf("%-44s best %6.3f s, median %6.3f s  %s\n", what, best, median,
           best < 0.5 ? "(within 0.5 s)" : "(OVER 0.5 s)");
}

static double Command(CEditDisplay* view, int id)
{
    double start = Seconds();
    SendMessageA(view->m_hWnd, WM_COMMAND, id, 0);
    UpdateWindow(view->m_hWnd);
    return Seconds() - start;
}

static void SelectAll(CEditDisplay* view)
{
    SendMessageA(view->m_hWnd, WM_COMMAND, ID_EDIT_SELECTALL, 0);
    UpdateWindow(view->m_hWnd);
}

int main()
{
    if (!StartEditor("zendle-clipboard-bench"))
        return 1;
    std::string text = SampleText(10u << 20, "\r");
    CEditDisplay* view = NewDocument(text);
    CTextDocument* doc = view->m_pDocument;
    const int length = doc->GetTextLength();
    printf("selection: %d bytes, %d lines\n", length, doc->GetLineCount());

    const int runs = 5;
    std::vector<double> copy, pasteEnd, pasteOver;
    for (int i = 0; i < runs; i++) {
        SelectAll(view);
        copy.push_back(Command(view, ID_EDIT_COPY));
    }
    for (int i = 0; i < runs; i++) {
        view->m_pSelection->Clear();
        view->MoveCaret(length);
        pasteEnd.push_back(Command(view, ID_EDIT_PASTE));
        if (doc->GetTextLength() != 2 * length)
            printf("paste at the end gave %d bytes\n", doc->GetTextLength());
        SendMessageA(view->m_hWnd, WM_COMMAND, ID_EDIT_UNDO, 0);
    }
    for (int i = 0; i < runs; i++) {
        SelectAll(view);
        pasteOver.push_back(Command(view, ID_EDIT_PASTE));
        if (doc->GetTextLength() != length)
            printf("paste over the text gave %d bytes\n", doc->GetTextLength());
    }
    Report("copy of a 10 MB selection", copy);
    Report("paste of 10 MB at the end of the text", pasteEnd);
    Report("paste of 10 MB over a 10 MB selection", pasteOver);

    doc->m_bModified = 0;
    DestroyWindow(g_app.m_hMainWindow);
    return 0;
}
