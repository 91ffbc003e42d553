// What the skin engine's Wine tests and the gallery share: Corvane's skin
// from the program's resources, a plain top-level window class, and a
// message pump that waits for a condition.
#pragma once
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "skin/skin_data.h"

namespace corvane::skin::win32 {

// The SKINSTREAM resource of the running program into skin; false when the
// program carries none or it does not load.
bool LoadSkinResource(TSkinData& skin);
// A gallery's skin: loaded and active, or a message box naming the program
// and false.
bool LoadGallerySkin(TSkinData& skin, const char* program);

// A top-level window of the class "CorvaneSkinTest", shown and activated.
// The class's procedure counts the WM_CLOSE messages it sees.
// With a menu, the window shows it in its menu bar.
HWND CreateTestWindow(const std::string& title, DWORD style, int x, int y, int client_width,
                      int client_height, HMENU menu = nullptr);
int ClosesSeen();

// An MDI parent ("CorvaneMdiTest", with a 窗口 menu) and its client window,
// shown and activated; children are made as the host library makes them:
// WM_MDICREATE, then WM_MDIREFRESHMENU once the child is complete.
HWND CreateMdiTestWindow(const std::string& title, int x, int y, int client_width,
                         int client_height, HWND* client);
HWND CreateMdiTestChild(HWND client, const std::string& title, int x, int y, int width,
                        int height);

// The visible popup menu windows of this thread, topmost first.
std::vector<HWND> OpenMenus();

// Handles messages until done() holds or timeout_ms has passed; true when
// it held.
bool PumpUntil(const std::function<bool()>& done, DWORD timeout_ms = 3000);
void PumpFor(DWORD ms);

// A tab with that text, at the end of a tab control.
void AddTab(HWND tabs, const char* text);
// A column of that text and width, at the end of a report list view.
void AddColumn(HWND view, const char* text, int width);

// A static text at the top left of a gallery window.
void AddLabel(HWND parent, const char* text);

// Moves the real mouse pointer to a screen point.
void MoveMouse(POINT p);

}  // namespace corvane::skin::win32
