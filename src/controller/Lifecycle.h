#pragma once
// What happens, in order, when the console window opens and when it closes.

class Session;

// Each step runs even when an earlier one failed; start-up never stops on an error.
void startUp(Session &session);
// Writes the settings store and the options back and removes temporary files.
void shutDown(Session &session);
