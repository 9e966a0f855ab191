#pragma once
// block, box, circle, line and pixel draw on the console surface; crazy switches the
// random drawing that the cursor timer does.

class CommandTable;

void registerShapeCommands(CommandTable &table);
