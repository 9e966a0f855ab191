#pragma once
// The playlist builders: partist, partistn, pgenren, ptrack, pbatch and pbatchn turn a
// question about the loaded database into a playlist, and pat plays one track at once.

#include <QString>

class CommandTable;
class Session;

void registerPlaylistBuilders(CommandTable &table);

// Replaces the playlist by the one track (a, t), the texts as typed, starts it at once (no
// fade) and names it on rows 1 and 3.
void PAT(Session &s, const QString &a, const QString &t);
