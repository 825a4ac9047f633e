#pragma once
#include <windows.h>
#include <commdlg.h>

// What the editor's file dialogs and their hooks have in common.

// Fills the fields that every file dialog record sets; every other field is zero.
void FillFileRecord(OPENFILENAMEA* ofn, HWND owner, const char* filter, int filterIndex,
                    char* file, int fileSize, char* title, int titleSize);

// The record of a CDN_FILEOK notice; null for every other message.
const OPENFILENAMEA* FileOkRecord(UINT message, LPARAM lParam);

// Keeps the dialog open after CDN_FILEOK; the hook returns what this returns.
UINT_PTR RefuseChoice(HWND dialog);

// Asks whether to save under a name of another kind than the dialog expects; the hook
// returns what this returns: RefuseChoice on No, 0 on Yes.
UINT_PTR ConfirmOtherFormat(HWND dialog);
