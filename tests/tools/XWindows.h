// Windows on the X display named by DISPLAY: found by title or class, their geometry, real input
// (xdotool), a close request and a file drop. Windows are ids as xdotool prints them (decimal).
//
// Everything here runs X tools as child processes and never talks to X itself, so a test may call
// it from a second thread while SDL uses Xlib on the first. Actions throw std::runtime_error when
// the tool fails; waits return an empty id or false when their time runs out.
#pragma once

#include <array>
#include <chrono>
#include <string>
#include <vector>

namespace loom::testtools {

// Visible windows whose whole title matches the regular expression, topmost last. Read with
// xwininfo: xdotool does not match titles stored as UTF8_STRING, which is how SDL titles its
// message boxes.
std::vector<std::string> findWindows(const std::string& titleRegex);
std::string waitForWindow(const std::string& titleRegex,
                          std::chrono::milliseconds timeout = std::chrono::seconds(30));
std::string waitForWindowOfClass(const std::string& classRegex,
                                 std::chrono::milliseconds timeout = std::chrono::seconds(30));
// True once the window is destroyed or unmapped.
bool waitForWindowGone(const std::string& window,
                       std::chrono::milliseconds timeout = std::chrono::seconds(30));

// Client size, and the top-left corner in root coordinates.
std::array<int, 2> windowSize(const std::string& window);
std::array<int, 2> windowOrigin(const std::string& window);

// Moves a top-level window to this root position and waits until it is there (no window manager
// needed), e.g. a dialog off the window under it, so that a click reaches that window.
void moveWindow(const std::string& window, int x, int y);
// Gives the window the keyboard focus and waits until it has it (no window manager needed).
void focus(const std::string& window);
// Hands the keyboard focus to the root window, away from every application window.
void focusRoot();

// Moves the pointer to (x, y) relative to the window's top-left corner (which may lie outside the
// window) and waits until it is there.
void moveMouse(const std::string& window, int x, int y);
// Buttons at the pointer: 1 left, 2 middle, 3 right, 4 and 5 the wheel away from and towards the
// user.
void pressButton(int button);
void releaseButton(int button);
void clickButton(int button);
void click(const std::string& window, int x, int y, int button = 1);
// Moves there in eight steps with the button held.
void drag(const std::string& window, int fromX, int fromY, int toX, int toY, int button = 1);

// Key names as xdotool knows them, separated by spaces ("s", "space", "Return", "ctrl+a x"). Each
// focuses the window first: real key events go to the focused window.
void key(const std::string& window, const std::string& keys);
void keyDown(const std::string& window, const std::string& keys);
void keyUp(const std::string& window, const std::string& keys);
void type(const std::string& window, const std::string& text);

// Asks the window titled titleRegex to close, as a window manager's close button does
// (WM_DELETE_WINDOW). A program may replace its window while it starts, so a request whose window
// has gone looks for it again. False when no window took a request in time.
bool requestClose(const std::string& titleRegex,
                  std::chrono::milliseconds timeout = std::chrono::seconds(30));
// Drags the files from a real XDND source onto (x, y) of the window and returns once the target
// has taken them.
void dropFiles(const std::string& window, int x, int y, const std::vector<std::string>& files);

}  // namespace loom::testtools
