#pragma once
// The screen's cursor table: animated cursors registered under numbers, and the application-wide cursor
// chosen by number. A number without an entry shows the default arrow; number 0 is the default cursor.
#include <string>

namespace ui {

inline constexpr int kCursorWait = 5000;
inline constexpr int kCursorPrint = 5001;
inline constexpr int kCursorPdf = 5002;

// Extracts the named animated-cursor resource through a temporary ".ANI" file (always deleted again) and
// stores it under `number`. Every failure is swallowed: the number then keeps its previous entry.
void RegisterAnimatedCursor(const std::string& resourceName, int number);
// The module's three cursors: print 5001, wait 5000, PDF 5002. Runs once per process.
void RegisterModuleCursors();

bool HasCursor(int number);
void SetScreenCursor(int number);
int ScreenCursor();

inline void BeginWaitCursor() {
    SetScreenCursor(kCursorWait);
}
inline void EndWaitCursor() {
    SetScreenCursor(0);
}

// Forgets every registration and shows the default cursor again.
void ResetCursorTable();

}  // namespace ui
