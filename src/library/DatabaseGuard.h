#pragma once
// The guard of every music command that reads the loaded database.

class Session;

// True when a database is loaded; otherwise "No valid Velmora database has been loaded"
// has been shown on row 1 (and logged).
bool vldLoaded(Session &s);
