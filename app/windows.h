#pragma once

class TMAIN;

// Ties the menu entries and window classes of the main window to the
// windows that open under them.
void registerWindows(TMAIN &main);
