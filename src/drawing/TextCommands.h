#pragma once
// text writes console characters at a cell, text2 prints in any font at a pixel, and
// picture copies a picture file onto the console, repeated as a grid of tiles.

class CommandTable;

void registerTextCommands(CommandTable &table);
