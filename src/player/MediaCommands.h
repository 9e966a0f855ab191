#pragma once
// audio and video: a sound, a piece of music or a video played directly on the third player,
// beside the playlist; the video shown over the console.

class CommandTable;

void registerMediaCommands(CommandTable &table);
