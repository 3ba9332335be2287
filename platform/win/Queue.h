// The message queue and loop: sent messages call the window procedure at once; posted
// messages, input, paint and timer messages are taken in that order by GetMessage and
// PeekMessage. Loops may run inside loops (modal forms, menus, effect playback).
#pragma once

#include "win/Window.h"

LRESULT SendMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
// Posts to the queue; a null hwnd posts a thread message. False for a dead window.
BOOL PostMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
void PostQuitMessage(int exitCode);
// Posts a message that keeps its own time and position: input routed from the backend.
void PostInput(const MSG& msg);
// FALSE when WM_QUIT was taken. Without anything to do it presents what changed and waits
// on the backend, at most until the next timer is due.
BOOL GetMessage(MSG* msg, HWND hwnd, UINT filterMin, UINT filterMax);
BOOL PeekMessage(MSG* msg, HWND hwnd, UINT filterMin, UINT filterMax, UINT removeFlags);
BOOL TranslateMessage(const MSG* msg);
LRESULT DispatchMessage(const MSG* msg);
BOOL WaitMessage();
LONG GetMessageTime();
DWORD GetMessagePos();
DWORD GetTickCount();
uint64_t GetTickCount64();
// True while a message sent by SendMessage is being handled (nested depth > 0).
BOOL InSendMessage();

// The default answer to every message: non-client behaviour, erasing, printing, system
// commands, closing, text, cursors, activation.
LRESULT DefWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

// Reads everything the backend has queued and turns it into messages (mouse routing,
// keys, activation). Called by GetMessage/PeekMessage; tests call it through them.
void PumpBackendInput();

// Processes every message that is ready without waiting, then presents what changed.
// Returns FALSE when WM_QUIT is next; it stays for the loop that owns it. A timer fires
// at most once per call.
BOOL ProcessPendingMessages();

// Drops posted messages and input; for tests.
void ResetQueue();
